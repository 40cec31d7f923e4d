#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// An exclusive advisory lock (flock) on a record file itself, held for the object's lifetime.
// Every change of a record runs under it: an information edit (its read, change and write), a
// rename, a delete; a recording holds it from its start to its stop (CReservedFile). The lock
// belongs to the file, not to its name, so it follows the record through a rename, and no lock
// file is ever left beside the records.
//
// Waiting is bounded by `wait`, as for the catalogues (CCatalogueLock): an edit of another
// program ends within moments, so the lock is waited for; a recording, or another program that
// keeps a lock of its own on the record (a POSIX record lock), holds it for long, so the record
// is in use at once.
class CRecordLock
{
public:
    static constexpr std::chrono::milliseconds kWait{3000};

    enum class EState
    {
        Held,
        InUse,      // a recording, another edit past the wait, or another program's lock
        Unavailable // missing, not a regular file, a link, or not readable: Error() says why
    };

    // Opens `record` (never following a link in its last part, never waiting on a FIFO or a
    // device) and locks it.
    explicit CRecordLock(const std::filesystem::path& record,
                         std::chrono::milliseconds wait = kWait);
    ~CRecordLock();
    CRecordLock(const CRecordLock&) = delete;
    CRecordLock& operator=(const CRecordLock&) = delete;

    EState State() const { return m_state; }
    bool Held() const { return m_state == EState::Held; }
    // The errno that made the record Unavailable (EINVAL: not a regular file).
    int Error() const { return m_error; }
    // A name of the locked file that stays with it whatever happens to its own name meanwhile:
    // reading and writing through it can only ever reach the record that was locked.
    std::string FilePath() const;

    // True when a lock that a recording or another program keeps for long (a POSIX or
    // open-file-description lock) lies on the file open at `fd`.
    static bool HasLongLock(int fd);

private:
    int m_fd = -1;
    EState m_state = EState::Unavailable;
    int m_error = 0;
};
