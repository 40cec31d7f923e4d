#pragma once

#include "audio/baseencoder.h"

// Writes Speex narrow-band frames in an Ogg stream; the information rides in the comment packet.
class CSpeexEncoder : public CBaseEncoder
{
public:
    explicit CSpeexEncoder(CAudioManager& manager);
    ~CSpeexEncoder() override;

    void Open(const std::string& path, bool existing) override;
    void Close() override;
    int Write(const std::uint8_t* data, std::size_t size, bool last) override;
};
