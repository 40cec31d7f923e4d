#pragma once

#include "audio/baseencoder.h"

// Writes a RIFF/WAVE record with a 1070-byte header carrying the information.
class CPcmEncoder : public CBaseEncoder
{
public:
    explicit CPcmEncoder(CAudioManager& manager);
    ~CPcmEncoder() override;

    void Open(const std::string& path, bool existing) override;
    void Close() override;
    int Write(const std::uint8_t* data, std::size_t size, bool last) override;
};
