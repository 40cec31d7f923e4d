#include "audio/oggpage.h"

#include "audio/oggchecksum.h"

#include <cstring>

namespace OggPage {
namespace {

constexpr std::size_t kHeader = 27;

std::uint64_t Le(const std::uint8_t* at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

} // namespace

std::optional<SPage> At(const std::uint8_t* bytes, std::size_t size, std::size_t at)
{
    if (at > size || size - at < kHeader || std::memcmp(bytes + at, "OggS", 4) != 0)
        return std::nullopt;
    const std::uint8_t* header = bytes + at;
    const std::size_t segments = header[26];
    const std::size_t headerLength = kHeader + segments;
    if (size - at < headerLength)
        return std::nullopt;
    std::size_t bodyLength = 0;
    for (std::size_t i = 0; i < segments; ++i)
        bodyLength += header[kHeader + i];
    if (size - at - headerLength < bodyLength)
        return std::nullopt;
    if (OggChecksum::Of(header, headerLength + bodyLength) != Le(header + 22, 4))
        return std::nullopt;
    return SPage{headerLength + bodyLength,
                 header[4],
                 header[5],
                 static_cast<std::int64_t>(Le(header + 6, 8)),
                 static_cast<std::uint32_t>(Le(header + 14, 4)),
                 static_cast<std::uint32_t>(Le(header + 18, 4)),
                 header + kHeader,
                 segments,
                 header + headerLength,
                 bodyLength};
}

} // namespace OggPage
