#include "audio/speexencoder.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/speexcomment.h"

#include <algorithm>
#include <cerrno>
#include <speex/speex_header.h>

namespace {

constexpr std::size_t kSampleBufferLength = 2000;

void AppendPage(std::vector<std::uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

} // namespace

CSpeexEncoder::CSpeexEncoder(const CAudioManager& manager, std::optional<std::uint32_t> quality)
    : CBaseEncoder(manager), m_quality(quality), m_samples(kSampleBufferLength)
{}

CSpeexEncoder::~CSpeexEncoder()
{
    Release();
}

int CSpeexEncoder::MappedQuality(std::uint32_t quality)
{
    switch (quality) {
    case 1:
        return 0;
    case 2:
        return 2;
    case 3:
        return 4;
    case 4:
        return 6;
    default:
        return 8;
    }
}

void CSpeexEncoder::Open(const std::string& path, bool existing)
{
    Release();
    FilePtr file = OpenFile(path, existing ? "rb+" : "wb+");
    if (!file) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotOpenFile, "SpeexEncoder: Cannot open the output file",
                          path, error);
    }
    m_file = std::move(file);
    try {
        if (!m_stream.Init(kSerial))
            throw CAudioError(EAudioErrc::OggStream,
                              "SpeexEncoder: Cannot initialize the Ogg stream");
        m_state.reset(speex_encoder_init(speex_lib_get_mode(SPEEX_MODEID_NB)));
        if (!m_state)
            throw CAudioError(EAudioErrc::OggStream,
                              "SpeexEncoder: Cannot initialize the Ogg stream");
        m_vendor = existing ? ReadOldVendor() : std::nullopt;
        const auto header = BuildHeaderPages();
        if (existing)
            CheckOldHeader(path, header.size());
        if (std::fseek(m_file.get(), 0, SEEK_SET) != 0 ||
            !WriteAll(m_file.get(), header.data(), header.size()) ||
            std::fflush(m_file.get()) != 0) {
            const int error = errno;
            throw CAudioError(EAudioErrc::CannotWriteHeader,
                              "SpeexEncoder: Cannot write the Ogg header", path, error);
        }
        StartEncoder();
        if (!existing)
            StartSyncing(m_file.get(), path);
    } catch (...) {
        Release();
        throw;
    }
}

// Page 0 with the Speex header packet and page 1 with the comment packet, each flushed to a
// page of its own.
std::vector<std::uint8_t> CSpeexEncoder::BuildHeaderPages()
{
    const SpeexMode* mode = speex_lib_get_mode(SPEEX_MODEID_NB);
    spx_int32_t rate = 0;
    speex_encoder_ctl(m_state.get(), SPEEX_GET_SAMPLING_RATE, &rate);
    SpeexHeader header{};
    speex_init_header(&header, rate, 1, mode);
    header.frames_per_packet = 1;
    header.vbr = 0;
    header.nb_channels = 1;

    std::vector<std::uint8_t> pages;
    ogg_page page;
    int size = 0;
    std::unique_ptr<char, SSpeexHeaderFree> headerPacket(speex_header_to_packet(&header, &size));
    ogg_packet packet{};
    packet.packet = reinterpret_cast<unsigned char*>(headerPacket.get());
    packet.bytes = size;
    packet.b_o_s = 1;
    packet.granulepos = 0;
    packet.packetno = 0;
    ogg_stream_packetin(m_stream.Get(), &packet);
    headerPacket.reset();
    while (ogg_stream_flush(m_stream.Get(), &page) != 0)
        AppendPage(pages, page);

    const char* version = nullptr;
    speex_lib_ctl(SPEEX_LIB_GET_VERSION_STRING, &version);
    auto comment = SpeexComment::Build(m_vendor ? *m_vendor : SpeexComment::Vendor(version), m_info,
                                       m_manager.InfoCapacity());
    packet = ogg_packet{};
    packet.packet = comment.data();
    packet.bytes = static_cast<long>(comment.size());
    packet.granulepos = 0;
    packet.packetno = 1;
    ogg_stream_packetin(m_stream.Get(), &packet);
    while (ogg_stream_flush(m_stream.Get(), &page) != 0)
        AppendPage(pages, page);
    return pages;
}

