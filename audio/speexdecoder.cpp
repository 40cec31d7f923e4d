#include "audio/speexdecoder.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/recordlength.h"
#include "audio/speexcomment.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <speex/speex_header.h>
#include <sys/stat.h>

namespace {

constexpr std::size_t kOutputLength = 2000;
constexpr long kReadStep = 128;
constexpr char kHeaderError[] = "CSpeexDecoder: Cannot read the Ogg header";
constexpr char kFormatError[] = "CSpeexDecoder: Only narrow-band mono Speex at 8 kHz can be read";
// More frames than this in one packet is not a stream any encoder writes.
constexpr int kMostFramesPerPacket = 10;

// speex_packet_to_header complains on stderr about anything but a Speex header; look first.
bool LooksLikeSpeexHeader(const ogg_packet& packet)
{
    return packet.bytes >= static_cast<long>(sizeof(SpeexHeader)) &&
           std::memcmp(packet.packet, "Speex   ", 8) == 0;
}

} // namespace

CSpeexDecoder::CSpeexDecoder() : m_output(kOutputLength) {}

CSpeexDecoder::~CSpeexDecoder() = default;

void CSpeexDecoder::Open(const std::string& path, const CAudioManager& manager)
{
    Close();
    m_file = OpenFile(path, "rb");
    if (!m_file) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotOpenFile, "CSpeexDecoder: Cannot open the input file",
                          path, error);
    }
    try {
        m_sync.Init();
        ReadHeaders(path, manager.InfoCapacity());
        m_state.reset(speex_decoder_init(speex_lib_get_mode(SPEEX_MODEID_NB)));
        if (!m_state)
            throw CAudioError(EAudioErrc::CannotReadHeader, kHeaderError, path);
        int enhance = m_enhance ? 1 : 0;
        speex_decoder_ctl(m_state.get(), SPEEX_SET_ENH, &enhance);
        spx_int32_t rate = static_cast<spx_int32_t>(manager.SampleRate());
        speex_decoder_ctl(m_state.get(), SPEEX_SET_SAMPLING_RATE, &rate);
        m_bits.Init();
        speex_decoder_ctl(m_state.get(), SPEEX_GET_FRAME_SIZE, &m_frameSize);
        if (m_frameSize <= 0 || static_cast<std::size_t>(m_frameSize) > m_output.size())
            throw CAudioError(EAudioErrc::CannotReadHeader, kHeaderError, path);
        m_ended = false;
    } catch (...) {
        Close();
        throw;
    }
}

void CSpeexDecoder::ReadHeaders(const std::string& path, std::size_t capacity)
{
    ogg_page page;
    if (!NextPage(page) || !ogg_page_bos(&page) || !m_stream.Init(ogg_page_serialno(&page)) ||
        ogg_stream_pagein(m_stream.Get(), &page) != 0)
        throw CAudioError(EAudioErrc::CannotReadHeader, kHeaderError, path);
    ogg_packet packet;
    if (ogg_stream_packetout(m_stream.Get(), &packet) != 1 || !LooksLikeSpeexHeader(packet))
        throw CAudioError(EAudioErrc::CannotReadHeader, kHeaderError, path);
    std::unique_ptr<SpeexHeader, SSpeexHeaderFree> header(speex_packet_to_header(
        reinterpret_cast<char*>(packet.packet), static_cast<int>(packet.bytes)));
    if (!header)
        throw CAudioError(EAudioErrc::CannotReadHeader, kHeaderError, path);
    if (header->mode != SPEEX_MODEID_NB || header->nb_channels != 1 || header->rate != 8000)
        throw CAudioError(EAudioErrc::UnsupportedFormat, kFormatError, path);
    m_framesPerPacket = header->frames_per_packet;
    if (m_framesPerPacket < 1 || m_framesPerPacket > kMostFramesPerPacket)
        throw CAudioError(EAudioErrc::CannotReadHeader, kHeaderError, path);
    // Anything else on the first page is not ours to decode.
    while (ogg_stream_packetout(m_stream.Get(), &packet) == 1) {
    }
    if (!NextPacket(packet))
        throw CAudioError(EAudioErrc::CannotReadHeader, kHeaderError, path);
    const auto info =
        SpeexComment::Parse(packet.packet, static_cast<std::size_t>(packet.bytes), capacity);
    if (!info)
        throw CAudioError(EAudioErrc::CannotReadHeader, kHeaderError, path);
    m_info = *info;
    // The pages after the ones that held the headers are the audio; the sync may hold some of
    // them already.
    const ogg_sync_state* sync = m_sync.Get();
    m_audioStart = static_cast<std::uint64_t>(std::ftell(m_file.get())) -
                   static_cast<std::uint64_t>(sync->fill - sync->returned);
}

