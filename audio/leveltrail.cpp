#include "audio/leveltrail.h"

#include <algorithm>

void CLevelTrail::Start(int bitsPerSample, std::uint32_t sampleRate)
{
    m_window.Start(bitsPerSample, sampleRate, kWindowMs);
    m_windows.store(0, std::memory_order_release);
}

void CLevelTrail::Add(const std::uint8_t* samples, std::size_t bytes)
{
    m_window.Add(samples, bytes, [this](float peak) {
        const std::uint64_t index = m_windows.load(std::memory_order_relaxed);
        m_peaks[index % kCapacity].store(peak, std::memory_order_relaxed);
        m_windows.store(index + 1, std::memory_order_release);
    });
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
