#include "store/recordrename.h"

#include "store/nativepath.h"
#include "store/recordlock.h"
#include "platform/disksync.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RecordRename {
namespace {

namespace fs = std::filesystem;

SResult Outcome(EStatus status, QString message, fs::path newPath = {})
{
    return SResult{status, std::move(newPath), std::move(message)};
}

SResult SystemFailure(int error)
{
    return Outcome(EStatus::Failed,
                   QCoreApplication::translate("RecordRename", "Can't rename this record: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(error))));
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

QString EditableName(const fs::path& path)
{
    const QString fileName = NativePath::DisplayName(path);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

fs::path RenamedPath(const fs::path& path, const QString& name, const QString& extension)
{
    return path.parent_path() / NativePath::FromText(name + u'.' + extension);
}

QString FormatExtension(const fs::path& path)
{
    // Non-blocking, and only a regular file: a FIFO named like a record never answers.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat status
    {
    };
    char signature[4] = {};
    const bool read = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                      ::read(fd, signature, sizeof signature) == sizeof signature;
    ::close(fd);
    const QString extension = NativePath::Display(path.extension()).toLower();
    if (read && std::memcmp(signature, "RIFF", 4) == 0 && extension == u".wav")
        return QStringLiteral("wav");
    if (read && std::memcmp(signature, "OggS", 4) == 0 &&
        (extension == u".ogg" || extension == u".spx"))
        return extension.mid(1);
    return {};
}

SResult MoveNoReplace(const fs::path& from, const fs::path& to)
{
    int result = RenameNoReplace(from.c_str(), to.c_str());
    if (result != 0 && (errno == ENOSYS || errno == EINVAL))
        result = LinkThenUnlink(from.c_str(), to.c_str());
    if (result == 0) {
        // The new name reaches the disk only with both folders. The record is renamed either
        // way, and its new path is what the caller must go on with; a disk that fails here
        // fails the next write as well.
        DiskSync::SyncFolderOf(to.native());
        if (from.parent_path() != to.parent_path())
            DiskSync::SyncFolderOf(from.native());
        return Outcome(EStatus::Renamed, {}, to);
    }
    if (errno == EEXIST)
        return Outcome(EStatus::Exists, QCoreApplication::translate("RecordRename", kMsgExists));
    return SystemFailure(errno);
}

SResult Rename(const fs::path& path, const QString& name)
{
    if (const std::optional<QString> refusal = NameRefusal(name))
        return Outcome(EStatus::Refused, *refusal);
    const CRecordLock lock(path);
    if (lock.State() == CRecordLock::EState::InUse)
        return Outcome(EStatus::InUse, QCoreApplication::translate("RecordRename", kMsgInUse));
    const QString extension = lock.Held() ? FormatExtension(path) : QString();
    if (extension.isEmpty())
        return Outcome(
            EStatus::UnknownFormat,
            lock.Error() == ENOENT
                ? QCoreApplication::translate("RecordRename",
                                              "Can't rename this record: the file is gone.")
                : QCoreApplication::translate(
                      "RecordRename", "Can't rename this record: it is neither a WAV nor an "
                                      "Ogg record."));
    const fs::path newPath = RenamedPath(path, name, extension);
    if (newPath == path)
        return Outcome(EStatus::Exists, QCoreApplication::translate("RecordRename", kMsgExists));
    return MoveNoReplace(path, newPath);
}

} // namespace RecordRename
