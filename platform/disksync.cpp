#include "platform/disksync.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DiskSync {

namespace {

// fsync on `fd`, then close it; both checked.
bool SyncAndClose(int fd)
{
    int result = ::fsync(fd);
    // A file system without a sync for this kind of file has nothing to push.
    if (result != 0 && (errno == EINVAL || errno == EROFS || errno == ENOTSUP || errno == ENOSYS))
        result = 0;
    return ::close(fd) == 0 && result == 0;
}

} // namespace

bool SyncFolder(const std::string& folder)
{
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 && SyncAndClose(fd);
}

bool SyncFolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return SyncFolder(".");
    return SyncFolder(slash == 0 ? "/" : path.substr(0, slash));
}

bool SyncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    return SyncAndClose(fd);
}

} // namespace DiskSync
