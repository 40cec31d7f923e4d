#include "audio/levelmeter.h"

#include <algorithm>
#include <cstdlib>

void CLevelMeter::Start(int bitsPerSample, std::uint32_t sampleRate)
{
    m_bits = bitsPerSample;
    m_windowSamples = std::max<std::size_t>(1, std::size_t{sampleRate} * kWindowMs / 1000);
    m_samplesInWindow = 0;
    m_windowPeak = 0.0f;
    m_previousPeak = 0.0f;
    m_level.store(0.0f, std::memory_order_relaxed);
}

float CLevelMeter::Peak(const std::uint8_t* samples, std::size_t bytes, int bitsPerSample)
{
    int largest = 0;
    if (bitsPerSample == 16) {
        for (std::size_t i = 0; i + 1 < bytes; i += 2) {
            const auto value = static_cast<std::int16_t>(samples[i] | (samples[i + 1] << 8));
            largest = std::max(largest, std::abs(static_cast<int>(value)));
        }
        return std::min(1.0f, static_cast<float>(largest) / 32767.0f);
    }
    // 8-bit samples are unsigned around 128.
    for (std::size_t i = 0; i < bytes; ++i)
        largest = std::max(largest, std::abs(static_cast<int>(samples[i]) - 128));
    return std::min(1.0f, static_cast<float>(largest) / 127.0f);
}

void CLevelMeter::Add(const std::uint8_t* samples, std::size_t bytes)
{
    const std::size_t width = m_bits == 16 ? 2 : 1;
    std::size_t done = 0;
    while (done + width <= bytes) {
        // Split at the window's end, so every window holds its own samples only.
        const std::size_t wanted = (m_windowSamples - m_samplesInWindow) * width;
        const std::size_t n = std::min(wanted, (bytes - done) / width * width);
        m_windowPeak = std::max(m_windowPeak, Peak(samples + done, n, m_bits));
        m_samplesInWindow += n / width;
        done += n;
        if (m_samplesInWindow >= m_windowSamples) {
            m_previousPeak = m_windowPeak;
            m_windowPeak = 0.0f;
            m_samplesInWindow = 0;
        }
    }
    m_level.store(std::max(m_previousPeak, m_windowPeak), std::memory_order_relaxed);
}
