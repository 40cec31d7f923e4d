#pragma once

#include "audio/basedecoder.h"

// Reads a headerless sample file; its length is unknown (0).
class CRawDataDecoder : public CBaseDecoder
{
public:
    CRawDataDecoder();
    ~CRawDataDecoder() override;

    void Open(const std::string& path, CAudioManager& manager) override;
    void Close() override;
    bool Read(std::uint8_t* buffer, std::size_t& size) override;
    std::uint32_t GetLength() override;
};
