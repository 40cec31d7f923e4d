#include "audio/levelmeter.h"

#include <algorithm>

void CLevelMeter::Start(int bitsPerSample, std::uint32_t sampleRate)
{
    m_window.Start(bitsPerSample, sampleRate, kWindowMs);
    m_previousPeak = 0.0f;
    m_level.store(0.0f, std::memory_order_relaxed);
}

void CLevelMeter::Add(const std::uint8_t* samples, std::size_t bytes)
{
    m_window.Add(samples, bytes, [this](float peak) { m_previousPeak = peak; });
    m_level.store(std::max(m_previousPeak, m_window.Current()), std::memory_order_relaxed);
}
