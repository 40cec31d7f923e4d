#include "audio/recordsyncer.h"

#include <cerrno>
#include <unistd.h>

CRecordSyncer::~CRecordSyncer()
{
    Stop();
}

void CRecordSyncer::Start(int fd)
{
    Stop();
    m_fd = fd;
    m_written = 0;
    m_stop = false;
    m_failed = false;
    m_thread = std::thread([this] { Run(); });
}

bool CRecordSyncer::Written()
{
    bool failed = false;
    {
        std::lock_guard lock(m_mutex);
        ++m_written;
        failed = m_failed;
    }
    m_changed.notify_one();
    return !failed;
}

void CRecordSyncer::Stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_one();
    m_thread.join();
    m_fd = -1;
}

void CRecordSyncer::Run()
{
    std::uint64_t synced = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_stop || m_written != synced; });
        if (m_written == synced)
            return; // stopping, and everything noted is on the disk
        const std::uint64_t target = m_written;
        lock.unlock();
        // A file system without syncs (EINVAL) has nothing to push.
        const bool ok = ::fdatasync(m_fd) == 0 || errno == EINVAL;
        lock.lock();
        synced = target;
        m_failed = m_failed || !ok;
    }
}
