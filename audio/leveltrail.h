#pragma once

#include "audio/windowpeak.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

// The last few seconds of a recording's input as peaks of short windows, for a scrolling
// waveform. One thread (the one that copies captured samples into the queued buffers) adds
// samples; any thread reads the recent peaks. Nothing here locks, allocates or waits while
// adding. A reader that falls more than the ring's length behind the writer may see a few
// newer peaks in place of old ones, which only a waveform's far end would show.
class CLevelTrail
{
public:
    static constexpr std::uint32_t kWindowMs = 25;
    static constexpr std::size_t kCapacity = 512; // windows: about 12 s

    // Before a run's first Add: the sample format, and no peaks yet.
    void Start(int bitsPerSample, std::uint32_t sampleRate);
    // Samples just captured (as CLevelMeter::Add takes them).
    void Add(const std::uint8_t* samples, std::size_t bytes);
    // The peaks (0..1) of the last `count` complete windows, oldest first; fewer when fewer
    // have been completed since the start. Allocates: not for the adding thread.
    std::vector<float> Recent(std::size_t count) const;
    // Windows completed since the start.
    std::uint64_t Windows() const { return m_windows.load(std::memory_order_acquire); }

private:
    CWindowPeak m_window;
    std::array<std::atomic<float>, kCapacity> m_peaks{};
    std::atomic<std::uint64_t> m_windows{0};
};
