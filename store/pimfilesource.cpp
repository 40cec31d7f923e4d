#include "store/pimfilesource.h"

#include "store/icalendartaskreader.h"
#include "store/vcardreader.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

QStringList FilesBelow(const QString& folder, const QString& suffix)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().suffix().compare(suffix, Qt::CaseInsensitive) == 0)
            files.append(path);
    }
    std::sort(files.begin(), files.end());
    return files;
}

template <typename Item, typename Reader>
std::vector<Item> ReadAll(const QString& folder, const QString& suffix, Reader read)
{
    std::vector<Item> items;
    for (const QString& path : FilesBelow(folder, suffix)) {
        QFile file(path);
        // A file that cannot be read, or is too large to be a contact or task list, is
        // skipped: one bad file must not hide the others.
        if (file.size() > CPimFileSource::kMaxFileBytes || !file.open(QIODevice::ReadOnly))
            continue;
        std::vector<Item> parsed = read(file.readAll(), path);
        items.insert(items.end(), std::make_move_iterator(parsed.begin()),
                     std::make_move_iterator(parsed.end()));
    }
    return items;
}

} // namespace

QString CPimFileSource::ResolveFolder(const QString& environment, const QString& setting,
                                      const QString& home)
{
    if (!environment.isEmpty())
        return environment;
    if (!setting.isEmpty())
        return setting;
    return home + QStringLiteral("/pim");
}

QString CPimFileSource::FolderFor(const QString& setting, const QString& home)
{
    return ResolveFolder(qEnvironmentVariable("PARLANTOGRAPHER_PIM"), setting, home);
}

std::vector<SPimTask> CPimFileSource::Tasks() const
{
    return ReadAll<SPimTask>(m_folder + QStringLiteral("/tasks"), QStringLiteral("ics"),
                             &CICalendarTaskReader::Parse);
}

std::vector<SPimContact> CPimFileSource::Contacts() const
{
    return ReadAll<SPimContact>(
        m_folder + QStringLiteral("/contacts"), QStringLiteral("vcf"),
        [](const QByteArray& text, const QString&) { return CVCardReader::Parse(text); });
}
