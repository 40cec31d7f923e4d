#include "store/linefile.h"

#include "platform/disksync.h"
#include "store/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LineFile {

namespace {

// Closes a descriptor once; Close tells whether the close itself failed (on some file
// systems the last write error shows only there).
class CFd
{
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() { Close(); }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    bool Close() const
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    mutable int m_fd;
};

bool WriteAllTo(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

} // namespace

std::optional<QByteArray> ReadBytes(const QString& path)
{
    // Non-blocking, and only a regular file: a FIFO or device in a catalogue's place must
    // never make the program wait or read forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const CFd closer(fd);
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.append(buffer, got);
    }
}

std::optional<QString> WriteTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    // A link may point elsewhere inside the folder that holds it, never out of it.
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    const QString target = QFileInfo(info.symLinkTarget()).absoluteFilePath();
    const QString targetFolder = QFileInfo(QFileInfo(target).absolutePath()).canonicalFilePath();
    if (folder.isEmpty() || targetFolder.isEmpty() ||
        (targetFolder != folder && !targetFolder.startsWith(folder + u'/')))
        return std::nullopt;
    return targetFolder + u'/' + QFileInfo(target).fileName();
}

namespace {

// Temporary files of writers that were killed before their rename: the files named as
// ReplaceBytes names its own (".<name>.XXXXXX") that no writer holds locked any more.
void RemoveLeftovers(const QFileInfo& target)
{
    const QString prefix = u'.' + target.fileName() + u'.';
    const QDir folder(target.absolutePath());
    for (const QString& name : folder.entryList({prefix + QStringLiteral("??????")},
                                                QDir::Files | QDir::Hidden | QDir::System)) {
        if (!std::all_of(name.cbegin() + prefix.size(), name.cend(),
                         [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }))
            continue;
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        const CFd closer(fd);
        struct stat status
        {
        };
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
    }
}

} // namespace

bool ReplaceBytes(const QString& path, const QByteArray& bytes, EDurability durability)
{
    const bool synced = durability == EDurability::Synced;
    const std::optional<QString> target = WriteTarget(path);
    if (!target)
        return false;
    const QFileInfo info(*target);
    if (info.exists() && !info.isFile())
        return false;
    RemoveLeftovers(info);
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                             info.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = true;
    {
        const CFd closer(fd);
        // Held until the rename: a temporary file nobody holds is a killed writer's.
        ::flock(fd, LOCK_EX);
        // The old file's permissions, else what a new file of the program gets.
        struct stat old
        {
        };
        const mode_t mode = ::stat(QFile::encodeName(*target).constData(), &old) == 0
                                ? (old.st_mode & 07777)
                                : 0644;
        written = ::fchmod(fd, mode) == 0 && WriteAllTo(fd, bytes) && (!synced || ::fsync(fd) == 0);
        written = closer.Close() && written;
    }
    // Only a file written whole (and on the disk, when it must be) replaces the old one.
    if (!written || ::rename(temporary.constData(), QFile::encodeName(*target).constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    // The rename itself reaches the disk only with the folder.
    return !synced || DiskSync::SyncFolder(QFile::encodeName(info.absolutePath()).toStdString());
}

std::optional<QStringList> Read(const QString& path)
{
    const std::optional<QByteArray> read = ReadBytes(path);
    if (!read)
        return std::nullopt;
    const QByteArray& bytes = *read;

    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + start, end - start);
        while (line.endsWith('\r'))
            line.chop(1);
        lines.append(TextCodec::Decode(line));
        start = next;
    }
    return lines;
}

bool Replace(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += TextCodec::Encode(line);
        bytes += '\n';
    }
    return ReplaceBytes(path, bytes);
}

bool Append(const QString& path, const QString& line)
{
    // Rewritten whole rather than appended to: a full disk must not leave half a line.
    std::optional<QByteArray> bytes = ReadBytes(path);
    if (!bytes) {
        if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
            return false; // there, but not readable as a file: never replaced
        bytes.emplace();
    }
    if (!bytes->isEmpty() && !bytes->endsWith('\n'))
        *bytes += '\n';
    *bytes += TextCodec::Encode(line);
    *bytes += '\n';
    return ReplaceBytes(path, *bytes);
}

} // namespace LineFile
