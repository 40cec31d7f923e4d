#pragma once

#include "audio/basedecoder.h"

// Reads Speex-in-Ogg records back as 8-bit samples.
class CSpeexDecoder : public CBaseDecoder
{
public:
    CSpeexDecoder();
    ~CSpeexDecoder() override;

    void Open(const std::string& path, CAudioManager& manager) override;
    void Close() override;
    bool Read(std::uint8_t* buffer, std::size_t& size) override;
    std::uint32_t GetLength() override;
};