void CSpeexDecoder::Close()
{
    m_info.clear();
    m_file.reset();
    m_bits.Reset();
    m_state.reset();
    m_stream.Reset();
    m_sync.Reset();
    m_ended = true;
    m_pending.clear();
    m_pendingAt = 0;
}

// The next complete page with a valid checksum; false at the end of the file. Bytes that are
// not a page are skipped by libogg, so every turn of the loop consumes input.
bool CSpeexDecoder::NextPage(ogg_page& page)
{
    for (;;) {
        const int result = ogg_sync_pageout(m_sync.Get(), &page);
        if (result == 1)
            return true;
        if (result < 0)
            continue;
        char* buffer = ogg_sync_buffer(m_sync.Get(), kReadStep);
        if (!buffer)
            return false;
        const std::size_t got = std::fread(buffer, 1, kReadStep, m_file.get());
        if (got == 0)
            return false;
        ogg_sync_wrote(m_sync.Get(), static_cast<long>(got));
    }
}

// The next whole packet of our stream; false at the end of the file. Pages of another stream
// are not taken in, and a packet lost in a gap is skipped rather than returned half.
bool CSpeexDecoder::NextPacket(ogg_packet& packet)
{
    for (;;) {
        const int result = ogg_stream_packetout(m_stream.Get(), &packet);
        if (result == 1)
            return true;
        if (result < 0)
            continue;
        ogg_page page;
        do {
            if (!NextPage(page))
                return false;
        } while (ogg_stream_pagein(m_stream.Get(), &page) != 0);
    }
}

SDecoded CSpeexDecoder::Read(std::span<std::uint8_t> buffer)
{
    const std::size_t size = buffer.size();
    std::memset(buffer.data(), 0x80, size);
    std::size_t delivered = 0;
    while (delivered < size) {
        if (m_pendingAt < m_pending.size()) {
            const std::size_t n = std::min(size - delivered, m_pending.size() - m_pendingAt);
            std::memcpy(buffer.data() + delivered, m_pending.data() + m_pendingAt, n);
            m_pendingAt += n;
            delivered += n;
            continue;
        }
        ogg_packet packet;
        if (m_ended || !NextPacket(packet) || packet.e_o_s) {
            m_ended = true;
            break;
        }
        DecodePacket(packet);
    }
    return {delivered, m_ended && m_pendingAt == m_pending.size()};
}

// One packet into its frames of 8-bit samples: the high byte of each 16-bit sample with its
// top bit inverted. A frame the decoder rejects is silence, so the timing stays.
void CSpeexDecoder::DecodePacket(const ogg_packet& packet)
{
    const std::size_t frame = static_cast<std::size_t>(m_frameSize);
    m_pending.assign(frame * static_cast<std::size_t>(m_framesPerPacket), 0x80);
    m_pendingAt = 0;
    speex_bits_read_from(m_bits.Get(), reinterpret_cast<const char*>(packet.packet),
                         static_cast<int>(packet.bytes));
    for (std::size_t f = 0; f < static_cast<std::size_t>(m_framesPerPacket); ++f) {
        if (speex_decode_int(m_state.get(), m_bits.Get(), m_output.data()) != 0)
            continue;
        std::uint8_t* out = m_pending.data() + f * frame;
        for (std::size_t i = 0; i < frame; ++i)
            out[i] =
                static_cast<std::uint8_t>((static_cast<std::uint16_t>(m_output[i]) >> 8) ^ 0x80);
    }
}

std::uint32_t CSpeexDecoder::GetLength()
{
    if (!m_file || !m_stream.Live())
        return 0;
    const int fd = ::fileno(m_file.get());
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0)
        return 0;
    const std::optional<std::uint64_t> samples =
        RecordLength::Samples({RecordLength::ECodec::Ogg, m_audioStart, 0,
                               static_cast<std::uint32_t>(m_stream.Get()->serialno)},
                              fd, static_cast<std::uint64_t>(status.st_size));
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(samples.value_or(0), std::numeric_limits<std::uint32_t>::max()));
}
