#include "store/recordlock.h"

#include "store/filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CRecordLock::CRecordLock(const std::filesystem::path& record, std::chrono::milliseconds wait)
{
    m_fd = ::open(record.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    struct stat status
    {
    };
    if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        m_error = EINVAL;
        return;
    }
    if (HasLongLock(m_fd)) {
        m_state = EState::InUse;
        return;
    }
    switch (FileLock::Exclusive(m_fd, wait)) {
    case FileLock::EWait::Locked:
        m_state = EState::Held;
        break;
    case FileLock::EWait::Busy:
        m_state = EState::InUse;
        break;
    case FileLock::EWait::Failed:
        m_error = errno;
        break;
    }
}

CRecordLock::~CRecordLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

std::string CRecordLock::FilePath() const
{
    return "/proc/self/fd/" + std::to_string(m_fd);
}

bool CRecordLock::HasLongLock(int fd)
{
    struct flock query = {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    // Open-file-description locks conflict with classic POSIX locks of any process.
    return ::fcntl(fd, F_OFD_GETLK, &query) == 0 && query.l_type != F_UNLCK;
}
