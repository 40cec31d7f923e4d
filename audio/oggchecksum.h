#pragma once

#include <cstddef>
#include <cstdint>

// The checksum of an Ogg page (header and body, `length` bytes in all) with the header's own
// checksum field counted as zeros: the value the page must carry. Pure.
//
// Listing records checks every header page and the last page of each Speex memo; on a
// processor with carry-less multiplication the bytes are folded sixteen at a time, several
// times faster than libogg's tables, and the answer is the same.
namespace OggChecksum {

std::uint32_t Of(const std::uint8_t* page, std::size_t length);

// The same through libogg alone, whatever the processor: what the folding is held to.
std::uint32_t ByLibogg(const std::uint8_t* page, std::size_t length);

} // namespace OggChecksum
