#pragma once

#include "audio/windowpeak.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

// The input level while recording: the peak of the samples of roughly the last 100 ms,
// as a share of full scale. One thread (the one that copies captured samples into the
// queued buffers) adds samples; any thread reads the level. Nothing here locks,
// allocates or waits, so the capture path is never held up by whoever is watching.
class CLevelMeter
{
public:
    static constexpr std::uint32_t kWindowMs = 100;

    // Before a run's first Add: the sample format, and the level back to 0.
    void Start(int bitsPerSample, std::uint32_t sampleRate);
    // Samples just captured (unsigned 8-bit or signed 16-bit little-endian, mono).
    void Add(const std::uint8_t* samples, std::size_t bytes);
    // 0..1: the largest peak of the window under way and the one before it, so a loud
    // moment shows at once and stays for at least a window.
    float Level() const { return m_level.load(std::memory_order_relaxed); }

    // The peak of a stretch of samples, 0..1.
    static float Peak(const std::uint8_t* samples, std::size_t bytes, int bitsPerSample)
    {
        return CWindowPeak::Peak(samples, bytes, bitsPerSample);
    }

private:
    CWindowPeak m_window;
    float m_previousPeak = 0.0f;
    std::atomic<float> m_level{0.0f};
};
