#pragma once

#include "audio/baseencoder.h"

// Writes the samples only: no header, no information.
class CRawDataEncoder : public CBaseEncoder
{
public:
    explicit CRawDataEncoder(CAudioManager& manager);
    ~CRawDataEncoder() override;

    void Open(const std::string& path, bool existing) override;
    void Close() override;
    int Write(const std::uint8_t* data, std::size_t size, bool last) override;
};
