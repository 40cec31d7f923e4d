#include "audio/windowpeak.h"

#include <cstdlib>

void CWindowPeak::Start(int bitsPerSample, std::uint32_t sampleRate, std::uint32_t windowMs)
{
    m_bits = bitsPerSample;
    m_windowSamples = std::max<std::size_t>(1, std::size_t{sampleRate} * windowMs / 1000);
    m_samplesInWindow = 0;
    m_peak = 0.0f;
}

float CWindowPeak::Peak(const std::uint8_t* samples, std::size_t bytes, int bitsPerSample)
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
