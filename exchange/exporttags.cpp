#include "exchange/exporttags.h"

#include "store/recordinfo.h"

#include <QStringList>

namespace ExportTags {
namespace {

// "+01:00" for a moment one hour ahead of UTC; "+00:00" for UTC itself.
QString UtcOffset(const QDateTime& moment)
{
    const int offset = moment.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return QString(offset < 0 ? u'-' : u'+') + QStringLiteral("%1:%2")
                                                   .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                                   .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QStringList Entries(const QString& block, const char* header)
{
    QStringList entries;
    for (const QString& line : RecordInfo::SectionLines(block, header)) {
        const QString entry = line.trimmed();
        if (!entry.isEmpty())
            entries << entry;
    }
    return entries;
}

// "Group: tag, tag" for each group line "[Group]" and the tags under it.
QStringList TagLines(const QString& block)
{
    QStringList lines;
    QString group;
    QStringList tags;
    const auto flush = [&] {
        if (!tags.isEmpty())
            lines << (group.isEmpty() ? QString() : group + QStringLiteral(": ")) +
                         tags.join(QStringLiteral(", "));
        tags.clear();
    };
    for (const QString& entry : Entries(block, RecordInfo::kTagsHeader)) {
        if (entry.startsWith(u'[') && entry.endsWith(u']')) {
            flush();
            group = entry.mid(1, entry.size() - 2);
        } else {
            tags << entry;
        }
    }
    flush();
    return lines;
}

QString Latin1(const QString& text)
{
    return QString::fromLatin1(text.toLatin1());
}

} // namespace

STags Compose(const QString& name, const QDateTime& recorded, const QString& block)
{
    const QString offset = UtcOffset(recorded);
    QStringList lines{QStringLiteral("Recorded: ") +
                      recorded.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + offset};
    const QStringList tasks = Entries(block, RecordInfo::kTasksHeader);
    if (!tasks.isEmpty())
        lines << QStringLiteral("Task: ") + tasks.join(QStringLiteral(", "));
    const QStringList contacts = Entries(block, RecordInfo::kContactsHeader);
    if (!contacts.isEmpty())
        lines << QStringLiteral("Contacts: ") + contacts.join(QStringLiteral(", "));
    lines << TagLines(block);
    return {name, recorded.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + offset,
            lines.join(u'\n')};
}

STags ForMp3(const STags& tags)
{
    return {Latin1(tags.title), tags.date.left(4), Latin1(tags.comment)};
}

} // namespace ExportTags
