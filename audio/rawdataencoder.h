#pragma once

#include "audio/baseencoder.h"
#include "platform/filehandle.h"

// Writes the samples only: no header, no information.
class CRawDataEncoder : public CBaseEncoder
{
public:
    explicit CRawDataEncoder(const CAudioManager& manager);
    ~CRawDataEncoder() override;

    // Always creates the file anew, whatever `existing` says.
    // Throws "PcmEncoder: Cannot open the output file".
    void Open(const std::string& path, bool existing) override;
    // Closes the file; the information is left as it is.
    void Close() override;
    // 1 when the whole block reached the file, 0 otherwise.
    bool Write(std::span<const std::uint8_t> samples, bool last) override;

private:
    FilePtr m_file;
};
