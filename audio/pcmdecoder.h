#pragma once

#include "audio/basedecoder.h"

// Reads RIFF/WAVE records, and plain 44-byte-header WAV files with no information.
class CPcmDecoder : public CBaseDecoder
{
public:
    CPcmDecoder();
    ~CPcmDecoder() override;

    void Open(const std::string& path, CAudioManager& manager) override;
    void Close() override;
    bool Read(std::uint8_t* buffer, std::size_t& size) override;
    std::uint32_t GetLength() override;
};
