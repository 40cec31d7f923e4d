#pragma once

#include <chrono>

// Waiting for an advisory lock (flock) for a bounded time. A holder that hangs (a stopped
// program, a debugger) must never freeze another program's every change: after the wait the
// caller reports the file as in use and changes nothing.
namespace FileLock {

enum class EWait
{
    Locked, // the lock is ours
    Busy,   // another open file description kept it for the whole wait
    Failed, // the system refused the lock (not a lock that can be taken here)
};

// Takes an exclusive flock on `fd`, trying again with growing pauses (up to a few
// milliseconds, so that a short holder is followed at once) until `wait` has passed.
EWait Exclusive(int fd, std::chrono::milliseconds wait);

} // namespace FileLock
