#include "exchange/soundfiledecoder.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t kFramesPerRead = 4096;

std::uint8_t ToUnsigned8(float sample)
{
    const long value = std::clamp(std::lround(sample * 128.0f), -128L, 127L);
    return static_cast<std::uint8_t>(value + 128);
}

} // namespace

CSoundFileDecoder::CSoundFileDecoder() = default;

CSoundFileDecoder::~CSoundFileDecoder() = default;

void CSoundFileDecoder::Open(const std::string& path, const CAudioManager& manager)
{
    Close();
    if (!m_file.OpenRead(path))
        throw CAudioError(EAudioErrc::UnsupportedFormat, m_file.ErrorText(), path);
    const auto rate = static_cast<int>(manager.SampleRate());
    try {
        m_resampler = std::make_unique<CResampler>(m_file.Rate(), rate);
    } catch (const std::exception& error) {
        m_file.Close();
        throw CAudioError(EAudioErrc::UnsupportedFormat, error.what(), path);
    }
    m_length = static_cast<std::uint64_t>(
        std::llround(static_cast<double>(m_file.Frames()) * rate / m_file.Rate()));
    m_frames.resize(kFramesPerRead * static_cast<std::size_t>(m_file.Channels()));
    m_fileEnded = false;
}

void CSoundFileDecoder::Close()
{
    m_file.Close();
    m_resampler.reset();
    m_pending.clear();
    m_pendingAt = 0;
    m_length = 0;
    m_fileEnded = true;
}

void CSoundFileDecoder::Refill()
{
    m_pending.clear();
    m_pendingAt = 0;
    const std::size_t frames = m_file.ReadFrames(m_frames.data(), kFramesPerRead);
    const auto channels = static_cast<std::size_t>(m_file.Channels());
    m_mono.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        float sum = 0;
        for (std::size_t c = 0; c < channels; ++c)
            sum += m_frames[i * channels + c];
        m_mono[i] = sum / static_cast<float>(channels);
    }
    m_fileEnded = frames == 0;
    m_resampler->Process(m_mono, m_fileEnded, m_pending);
}

SDecoded CSoundFileDecoder::Read(std::span<std::uint8_t> buffer)
{
    std::size_t size = 0;
    while (size < buffer.size() && m_resampler) {
        if (m_pendingAt == m_pending.size()) {
            if (m_fileEnded)
                break;
            Refill();
            continue;
        }
        const std::size_t take = std::min(buffer.size() - size, m_pending.size() - m_pendingAt);
        std::transform(m_pending.begin() + static_cast<long>(m_pendingAt),
                       m_pending.begin() + static_cast<long>(m_pendingAt + take),
                       buffer.begin() + static_cast<long>(size), ToUnsigned8);
        m_pendingAt += take;
        size += take;
    }
    return {size, m_fileEnded && m_pendingAt == m_pending.size()};
}

std::uint32_t CSoundFileDecoder::GetLength()
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(m_length, 0xFFFFFFFF));
}
