#include "store/headerinforeader.h"

#include "audio/oggpage.h"
#include "audio/speexcomment.h"
#include "audio/wavheader.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <ogg/ogg.h>
#include <optional>
#include <speex/speex_header.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using SResult = CHeaderInfoReader::SResult;
using EVerdict = CHeaderInfoReader::EVerdict;

SResult Undecided()
{
    return {EVerdict::Undecided, {}, {}};
}
SResult NotARecord()
{
    return {EVerdict::NotARecord, {}, {}};
}
SResult Information(std::string info, const RecordLength::SLayout& layout)
{
    return {EVerdict::Information, std::move(info), layout};
}

// The audio manager's information capacity: every record reserves this many bytes.
constexpr std::size_t kInfoCapacity = 1024;

// What the Speex decoder accepts as the first packet: the tag, the header's size, a
// header that libspeex itself can read, and the one stream format it decodes.
bool IsSpeexHeader(const ogg_packet& packet)
{
    if (packet.bytes < static_cast<long>(sizeof(SpeexHeader)) ||
        std::memcmp(packet.packet, "Speex   ", 8) != 0)
        return false;
    SpeexHeader* header = speex_packet_to_header(reinterpret_cast<char*>(packet.packet),
                                                 static_cast<int>(packet.bytes));
    const bool ours = header != nullptr && header->mode == 0 && header->nb_channels == 1 &&
                      header->rate == 8000 && header->frames_per_packet >= 1 &&
                      header->frames_per_packet <= 10;
    speex_header_free(header);
    return ours;
}

// The codec choice of the audio manager: the last three characters of the path, lower
// case, and the first four bytes.
enum class EKind
{
    Pcm,
    Ogg,
    Neither
};

EKind KindOf(std::string_view path, const unsigned char* bytes, std::size_t size)
{
    if (size < 4)
        return EKind::Neither;
    std::string extension(path.size() >= 3 ? path.substr(path.size() - 3) : path);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::memcmp(bytes, "OggS", 4) == 0 && (extension == "ogg" || extension == "spx"))
        return EKind::Ogg;
    if (std::memcmp(bytes, "RIFF", 4) == 0 && extension == "wav")
        return EKind::Pcm;
    return EKind::Neither;
}

// The PCM decoder's own header parser on the same bytes. A file shorter than the bytes
// read is seen whole, so a refusal is final; otherwise a longer header may lie beyond.
SResult DecidePcm(const unsigned char* bytes, std::size_t size, bool wholeFile)
{
    std::optional<WavHeader::SLayout> layout = WavHeader::Parse(bytes, size, kInfoCapacity);
    if (layout)
        return Information(std::move(layout->info),
                           {RecordLength::ECodec::Pcm, layout->dataStart, layout->dataLength, 0});
    return wholeFile ? NotARecord() : Undecided();
}

// RAII for the two libogg states.
struct SOggStates
{
    ogg_sync_state sync;
    ogg_stream_state stream;
    bool streamReady = false;
    SOggStates() { ogg_sync_init(&sync); }
    ~SOggStates()
    {
        if (streamReady)
            ogg_stream_clear(&stream);
        ogg_sync_clear(&sync);
    }
    SOggStates(const SOggStates&) = delete;
    SOggStates& operator=(const SOggStates&) = delete;
};

// The length of the one packet a page holds whole, as its lacing values say: every value 255
// but the last; nullopt for anything else.
std::optional<std::size_t> OnlyPacket(const OggPage::SPage& page)
{
    if (page.segments == 0 || page.lacing[page.segments - 1] == 255)
        return std::nullopt;
    for (std::size_t i = 0; i + 1 < page.segments; ++i) {
        if (page.lacing[i] != 255)
            return std::nullopt;
    }
    return page.bodyLength;
}

// The length of the first packet of a page, when it ends there.
std::optional<std::size_t> FirstPacket(const OggPage::SPage& page)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < page.segments; ++i) {
        length += page.lacing[i];
        if (page.lacing[i] < 255)
            return length;
    }
    return std::nullopt;
}

std::optional<std::string> CommentInfo(const std::uint8_t* packet, std::size_t size)
{
    return SpeexComment::Parse(packet, size, kInfoCapacity);
}