// The old header must be exactly two pages of our stream with the byte count of the new
// ones; anything else would have audio overwritten or stale header bytes left behind.
void CSpeexEncoder::CheckOldHeader(const std::string& path, std::size_t newSize)
{
    const auto refuse = [&path] {
        throw CAudioError(EAudioErrc::HeaderOfAnotherSize,
                          "SpeexEncoder: Cannot rewrite a header of another size", path);
    };
    std::vector<std::uint8_t> old(newSize + 4);
    const std::size_t got = std::fread(old.data(), 1, old.size(), m_file.get());
    if (got < newSize)
        refuse();
    COggSync sync;
    sync.Init();
    char* buffer = ogg_sync_buffer(sync.Get(), static_cast<long>(newSize));
    std::copy(old.begin(), old.begin() + static_cast<long>(newSize), buffer);
    ogg_sync_wrote(sync.Get(), static_cast<long>(newSize));
    std::size_t consumed = 0;
    for (long expected = 0; expected < 2; ++expected) {
        ogg_page page;
        if (ogg_sync_pageout(sync.Get(), &page) != 1 || ogg_page_serialno(&page) != kSerial ||
            ogg_page_pageno(&page) != expected)
            refuse();
        consumed += static_cast<std::size_t>(page.header_len + page.body_len);
    }
    const bool audioFollows =
        got == newSize || (got == newSize + 4 &&
                           std::equal(old.begin() + static_cast<long>(newSize), old.end(), "OggS"));
    if (consumed != newSize || !audioFollows)
        refuse();
}

// The vendor of the old comment page (the second page, holding one whole packet); nullopt
// when the header does not frame like that, and CheckOldHeader then refuses it.
std::optional<std::string> CSpeexEncoder::ReadOldVendor()
{
    constexpr long kHeaderBytes = 8192;
    COggSync sync;
    sync.Init();
    char* buffer = ogg_sync_buffer(sync.Get(), kHeaderBytes);
    const std::size_t got = std::fread(buffer, 1, kHeaderBytes, m_file.get());
    std::fseek(m_file.get(), 0, SEEK_SET);
    ogg_sync_wrote(sync.Get(), static_cast<long>(got));
    ogg_page page;
    if (ogg_sync_pageout(sync.Get(), &page) != 1 || ogg_sync_pageout(sync.Get(), &page) != 1 ||
        ogg_page_continued(&page))
        return std::nullopt;
    return SpeexComment::VendorOf(page.body, static_cast<std::size_t>(page.body_len));
}

void CSpeexEncoder::StartEncoder()
{
    int quality = MappedQuality(m_quality.value_or(m_manager.Quality()));
    speex_encoder_ctl(m_state.get(), SPEEX_SET_QUALITY, &quality);
    m_bits.Init();
    speex_encoder_ctl(m_state.get(), SPEEX_GET_FRAME_SIZE, &m_frameSize);
    speex_encoder_ctl(m_state.get(), SPEEX_GET_LOOKAHEAD, &m_lookahead);
    if (m_frameSize <= 0 || static_cast<std::size_t>(m_frameSize) > m_samples.size())
        throw CAudioError(EAudioErrc::OggStream, "SpeexEncoder: Cannot initialize the Ogg stream");
    m_packetIndex = 0;
    m_sampleCounter = 0;
    m_carry.clear();
    m_carry.reserve(static_cast<std::size_t>(m_frameSize));
}

void CSpeexEncoder::Close()
{
    m_info.clear();
    Release();
}

void CSpeexEncoder::Release()
{
    m_state.reset();
    m_bits.Reset();
    m_stream.Reset();
    if (m_file)
        StopSyncing(m_file.get());
    m_file.reset();
}

