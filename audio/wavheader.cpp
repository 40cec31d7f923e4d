#include "audio/wavheader.h"

#include <algorithm>
#include <cstring>

namespace WavHeader {

namespace {

void PutLe16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t GetLe16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

bool TagAt(const std::uint8_t* bytes, std::size_t size, std::size_t offset, const char* tag)
{
    const std::size_t length = std::strlen(tag);
    return offset <= size && size - offset >= length &&
           std::memcmp(bytes + offset, tag, length) == 0;
}

// The PCM fields of the format chunk: tag, channels, rate, and bits per sample.
bool IsRecordFormat(const std::uint8_t* bytes)
{
    return GetLe16(bytes + 20) == 1 && GetLe16(bytes + 22) == 1 && GetLe32(bytes + 24) == 8000 &&
           GetLe16(bytes + 34) == 8;
}

} // namespace

void PutLe32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLe32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::vector<std::uint8_t> Build(const std::string& info, std::size_t capacity,
                                const SFormat& format)
{
    std::vector<std::uint8_t> header(HeaderSize(capacity), 0);
    std::uint8_t* h = header.data();
    std::memcpy(h, "RIFF", 4);
    PutLe32(h + 4, kUnknownLength);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    PutLe32(h + 16, static_cast<std::uint32_t>(capacity + 18));
    PutLe16(h + 20, 1);
    PutLe16(h + 22, format.channels);
    PutLe32(h + 24, format.sampleRate);
    PutLe32(h + 28, format.bitsPerSample * format.channels * format.sampleRate / 8);
    PutLe16(h + 32, static_cast<std::uint16_t>(format.bitsPerSample * format.channels / 8));
    PutLe16(h + 34, format.bitsPerSample);
    PutLe16(h + 36, static_cast<std::uint16_t>(capacity));
    std::memcpy(h + kInfoOffset, info.data(), std::min(info.size(), capacity));
    std::memcpy(h + DataTagOffset(capacity), "data", 4);
    PutLe32(h + DataLengthOffset(capacity), kUnknownLength);
    return header;
}

bool HasRecordLayout(const std::uint8_t* header, std::size_t size, std::size_t capacity)
{
    return size >= HeaderSize(capacity) && TagAt(header, size, 0, "RIFF") &&
           TagAt(header, size, 8, "WAVEfmt ") && IsRecordFormat(header) &&
           GetLe32(header + 16) == capacity + 18 && GetLe16(header + 36) == capacity &&
           TagAt(header, size, DataTagOffset(capacity), "data");
}

std::optional<SLayout> Parse(const std::uint8_t* bytes, std::size_t size, std::size_t capacity)
{
    if (!TagAt(bytes, size, 0, "RIFF") || !TagAt(bytes, size, 8, "WAVE") ||
        !TagAt(bytes, size, 12, "fmt ") || size < 36 || !IsRecordFormat(bytes))
        return std::nullopt;
    // The chunk size is not trusted: the extension's own count says where "data" is.
    std::size_t at = 12 + 4 + 4 + 16;
    SLayout layout{};
    if (!TagAt(bytes, size, at, "data")) {
        if (size - std::min(size, at) < 2)
            return std::nullopt;
        const std::size_t count = GetLe16(bytes + at);
        at += 2;
        if (size - at < count)
            return std::nullopt;
        layout.info.assign(reinterpret_cast<const char*>(bytes + at), std::min(count, capacity));
        at += count;
    }
    if (!TagAt(bytes, size, at, "data") || size - at < 8)
        return std::nullopt;
    layout.dataLength = GetLe32(bytes + at + 4);
    layout.dataStart = at + 8;
    return layout;
}

bool HasOtherFormat(const std::uint8_t* bytes, std::size_t size)
{
    return size >= 36 && TagAt(bytes, size, 0, "RIFF") && TagAt(bytes, size, 8, "WAVEfmt ") &&
           GetLe32(bytes + 16) >= 16 && !IsRecordFormat(bytes);
}

std::uint64_t SamplesPresent(const SLayout& layout, std::uint64_t fileSize)
{
    const std::uint64_t available = fileSize > layout.dataStart ? fileSize - layout.dataStart : 0;
    return std::min<std::uint64_t>(layout.dataLength, available);
}

} // namespace WavHeader
