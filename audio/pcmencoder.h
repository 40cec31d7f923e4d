#pragma once

#include "audio/baseencoder.h"
#include "platform/filehandle.h"

#include <optional>

// Writes a RIFF/WAVE record with a 1070-byte header carrying the information.
// The header, information included, is on storage from Open on, and every Write is flushed
// (and, for a new record, synced: CBaseEncoder::StartSyncing), so a recording cut short
// before Close is still a readable record with its information.
class CPcmEncoder : public CBaseEncoder
{
public:
    explicit CPcmEncoder(const CAudioManager& manager);
    ~CPcmEncoder() override;

    // existing == true rewrites the header of a record in place; a file whose header has
    // another layout is refused, so no sample is ever overwritten.
    // Throws "PcmEncoder: Cannot open the output file", "PcmEncoder: Cannot write the .wav
    // header" or "PcmEncoder: Cannot rewrite a header of another size".
    void Open(const std::string& path, bool existing) override;
    // Restores both length fields from the file's length, then closes.
    void Close() override;
    // 1 when the whole block reached the file, 0 otherwise.
    bool Write(std::span<const std::uint8_t> samples, bool last) override;

private:
    void CheckOldHeader(const std::string& path);
    // Finalises the lengths and closes, keeping the information for the next Open.
    void CloseFile();

    FilePtr m_file;
    // The data length of a rewritten header, when it is a closed record's: chunks after
    // the samples (an editor's LIST) must not become audio.
    std::optional<std::uint32_t> m_keptDataLength;
};
