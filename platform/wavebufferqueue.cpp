#include "platform/wavebufferqueue.h"

#include "platform/wavenoticesink.h"

#include <algorithm>
#include <cstring>

void CWaveBufferQueue::Add(SWaveBuffer& buffer)
{
    std::lock_guard lock(m_mutex);
    buffer.bytesRecorded = 0;
    m_queued.push_back(&buffer);
}

bool CWaveBufferQueue::Empty() const
{
    std::lock_guard lock(m_mutex);
    return m_queued.empty();
}

void CWaveBufferQueue::HandBack(SWaveBuffer& buffer)
{
    // A sink that has quit cannot take the buffer any more; its owner frees it anyway.
    m_sink.PostWaveNotice(EWaveNotice::Done, &buffer);
}

std::size_t CWaveBufferQueue::Fill(const std::uint8_t* samples, std::size_t count)
{
    const std::size_t taken = FillLocked(samples, count);
    if (taken > 0)
        m_sink.OnCaptured(samples, taken);
    return taken;
}

std::size_t CWaveBufferQueue::FillLocked(const std::uint8_t* samples, std::size_t count)
{
    std::lock_guard lock(m_mutex);
    std::size_t taken = 0;
    while (!m_queued.empty()) {
        SWaveBuffer& head = *m_queued.front();
        const std::size_t room = head.length - head.bytesRecorded;
        const std::size_t n = std::min(room, count - taken);
        if (n > 0)
            std::memcpy(head.data + head.bytesRecorded, samples + taken, n);
        head.bytesRecorded += n;
        taken += n;
        if (head.bytesRecorded < head.length)
            break;
        m_queued.pop_front();
        HandBack(head);
        if (taken == count)
            break;
    }
    return taken;
}

void CWaveBufferQueue::MoveEmptiedHeads()
{
    while (!m_queued.empty() && m_headPosition == m_queued.front()->length) {
        m_taken.push_back({m_queued.front(), m_takenTotal});
        m_queued.pop_front();
        m_headPosition = 0;
    }
}

std::size_t CWaveBufferQueue::Take(std::uint8_t* samples, std::size_t count)
{
    std::lock_guard lock(m_mutex);
    std::size_t copied = 0;
    MoveEmptiedHeads();
    while (copied < count && !m_queued.empty()) {
        SWaveBuffer& head = *m_queued.front();
        const std::size_t n = std::min(head.length - m_headPosition, count - copied);
        std::memcpy(samples + copied, head.data + m_headPosition, n);
        m_headPosition += n;
        m_takenTotal += n;
        copied += n;
        MoveEmptiedHeads();
    }
    return copied;
}

void CWaveBufferQueue::ReleasePlayed(std::uint64_t playedTotal)
{
    std::lock_guard lock(m_mutex);
    while (!m_taken.empty() && m_taken.front().end <= playedTotal) {
        SWaveBuffer& buffer = *m_taken.front().buffer;
        m_taken.pop_front();
        HandBack(buffer);
    }
}

std::uint64_t CWaveBufferQueue::TakenTotal() const
{
    std::lock_guard lock(m_mutex);
    return m_takenTotal;
}

void CWaveBufferQueue::ReturnAll()
{
    std::lock_guard lock(m_mutex);
    while (!m_taken.empty()) {
        SWaveBuffer& buffer = *m_taken.front().buffer;
        m_taken.pop_front();
        HandBack(buffer);
    }
    while (!m_queued.empty()) {
        SWaveBuffer& buffer = *m_queued.front();
        m_queued.pop_front();
        HandBack(buffer);
    }
    m_headPosition = 0;
}
