#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The peak of each window of a stream of captured samples, however the stream arrives in
// pieces: a window's samples are its own only. For the level meter and the level trail, on the
// thread that copies the samples; nothing here locks, allocates or waits.
class CWindowPeak
{
public:
    // Before a run's first Add: the sample format and the window's length.
    void Start(int bitsPerSample, std::uint32_t sampleRate, std::uint32_t windowMs);
    // Takes samples (unsigned 8-bit or signed 16-bit little-endian, mono) and calls
    // `closed(peak)` for every window they complete, in order.
    template <typename Closed>
    void Add(const std::uint8_t* samples, std::size_t bytes, Closed closed);
    // The peak of the window under way, 0..1.
    float Current() const { return m_peak; }

    // The peak of a stretch of samples, 0..1.
    static float Peak(const std::uint8_t* samples, std::size_t bytes, int bitsPerSample);

private:
    int m_bits = 8;
    std::size_t m_windowSamples = 800;
    std::size_t m_samplesInWindow = 0;
    float m_peak = 0.0f;
};

template <typename Closed>
void CWindowPeak::Add(const std::uint8_t* samples, std::size_t bytes, Closed closed)
{
    const std::size_t width = m_bits == 16 ? 2 : 1;
    std::size_t done = 0;
    while (done + width <= bytes) {
        // Split at the window's end, so every window holds its own samples only.
        const std::size_t wanted = (m_windowSamples - m_samplesInWindow) * width;
        const std::size_t n = std::min(wanted, (bytes - done) / width * width);
        m_peak = std::max(m_peak, Peak(samples + done, n, m_bits));
        m_samplesInWindow += n / width;
        done += n;
        if (m_samplesInWindow >= m_windowSamples) {
            closed(m_peak);
            m_peak = 0.0f;
            m_samplesInWindow = 0;
        }
    }
}
