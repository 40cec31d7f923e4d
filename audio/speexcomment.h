#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The comment packet of a Speex record, as pure functions over bytes. All lengths are
// little-endian 32-bit:
//   0       V        vendor length
//   4       V bytes  vendor string
//   4+V     1        number of comments
//   8+V     C        comment length = capacity + 16
//   12+V    16 bytes "BINARY_COVERART="
//   28+V    capacity information area: the information from its start, the rest zero
namespace SpeexComment {

inline constexpr char kKey[] = "BINARY_COVERART=";
inline constexpr std::size_t kKeyLength = 16;
inline constexpr std::size_t kLongestVendor = 63;

// The vendor string for a library version ("Encoded with Speex 1.2.1"), at most 63 characters.
std::string Vendor(const char* version);

std::vector<std::uint8_t> Build(const std::string& vendor, const std::string& info,
                                std::size_t capacity);

// The information of a comment packet: the single comment's bytes after the key, cut to
// `capacity`; empty when the packet holds any other number of comments or a comment that
// does not start with the key (another encoder's own comment is never information).
// nullopt when a length points outside the packet.
std::optional<std::string> Parse(const std::uint8_t* packet, std::size_t size,
                                 std::size_t capacity);

// The vendor string of a comment packet; nullopt when its length points outside the packet
// or past kLongestVendor.
std::optional<std::string> VendorOf(const std::uint8_t* packet, std::size_t size);

} // namespace SpeexComment
