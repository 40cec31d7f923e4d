#pragma once

#include "platform/wavetypes.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

class MWaveNoticeSink;

// The buffers queued on a device, shared by the backends: samples are copied into them
// (input) or out of them (output) in queue order, and each buffer goes back to its
// owner with a Done notice once it is full or has been played. Thread-safe; never
// called from a real-time callback (it locks and may allocate).
class CWaveBufferQueue
{
public:
    explicit CWaveBufferQueue(MWaveNoticeSink& sink) : m_sink(sink) {}
    CWaveBufferQueue(const CWaveBufferQueue&) = delete;
    CWaveBufferQueue& operator=(const CWaveBufferQueue&) = delete;

    void Add(SWaveBuffer& buffer);
    // True when no buffer is waiting to be filled or taken from.
    bool Empty() const;

    // Input: copies up to `count` samples into the queued buffers; each buffer that
    // becomes full is handed back. Returns how many were taken: fewer than `count` only
    // when the queue ran out of room.
    std::size_t Fill(const std::uint8_t* samples, std::size_t count);

    // Output: copies up to `count` samples out of the queued buffers. A buffer whose
    // bytes have all been taken waits for ReleasePlayed. Returns how many were copied.
    std::size_t Take(std::uint8_t* samples, std::size_t count);
    // Output: hands back the taken buffers whose every sample lies below `playedTotal`,
    // counted from the first sample ever taken.
    void ReleasePlayed(std::uint64_t playedTotal);
    // Output: samples taken so far.
    std::uint64_t TakenTotal() const;

    // Hands back every buffer still held: taken ones first, then the queued ones; a
    // partly filled input buffer carries the bytes it holds.
    void ReturnAll();

private:
    struct STaken
    {
        SWaveBuffer* buffer;
        std::uint64_t end;
    };

    void HandBack(SWaveBuffer& buffer);
    std::size_t FillLocked(const std::uint8_t* samples, std::size_t count);
    void MoveEmptiedHeads();

    MWaveNoticeSink& m_sink;
    mutable std::mutex m_mutex;
    std::deque<SWaveBuffer*> m_queued;
    std::size_t m_headPosition = 0;
    std::deque<STaken> m_taken;
    std::uint64_t m_takenTotal = 0;
};
