#include "store/filestamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <tuple>

const unsigned SFileStamp::kStatxMask =
    STATX_TYPE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_CTIME | STATX_BTIME;

namespace {

std::int64_t Nanoseconds(const struct statx_timestamp& time)
{
    return time.tv_sec * 1000000000LL + time.tv_nsec;
}

} // namespace

SFileStamp SFileStamp::Of(const struct statx& status)
{
    SFileStamp stamp;
    stamp.device = (std::uint64_t{status.stx_dev_major} << 32) | status.stx_dev_minor;
    stamp.inode = status.stx_ino;
    stamp.size = status.stx_size;
    stamp.modifiedNs = Nanoseconds(status.stx_mtime);
    stamp.changedNs = Nanoseconds(status.stx_ctime);
    if ((status.stx_mask & STATX_BTIME) != 0)
        stamp.bornNs = Nanoseconds(status.stx_btime);
    return stamp;
}

bool SFileStamp::SameAs(const SFileStamp& other) const
{
    return std::tie(device, inode, size, modifiedNs, changedNs) ==
           std::tie(other.device, other.inode, other.size, other.modifiedNs, other.changedNs);
}
