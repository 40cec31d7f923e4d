#pragma once

#include "audio/baseencoder.h"
#include "audio/codecstates.h"
#include "platform/filehandle.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Writes Speex narrow-band frames in an Ogg stream; the information rides in the comment packet.
//
// Stream serial 0xAABBCCDD in every file; page 0 carries the 80-byte Speex header, page 1 the
// comment packet with the 1024-byte information area, then one 20 ms frame per packet, the
// last one flagged end-of-stream. The two header pages have the same size in every file made
// with one library version, which is what lets a header be rewritten in place.
class CSpeexEncoder : public CBaseEncoder
{
public:
    static constexpr int kSerial = static_cast<int>(0xAABBCCDDu);

    // `quality` (1..5), when given, replaces the manager's quality for this encoder.
    explicit CSpeexEncoder(const CAudioManager& manager,
                           std::optional<std::uint32_t> quality = std::nullopt);
    ~CSpeexEncoder() override;

    // Writes both header pages (with the current information) at the start of the file.
    // existing == true rewrites them in place and refuses a file whose header pages have
    // another size. Throws "SpeexEncoder: Cannot open the output file", "SpeexEncoder: Cannot
    // initialize the Ogg stream", "SpeexEncoder: Cannot write the Ogg header" or
    // "SpeexEncoder: Cannot rewrite a header of another size".
    void Open(const std::string& path, bool existing) override;
    // Releases the states and closes the file; the last Write has already flushed every page.
    void Close() override;
    // Encodes whole frames (a shorter rest is dropped, except that a last call shorter than a
    // frame still yields one frame padded with silence; an empty last call ends the stream
    // with an empty packet) and ends the page. Returns 0 as soon as a page cannot be written,
    // otherwise nonzero once the file has been flushed.
    bool Write(std::span<const std::uint8_t> samples, bool last) override;

    // The value handed to the encoder's quality setting for a manager quality 1..5.
    static int MappedQuality(std::uint32_t quality);

private:
    std::vector<std::uint8_t> BuildHeaderPages();
    void CheckOldHeader(const std::string& path, std::size_t newSize);
    std::optional<std::string> ReadOldVendor();
    void StartEncoder();
    bool EncodeFrame(const std::uint8_t* samples, std::size_t count, bool eos);
    bool EndStream();
    bool WritePage(const ogg_page& page);
    // Frees the states and closes the file, keeping the information for the next Open.
    void Release();

    FilePtr m_file;
    COggStream m_stream;
    SpeexEncoderState m_state;
    CSpeexBitsBuffer m_bits;
    const std::optional<std::uint32_t> m_quality;
    int m_frameSize = 160;
    int m_lookahead = 0;
    // The vendor string of the header being rewritten: kept, so that a record made with
    // another library version keeps its header's size.
    std::optional<std::string> m_vendor;
    std::int64_t m_sampleCounter = 0;
    std::int64_t m_packetIndex = 0;
    // Fixed buffers: the capture thread never allocates per frame.
    std::vector<spx_int16_t> m_samples;
    // Samples of a frame begun by one write and to be completed by the next.
    std::vector<std::uint8_t> m_carry;
    std::array<char, 2000> m_packet{};
};
