#include "store/headerinforeader.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <ogg/ogg.h>
#include <unistd.h>

namespace {

using SResult = CHeaderInfoReader::SResult;
using EVerdict = CHeaderInfoReader::EVerdict;

SResult Undecided()
{
    return {EVerdict::Undecided, {}};
}
SResult NotARecord()
{
    return {EVerdict::NotARecord, {}};
}
SResult Information(std::string info)
{
    return {EVerdict::Information, std::move(info)};
}

std::uint32_t LittleEndian(const unsigned char* bytes, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// The codec choice of the audio manager: the last three characters of the path, lower
// case, and the first four bytes.
enum class EKind
{
    Pcm,
    Ogg,
    Neither
};

EKind KindOf(const std::string& path, const unsigned char* bytes, std::size_t size)
{
    if (size < 4)
        return EKind::Neither;
    std::string extension = path.size() >= 3 ? path.substr(path.size() - 3) : path;
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::memcmp(bytes, "OggS", 4) == 0 && extension == "ogg")
        return EKind::Ogg;
    if (std::memcmp(bytes, "RIFF", 4) == 0 && extension == "wav")
        return EKind::Pcm;
    return EKind::Neither;
}

// "fmt " at 12, the 16 format bytes, then either "data" or a 16-bit count and that many
// information bytes followed by "data" and its 4-byte length.
SResult DecidePcm(const unsigned char* bytes, std::size_t size, bool wholeFile)
{
    const auto have = [&](std::size_t end) {
        return end <= size;
    };
    const auto failsOrUndecided = [&] {
        return wholeFile ? NotARecord() : Undecided(); // short file: the decoder fails too
    };
    if (!have(16))
        return failsOrUndecided();
    if (std::memcmp(bytes + 12, "fmt ", 4) != 0)
        return NotARecord();
    if (!have(40))
        return failsOrUndecided();
    std::size_t dataAt = 36;
    std::string info;
    if (std::memcmp(bytes + 36, "data", 4) != 0) {
        const std::size_t count = LittleEndian(bytes + 36, 2);
        dataAt = 38 + count;
        if (!have(dataAt + 8))
            return failsOrUndecided();
        info.assign(reinterpret_cast<const char*>(bytes + 38), count);
    }
    if (!have(dataAt + 8))
        return failsOrUndecided();
    if (std::memcmp(bytes + dataAt, "data", 4) != 0)
        return NotARecord();
    return Information(std::move(info));
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

// The Speex header page, then the comment page with one packet; the information is the
// single comment's bytes after its first 16 characters. Anything that does not frame
// exactly like that is left to the decoder.
SResult DecideOgg(const unsigned char* bytes, std::size_t size)
{
    SOggStates ogg;
    char* buffer = ogg_sync_buffer(&ogg.sync, static_cast<long>(size));
    if (buffer == nullptr)
        return Undecided();
    std::memcpy(buffer, bytes, size);
    ogg_sync_wrote(&ogg.sync, static_cast<long>(size));

    ogg_page page;
    if (ogg_sync_pageout(&ogg.sync, &page) != 1 || ogg_page_pageno(&page) != 0 ||
        !ogg_page_bos(&page))
        return Undecided();
    if (ogg_stream_init(&ogg.stream, ogg_page_serialno(&page)) != 0)
        return Undecided();
    ogg.streamReady = true;
    ogg_packet packet;
    if (ogg_stream_pagein(&ogg.stream, &page) != 0 ||
        ogg_stream_packetout(&ogg.stream, &packet) != 1 || packet.bytes < 80 ||
        std::memcmp(packet.packet, "Speex   ", 8) != 0 ||
        ogg_stream_packetout(&ogg.stream, &packet) != 0)
        return Undecided();

    if (ogg_sync_pageout(&ogg.sync, &page) != 1 || ogg_page_pageno(&page) != 1 ||
        ogg_stream_pagein(&ogg.stream, &page) != 0 ||
        ogg_stream_packetout(&ogg.stream, &packet) != 1)
        return Undecided();
    const auto* comment = packet.packet;
    const auto length = static_cast<std::size_t>(packet.bytes);
    if (length < 8)
        return Undecided();
    const std::size_t vendor = LittleEndian(comment, 4);
    if (vendor > length - 8)
        return Undecided();
    if (LittleEndian(comment + 4 + vendor, 4) != 1)
        return Information({});
    if (vendor + 12 > length)
        return Undecided();
    const std::size_t commentLength = LittleEndian(comment + 8 + vendor, 4);
    if (commentLength < 16 || commentLength > length - 12 - vendor)
        return Undecided();
    return Information(
        std::string(reinterpret_cast<const char*>(comment + 28 + vendor), commentLength - 16));
}

} // namespace

CHeaderInfoReader::SResult CHeaderInfoReader::Decide(const std::string& path,
                                                     const unsigned char* bytes, std::size_t size,
                                                     bool wholeFile)
{
    switch (KindOf(path, bytes, size)) {
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Undecided();
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
