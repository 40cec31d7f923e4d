#include "store/filelock.h"

#include <algorithm>
#include <cerrno>
#include <sys/file.h>
#include <thread>

namespace FileLock {

EWait Exclusive(int fd, std::chrono::milliseconds wait)
{
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::microseconds kFirstPause{200};
    constexpr std::chrono::microseconds kLongestPause{5000};
    const Clock::time_point deadline = Clock::now() + wait;
    std::chrono::microseconds pause = kFirstPause;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return EWait::Locked;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return EWait::Failed;
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return EWait::Busy;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, kLongestPause);
    }
}

} // namespace FileLock
