#pragma once

#include "audio/basedecoder.h"
#include "audio/codecstates.h"
#include "platform/filehandle.h"

#include <cstdint>
#include <vector>

// Reads Speex-in-Ogg records back as 8-bit samples. The file is opened read-only and read in
// 128-byte steps. A stream that stops without an end-of-stream page (a recording cut short)
// ends at the last complete page: broken or missing pages are skipped, never decoded stale.
class CSpeexDecoder : public CBaseDecoder
{
public:
    CSpeexDecoder();
    ~CSpeexDecoder() override;

    // Reads the Speex header page and the comment packet (the information), and leaves the
    // stream at the first audio page. Throws "CSpeexDecoder: Cannot open the input file" or
    // "CSpeexDecoder: Cannot read the Ogg header" (no Speex header on the first page, no
    // comment packet, or comment lengths that point outside the packet) or "CSpeexDecoder:
    // Only narrow-band mono Speex at 8 kHz can be read" (wideband, ultra-wideband or stereo
    // streams of other encoders).
    void Open(const std::string& path, const CAudioManager& manager) override;
    void Close() override;
    // Decodes every frame of each packet (the header says how many) into `buffer`; true
    // once the end-of-stream packet (not decoded) or the end of the file has been reached
    // and every decoded sample has been delivered.
    SDecoded Read(std::span<std::uint8_t> buffer) override;
    // The granule position of the stream's last complete page (RecordLength), read from the
    // file's end; the read position stays where it is.
    std::uint32_t GetLength() override;
    // Without the decoder's perceptual enhancement, which only polishes what is heard.
    void PreferSpeed() override { m_enhance = false; }

private:
    bool NextPage(ogg_page& page);
    bool NextPacket(ogg_packet& packet);
    void ReadHeaders(const std::string& path, std::size_t capacity);
    void DecodePacket(const ogg_packet& packet);

    FilePtr m_file;
    COggSync m_sync;
    COggStream m_stream;
    SpeexDecoderState m_state;
    CSpeexBitsBuffer m_bits;
    int m_frameSize = 160;
    int m_framesPerPacket = 1;
    // Samples of the last packet not yet delivered: a packet may hold several frames.
    std::vector<std::uint8_t> m_pending;
    std::size_t m_pendingAt = 0;
    bool m_ended = true; // nothing to read until Open
    bool m_enhance = true;
    std::uint64_t m_audioStart = 0; // the first byte after the header pages
    std::vector<spx_int16_t> m_output;
};
