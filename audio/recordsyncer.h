#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Pushes a growing record file to the disk (fdatasync) on a thread of its own, so that the
// device thread, which writes the file, never waits for the disk. The writer calls Written
// after every write that reached the file (a second of audio); the syncer syncs after each,
// taking together the writes that came while it was syncing, so no more than about two
// seconds of audio (the second being synced and the one being captured) are ever only in
// memory.
class CRecordSyncer
{
public:
    CRecordSyncer() = default;
    // Stop.
    ~CRecordSyncer();
    CRecordSyncer(const CRecordSyncer&) = delete;
    CRecordSyncer& operator=(const CRecordSyncer&) = delete;

    // Starts syncing `fd`, which must stay open until Stop returns. Throws std::system_error
    // when the thread cannot be made.
    void Start(int fd);
    // After a write reached the file. Takes a lock only for a moment, never over a sync.
    // False once a sync has failed (a full or failing disk): what was written since then may
    // never reach the disk.
    bool Written();
    // Ends the thread, after it has synced every write noted so far. Nothing when not started.
    void Stop();

private:
    void Run();

    int m_fd = -1;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::uint64_t m_written = 0; // writes noted
    bool m_stop = false;
    bool m_failed = false;
    std::thread m_thread;
};
