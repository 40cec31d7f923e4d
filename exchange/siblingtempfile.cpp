#include "exchange/siblingtempfile.h"

#include "store/nativepath.h"
#include "store/recordrename.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A rename reaches the disk with the folder that holds the name.
void SyncFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // the rename itself succeeded; only its durability is left to the system
    ::fsync(fd);
    ::close(fd);
}

} // namespace

CSiblingTempFile::CSiblingTempFile(const QString& folder, const QString& name)
    : m_folder(folder.endsWith(u'/') ? folder : folder + u'/')
{
    QByteArray pattern = QFile::encodeName(m_folder + u'.' + name + QStringLiteral(".XXXXXX"));
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_error = SystemError(errno);
        return;
    }
    m_path = QFile::decodeName(pattern);
    // mkostemp makes the file private; an exported memo or a record is an ordinary file.
    ::fchmod(m_fd, 0644);
}

CSiblingTempFile::~CSiblingTempFile()
{
    Remove();
}

void CSiblingTempFile::Remove()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_path.isEmpty())
        ::unlink(QFile::encodeName(m_path).constData());
    m_path.clear();
}

bool CSiblingTempFile::TakeModifiedTime(const QString& source)
{
    struct stat status
    {
    };
    if (m_fd < 0 || ::stat(QFile::encodeName(source).constData(), &status) != 0) {
        m_error = SystemError(errno);
        return false;
    }
    const timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
    if (::futimens(m_fd, times) != 0) {
        m_error = SystemError(errno);
        return false;
    }
    return true;
}

CSiblingTempFile::ECommit CSiblingTempFile::Commit(const QString& finalPath, bool replace)
{
    if (m_fd < 0)
        return ECommit::Failed;
    // Only a file whose every byte reached the disk takes the final name.
    if (::fsync(m_fd) != 0) {
        m_error = SystemError(errno);
        Remove();
        return ECommit::Failed;
    }
    if (replace) {
        if (::rename(QFile::encodeName(m_path).constData(),
                     QFile::encodeName(finalPath).constData()) != 0) {
            m_error = SystemError(errno);
            Remove();
            return ECommit::Failed;
        }
    } else {
        const RecordRename::SResult moved = RecordRename::MoveNoReplace(
            NativePath::FromText(m_path), NativePath::FromText(finalPath));
        if (moved.status == RecordRename::EStatus::Exists)
            return ECommit::Exists;
        if (moved.status != RecordRename::EStatus::Renamed) {
            m_error = moved.message;
            Remove();
            return ECommit::Failed;
        }
    }
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
    SyncFolder(m_folder);
    return ECommit::Done;
}
