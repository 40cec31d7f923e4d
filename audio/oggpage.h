#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// One Ogg page found in bytes already read, as libogg's page sync accepts it: the capture
// pattern, a header and a body that lie whole within the bytes, and a checksum that holds.
// Nothing is copied: the page points into the bytes. Pure.
namespace OggPage {

inline constexpr std::uint8_t kContinued = 1;
inline constexpr std::uint8_t kFirst = 2; // beginning of stream
inline constexpr std::uint8_t kLast = 4;  // end of stream

struct SPage
{
    std::size_t length = 0; // header and body
    std::uint8_t version = 0;
    std::uint8_t flags = 0;
    std::int64_t granule = 0;
    std::uint32_t serial = 0;
    std::uint32_t sequence = 0;
    const std::uint8_t* lacing = nullptr; // one value per segment
    std::size_t segments = 0;
    const std::uint8_t* body = nullptr;
    std::size_t bodyLength = 0;
};

// The page that starts at `at` of `size` bytes; nullopt when there is none there.
std::optional<SPage> At(const std::uint8_t* bytes, std::size_t size, std::size_t at);

} // namespace OggPage
