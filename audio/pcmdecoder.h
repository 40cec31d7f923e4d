#pragma once

#include "audio/basedecoder.h"
#include "platform/filehandle.h"

#include <cstdint>

// Reads RIFF/WAVE records, and plain 44-byte-header WAV files with no information.
// The file is opened read-only. The data length is the stored one unless the file holds
// fewer samples (a record never closed, a truncated copy): reading stops at the real end.
class CPcmDecoder : public CBaseDecoder
{
public:
    CPcmDecoder();
    ~CPcmDecoder() override;

    // Throws "PcmDecoder: Cannot open the input file" or "PcmDecoder: Cannot read the .wav
    // header" (a missing or truncated chunk, or counts pointing past the file).
    void Open(const std::string& path, const CAudioManager& manager) override;
    void Close() override;
    // Delivers up to `size` samples; true once the last sample has been delivered.
    SDecoded Read(std::span<std::uint8_t> buffer) override;
    // Samples present in the file.
    std::uint32_t GetLength() override;

private:
    FilePtr m_file;
    std::uint64_t m_left = 0;  // samples not read yet
    std::uint64_t m_total = 0; // samples present
};
