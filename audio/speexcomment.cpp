#include "audio/speexcomment.h"

#include "audio/wavheader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace SpeexComment {

std::string Vendor(const char* version)
{
    char vendor[kLongestVendor + 1];
    std::snprintf(vendor, sizeof vendor, "Encoded with Speex %s", version ? version : "");
    return vendor;
}

std::vector<std::uint8_t> Build(const std::string& vendor, const std::string& info,
                                std::size_t capacity)
{
    const std::size_t v = vendor.size();
    std::vector<std::uint8_t> packet(capacity + v + 28, 0);
    std::uint8_t* p = packet.data();
    WavHeader::PutLe32(p, static_cast<std::uint32_t>(v));
    std::memcpy(p + 4, vendor.data(), v);
    WavHeader::PutLe32(p + 4 + v, 1);
    WavHeader::PutLe32(p + 8 + v, static_cast<std::uint32_t>(capacity + kKeyLength));
    std::memcpy(p + 12 + v, kKey, kKeyLength);
    std::memcpy(p + 28 + v, info.data(), std::min(info.size(), capacity));
    return packet;
}

std::optional<std::string> Parse(const std::uint8_t* packet, std::size_t size, std::size_t capacity)
{
    // Every step checks what is left before it reads, in 64-bit so no count can wrap.
    std::uint64_t at = 0;
    const auto take32 = [&](std::uint32_t& value) {
        if (size - at < 4)
            return false;
        value = WavHeader::GetLe32(packet + at);
        at += 4;
        return true;
    };
    std::uint32_t vendorLength = 0;
    std::uint32_t count = 0;
    if (!take32(vendorLength) || size - at < vendorLength)
        return std::nullopt;
    at += vendorLength;
    if (!take32(count))
        return std::nullopt;
    if (count != 1)
        return std::string();
    std::uint32_t commentLength = 0;
    if (!take32(commentLength) || size - at < commentLength)
        return std::nullopt;
    if (commentLength < kKeyLength || std::memcmp(packet + at, kKey, kKeyLength) != 0)
        return std::string();
    const std::size_t infoLength = std::min<std::size_t>(commentLength - kKeyLength, capacity);
    return std::string(reinterpret_cast<const char*>(packet + at + kKeyLength), infoLength);
}

std::optional<std::string> VendorOf(const std::uint8_t* packet, std::size_t size)
{
    if (size < 4)
        return std::nullopt;
    const std::uint32_t length = WavHeader::GetLe32(packet);
    if (length > kLongestVendor || size - 4 < length)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(packet + 4), length);
}

} // namespace SpeexComment
