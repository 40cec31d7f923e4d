#include "store/reservedfile.h"

#include "store/filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<CReservedFile> CReservedFile::Create(const std::string& path)
{
    // O_EXCL: fail when the file exists, atomically with its creation.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    // Without the locks the recording still goes on; only the guard against changes is lost.
    // A delete of another process may be looking at the new file for a moment.
    if (FileLock::Exclusive(fd, std::chrono::milliseconds(100)) == FileLock::EWait::Locked) {
        struct flock recording = {};
        recording.l_type = F_RDLCK;
        recording.l_whence = SEEK_SET;
        ::fcntl(fd, F_OFD_SETLK, &recording);
    }
    return std::unique_ptr<CReservedFile>(new CReservedFile(path, fd));
}

CReservedFile::CReservedFile(std::string path, int fd) : m_path(std::move(path)), m_fd(fd) {}

CReservedFile::~CReservedFile()
{
    struct stat file
    {
    };
    // Only while nothing was recorded into it.
    if (::fstat(m_fd, &file) == 0 && file.st_size == 0)
        Discard();
    ::close(m_fd); // releases the locks
}

void CReservedFile::Discard()
{
    if (NameIsOurs())
        ::unlink(m_path.c_str());
}

bool CReservedFile::Deleted() const
{
    struct stat file
    {
    };
    return ::fstat(m_fd, &file) == 0 && file.st_nlink == 0;
}

bool CReservedFile::NameIsOurs() const
{
    struct stat file
    {
    };
    struct stat named
    {
    };
    return ::fstat(m_fd, &file) == 0 && ::lstat(m_path.c_str(), &named) == 0 &&
           named.st_dev == file.st_dev && named.st_ino == file.st_ino;
}

std::string CReservedFile::FilePath() const
{
    return "/proc/self/fd/" + std::to_string(m_fd);
}
