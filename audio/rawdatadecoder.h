#pragma once

#include "audio/basedecoder.h"
#include "platform/filehandle.h"

// Reads a headerless sample file; its length is unknown (0).
class CRawDataDecoder : public CBaseDecoder
{
public:
    CRawDataDecoder();
    ~CRawDataDecoder() override;

    // Opens read-only and reads nothing. Throws "PcmDecoder: Cannot open the input file".
    void Open(const std::string& path, const CAudioManager& manager) override;
    void Close() override;
    // Delivers up to `size` samples; true once the end of the file has been reached.
    SDecoded Read(std::span<std::uint8_t> buffer) override;
    // Always 0: the file does not say.
    std::uint32_t GetLength() override;

private:
    FilePtr m_file;
};
