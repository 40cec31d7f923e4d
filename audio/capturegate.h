#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

// Which captured samples a recording keeps while it is paused and resumed. The device keeps
// capturing through a pause (so a resume is instant); the samples it delivers meanwhile are
// dropped, and those before and after the pause follow each other in the record.
//
// Positions count the samples of the capture stream from the run's start. The controlling
// thread pauses and resumes at the number of samples the device has captured by then; the
// device thread asks, for each buffer that comes back, which stretches of it to keep.
// A pause or resume never reaches back before what the device thread has already decided,
// so every sample is decided once and the two threads never disagree.
class CCaptureGate
{
public:
    // A stretch of a returned buffer to keep, and whether a pause begins right after it:
    // what was kept before the pause should then reach the file at once.
    struct SPiece
    {
        std::size_t offset = 0;
        std::size_t size = 0;
        bool pauseAfter = false;
        bool operator==(const SPiece&) const = default;
    };

    // Running, nothing decided: for a new run.
    void Reset();
    // Controlling thread; `captured` is how many samples the device has captured so far.
    // False (nothing changes) when already paused, or resumed when not paused.
    bool Pause(std::uint64_t captured);
    bool Resume(std::uint64_t captured);
    bool IsPaused() const;

    // Device thread: the stream's samples [from, from + count) came back, in order after
    // the last call's. The pieces to keep, in order; a piece may be empty when a pause
    // begins at the buffer's start.
    std::vector<SPiece> Decide(std::uint64_t from, std::size_t count);

private:
    // The samples [start, end) are dropped; `end` is open while the pause lasts.
    struct SGap
    {
        std::uint64_t start = 0;
        std::uint64_t end = 0;
        bool open = true;
        bool announced = false; // its start has been handed out as pauseAfter
    };

    mutable std::mutex m_mutex;
    std::deque<SGap> m_gaps;
    std::uint64_t m_decided = 0; // the device thread has decided every sample before it
};
