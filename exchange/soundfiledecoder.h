#pragma once

#include "audio/basedecoder.h"
#include "exchange/resampler.h"
#include "exchange/soundfile.h"

#include <memory>
#include <vector>

// Reads any audio file libsndfile reads (WAV of any shape, FLAC, Ogg Vorbis and Opus, MP3,
// AIFF...) as the engine's samples: the channels mixed to one, resampled to the engine's rate,
// rounded to 8 bits. The file keeps its length: GetLength and the samples delivered agree
// with the file's duration at the new rate.
class CSoundFileDecoder : public CBaseDecoder
{
public:
    CSoundFileDecoder();
    ~CSoundFileDecoder() override;

    // Throws CAudioError (UnsupportedFormat) with libsndfile's reason when it does not read
    // the file, or the resampler's when its rate cannot be converted. There is no
    // information: GetInfo stays empty.
    void Open(const std::string& path, const CAudioManager& manager) override;
    void Close() override;
    // Throws std::runtime_error when the resampler fails (it never does on rates it took).
    SDecoded Read(std::span<std::uint8_t> buffer) override;
    // The samples the file gives at the engine's rate, from the length its header states
    // (an estimate for some MP3 files); does not move the read position.
    std::uint32_t GetLength() override;

private:
    // Reads, mixes and resamples the next piece into m_pending.
    void Refill();

    CSoundFile m_file;
    std::unique_ptr<CResampler> m_resampler;
    std::uint64_t m_length = 0;
    std::vector<float> m_frames;
    std::vector<float> m_mono;
    std::vector<float> m_pending;
    std::size_t m_pendingAt = 0;
    bool m_fileEnded = true;
};
