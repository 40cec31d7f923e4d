#include "audio/leveltrail.h"

#include "audio/levelmeter.h"

#include <algorithm>

void CLevelTrail::Start(int bitsPerSample, std::uint32_t sampleRate)
{
    m_bits = bitsPerSample;
    m_windowSamples = std::max<std::size_t>(1, std::size_t{sampleRate} * kWindowMs / 1000);
    m_samplesInWindow = 0;
    m_windowPeak = 0.0f;
    m_windows.store(0, std::memory_order_release);
}

void CLevelTrail::Add(const std::uint8_t* samples, std::size_t bytes)
{
    const std::size_t width = m_bits == 16 ? 2 : 1;
    std::size_t done = 0;
    while (done + width <= bytes) {
        const std::size_t wanted = (m_windowSamples - m_samplesInWindow) * width;
        const std::size_t n = std::min(wanted, (bytes - done) / width * width);
        m_windowPeak = std::max(m_windowPeak, CLevelMeter::Peak(samples + done, n, m_bits));
        m_samplesInWindow += n / width;
        done += n;
        if (m_samplesInWindow >= m_windowSamples) {
            const std::uint64_t index = m_windows.load(std::memory_order_relaxed);
            m_peaks[index % kCapacity].store(m_windowPeak, std::memory_order_relaxed);
            m_windows.store(index + 1, std::memory_order_release);
            m_windowPeak = 0.0f;
            m_samplesInWindow = 0;
        }
    }
}

std::vector<float> CLevelTrail::Recent(std::size_t count) const
{
    const std::uint64_t end = m_windows.load(std::memory_order_acquire);
    const std::uint64_t n = std::min<std::uint64_t>({count, end, kCapacity});
    std::vector<float> peaks;
    peaks.reserve(static_cast<std::size_t>(n));
    for (std::uint64_t i = end - n; i < end; ++i)
        peaks.push_back(m_peaks[i % kCapacity].load(std::memory_order_relaxed));
    return peaks;
}