// The two header pages as the engine writes them, read in place: the Speex header alone on
// the first page (sequence 0), the comment packet first on the next one (sequence 1), both of
// one stream and whole. Whatever is framed otherwise (nullopt) goes through libogg, as the
// decoder reads it, in DecideOgg.
std::optional<SResult> DecideEngineOgg(const unsigned char* bytes, std::size_t size)
{
    const std::optional<OggPage::SPage> first = OggPage::At(bytes, size, 0);
    if (!first || first->version != 0 || first->flags != OggPage::kFirst || first->sequence != 0)
        return std::nullopt;
    const std::optional<std::size_t> header = OnlyPacket(*first);
    if (!header)
        return std::nullopt;
    ogg_packet packet{};
    packet.packet = const_cast<unsigned char*>(first->body);
    packet.bytes = static_cast<long>(*header);
    if (!IsSpeexHeader(packet))
        return std::nullopt;
    const std::optional<OggPage::SPage> second = OggPage::At(bytes, size, first->length);
    if (!second || second->version != 0 || second->flags != 0 || second->serial != first->serial ||
        second->sequence != 1)
        return std::nullopt;
    const std::optional<std::size_t> comment = FirstPacket(*second);
    if (!comment)
        return std::nullopt;
    std::optional<std::string> info = CommentInfo(second->body, *comment);
    if (!info)
        return NotARecord();
    return Information(std::move(*info), {RecordLength::ECodec::Ogg, first->length + second->length,
                                          0, first->serial});
}

// The Speex header page, then the comment page with one packet; the information is the
// single comment's bytes after its first 16 characters. Anything that does not frame
// exactly like that is left to the decoder.
SResult DecideOgg(const unsigned char* bytes, std::size_t size)
{
    if (std::optional<SResult> engine = DecideEngineOgg(bytes, size))
        return std::move(*engine);

    SOggStates ogg;
    char* buffer = ogg_sync_buffer(&ogg.sync, static_cast<long>(size));
    if (buffer == nullptr)
        return Undecided();
    std::memcpy(buffer, bytes, size);
    ogg_sync_wrote(&ogg.sync, static_cast<long>(size));

    ogg_page page;
    if (ogg_sync_pageout(&ogg.sync, &page) != 1 || !ogg_page_bos(&page))
        return Undecided();
    if (ogg_stream_init(&ogg.stream, ogg_page_serialno(&page)) != 0)
        return Undecided();
    ogg.streamReady = true;
    ogg_packet packet;
    if (ogg_stream_pagein(&ogg.stream, &page) != 0 ||
        ogg_stream_packetout(&ogg.stream, &packet) != 1 || !IsSpeexHeader(packet) ||
        ogg_stream_packetout(&ogg.stream, &packet) != 0)
        return Undecided();

    if (ogg_sync_pageout(&ogg.sync, &page) != 1 ||
        ogg_page_serialno(&page) != ogg.stream.serialno ||
        ogg_stream_pagein(&ogg.stream, &page) != 0 ||
        ogg_stream_packetout(&ogg.stream, &packet) != 1)
        return Undecided();
    std::optional<std::string> info =
        CommentInfo(packet.packet, static_cast<std::size_t>(packet.bytes));
    if (!info)
        return NotARecord();
    // The audio pages follow the two pages the sync has handed out.
    return Information(std::move(*info),
                       {RecordLength::ECodec::Ogg, static_cast<std::uint64_t>(ogg.sync.returned), 0,
                        static_cast<std::uint32_t>(ogg.stream.serialno)});
}

} // namespace

CHeaderInfoReader::SResult CHeaderInfoReader::Decide(std::string_view name,
                                                     const unsigned char* bytes, std::size_t size,
                                                     bool wholeFile)
{
    switch (KindOf(name, bytes, size)) {
    case EKind::Pcm:
        return DecidePcm(bytes, size, wholeFile);
    case EKind::Ogg:
        return DecideOgg(bytes, size);
    case EKind::Neither:
        break;
    }
    return NotARecord();
}

CHeaderInfoReader::SResult CHeaderInfoReader::Read(const std::string& path)
{
    // Non-blocking, and only a regular file: a FIFO named like a record would never answer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Undecided();
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return NotARecord();
    }
    unsigned char bytes[kReadBytes];
    std::size_t size = 0;
    while (size < sizeof bytes) {
        const ssize_t got = ::read(fd, bytes + size, sizeof bytes - size);
        if (got < 0) {
            ::close(fd);
            return Undecided();
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return Decide(path, bytes, size, size < sizeof bytes);
}