// A write need not hold whole frames (a pause hands over what was captured before it): the
// part of a frame left over waits in the carry for the next write. The last write ends the
// stream as it always has: a part frame alone is padded with silence, one after whole frames
// is left out.
bool CSpeexEncoder::Write(std::span<const std::uint8_t> samples, bool last)
{
    const std::uint8_t* data = samples.data();
    const std::size_t size = samples.size();
    if (!m_file || !m_state)
        return false;
    const std::size_t frame = static_cast<std::size_t>(m_frameSize);
    const std::size_t pending = m_carry.size() + size;
    const std::size_t frames = pending / frame;
    std::size_t used = 0;
    if (pending == 0 && last) {
        if (!EndStream())
            return false;
    } else if (frames == 0 && last) {
        m_carry.insert(m_carry.end(), data, data + size);
        used = size;
        if (!EncodeFrame(m_carry.data(), m_carry.size(), true))
            return false;
    }
    std::size_t f = 0;
    if (frames > 0 && !m_carry.empty()) {
        used = frame - m_carry.size();
        m_carry.insert(m_carry.end(), data, data + used);
        if (!EncodeFrame(m_carry.data(), frame, last && frames == 1))
            return false;
        m_carry.clear();
        f = 1;
    }
    for (; f < frames; ++f, used += frame) {
        if (!EncodeFrame(data + used, frame, last && f + 1 == frames))
            return false;
    }
    // What is left is less than a frame, with the carry when no frame took it.
    if (last)
        m_carry.clear();
    else
        m_carry.insert(m_carry.end(), data + used, data + size);
    // Every write ends its page, so a recording killed outright keeps every second
    // written so far in complete pages that a reader can use.
    ogg_page page;
    while (ogg_stream_flush(m_stream.Get(), &page) != 0)
        if (!WritePage(page))
            return false;
    return std::fflush(m_file.get()) == 0 && NoteWritten();
}

// A recording that stops on a frame boundary has written its last frame already: an empty
// packet closes the stream without adding a frame of silence to what was recorded.
bool CSpeexEncoder::EndStream()
{
    ogg_packet packet{};
    packet.packet = reinterpret_cast<unsigned char*>(m_packet.data());
    packet.bytes = 0;
    packet.e_o_s = 1;
    packet.granulepos = std::max<std::int64_t>(0, m_packetIndex * m_frameSize - m_lookahead);
    packet.packetno = m_packetIndex + 2;
    return ogg_stream_packetin(m_stream.Get(), &packet) == 0;
}

// `count` samples of `samples` (fewer than a frame only for a short last call; the rest of
// the frame is silence).
bool CSpeexEncoder::EncodeFrame(const std::uint8_t* samples, std::size_t count, bool eos)
{
    m_sampleCounter += m_frameSize;
    speex_bits_reset(m_bits.Get());
    for (std::size_t i = 0; i < static_cast<std::size_t>(m_frameSize); ++i)
        m_samples[i] = static_cast<spx_int16_t>(i < count ? (samples[i] - 128) * 256 : 0);
    speex_encode_int(m_state.get(), m_samples.data(), m_bits.Get());
    speex_bits_insert_terminator(m_bits.Get());
    const int bytes =
        speex_bits_write(m_bits.Get(), m_packet.data(), static_cast<int>(m_packet.size()));

    ogg_packet packet{};
    packet.packet = reinterpret_cast<unsigned char*>(m_packet.data());
    packet.bytes = bytes;
    packet.e_o_s = eos ? 1 : 0;
    packet.granulepos =
        std::min<std::int64_t>((m_packetIndex + 1) * m_frameSize - m_lookahead, m_sampleCounter);
    packet.packetno = m_packetIndex + 2;
    ogg_stream_packetin(m_stream.Get(), &packet);
    ogg_page page;
    while (ogg_stream_pageout(m_stream.Get(), &page) != 0) {
        if (!WritePage(page) || std::fflush(m_file.get()) != 0)
            return false;
    }
    ++m_packetIndex;
    return true;
}

bool CSpeexEncoder::WritePage(const ogg_page& page)
{
    return WriteAll(m_file.get(), page.header, static_cast<std::size_t>(page.header_len)) &&
           WriteAll(m_file.get(), page.body, static_cast<std::size_t>(page.body_len));
}
