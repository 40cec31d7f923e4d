#include "store/recordrename.h"

#include "platform/disksync.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace RecordRename {
namespace {

SResult Outcome(EStatus status, QString message, QString newPath = {})
{
    return SResult{status, std::move(newPath), std::move(message)};
}

SResult SystemFailure(int error)
{
    return Outcome(EStatus::Failed,
                   QCoreApplication::translate("RecordRename", "Can't rename this record: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(error))));
}

// The folder part of a path, its last "/" included; empty for a bare name.
QString FolderOf(const QString& path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

// renameat2 with RENAME_NOREPLACE; ENOSYS or EINVAL where the kernel or the file system
// does not offer it.
int RenameNoReplace(const char* from, const char* to)
{
#ifdef RENAME_NOREPLACE
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    errno = ENOSYS;
    return -1;
#endif
}

// The fallback: a hard link refuses an existing target just as atomically; the old name is
// removed only once the new one exists.
int LinkThenUnlink(const char* from, const char* to)
{
    if (::link(from, to) != 0)
        return -1;
    if (::unlink(from) != 0) {
        const int error = errno;
        ::unlink(to); // the record stays under its old name only
        errno = error;
        return -1;
    }
    return 0;
}

} // namespace

std::optional<QString> NameRefusal(const QString& name)
{
    // Blanks alone would make a record that looks nameless in every list.
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("RecordRename", kMsgEmpty);
    if (name.size() > kMaxNameLength)
        return QCoreApplication::translate("RecordRename",
                                           "Please enter no more than %1 characters.")
            .arg(kMaxNameLength);
    if (name == u"." || name == u"..")
        return QCoreApplication::translate("RecordRename",
                                           "\".\" and \"..\" are not names of a record.");
    if (name.contains(u'/') || name.contains(u'\\'))
        return QCoreApplication::translate(
            "RecordRename", "A name may not hold \"/\" or \"\\\": the record stays in its "
                            "folder.");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QCoreApplication::translate("RecordRename",
                                               "A name may not hold control characters.");
    }
    // The record catalogue skips hidden and temporary names: the record would vanish.
    if (name.startsWith(u'.'))
        return QCoreApplication::translate(
            "RecordRename", "A name may not begin with \".\": the record would be hidden.");
    if (name.endsWith(u'~') || name.endsWith(QStringLiteral(".tmp"), Qt::CaseInsensitive))
        return QCoreApplication::translate(
            "RecordRename", "A name may not end with \"~\" or \".tmp\": the record would be "
                            "taken for a temporary file.");
    return std::nullopt;
}

QString EditableName(const QString& path)
{
    const QString fileName = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QString RenamedPath(const QString& path, const QString& name, const QString& extension)
{
    return FolderOf(path) + name + u'.' + extension;
}

QString FormatExtension(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray signature = file.read(4);
    const QString extension = path.right(3).toLower();
    if (signature == "RIFF" && extension == u"wav")
        return QStringLiteral("wav");
    if (signature == "OggS" && (extension == u"ogg" || extension == u"spx"))
        return extension;
    return {};
}

SResult MoveNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    int result = RenameNoReplace(source.constData(), target.constData());
    if (result != 0 && (errno == ENOSYS || errno == EINVAL))
        result = LinkThenUnlink(source.constData(), target.constData());
    if (result == 0) {
        // The new name reaches the disk only with the folder. The record is renamed either
        // way, and its new path is what the caller must go on with; a disk that fails here
        // fails the next write as well.
        DiskSync::SyncFolderOf(target.toStdString());
        return Outcome(EStatus::Renamed, {}, to);
    }
    if (errno == EEXIST)
        return Outcome(EStatus::Exists, QCoreApplication::translate("RecordRename", kMsgExists));
    return SystemFailure(errno);
}

SResult Rename(const QString& path, const QString& name)
{
    if (const std::optional<QString> refusal = NameRefusal(name))
        return Outcome(EStatus::Refused, *refusal);
    const QString extension = FormatExtension(path);
    if (extension.isEmpty())
        return Outcome(
            EStatus::UnknownFormat,
            QFileInfo::exists(path)
                ? QCoreApplication::translate(
                      "RecordRename", "Can't rename this record: it is neither a WAV nor an "
                                      "Ogg record.")
                : QCoreApplication::translate("RecordRename",
                                              "Can't rename this record: the file is gone."));
    const QString newPath = RenamedPath(path, name, extension);
    if (newPath == path)
        return Outcome(EStatus::Exists, QCoreApplication::translate("RecordRename", kMsgExists));
    return MoveNoReplace(path, newPath);
}

} // namespace RecordRename
