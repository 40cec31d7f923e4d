#include "audio/recordlength.h"

#include "audio/wavheader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <ogg/ogg.h>
#include <unistd.h>
#include <vector>

namespace RecordLength {
namespace {

constexpr std::size_t kPageHeader = 27;
// The longest page Ogg allows: a header with 255 lacing values of 255 bytes each.
constexpr std::size_t kLongestPage = kPageHeader + 255 + 255 * 255;

std::uint64_t Le(const std::uint8_t* at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

// All `size` bytes from `offset`; false when a read fails or the file ends first (it shrank).
bool ReadAt(int fd, std::uint8_t* to, std::size_t size, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, to + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

struct SPage
{
    std::uint32_t serial;
    std::int64_t granule;
};

// The page that starts at `at` when it lies whole within `bytes` and its checksum holds, as
// libogg's own page sync accepts it.
std::optional<SPage> PageAt(const std::uint8_t* bytes, std::size_t size, std::size_t at)
{
    if (size - at < kPageHeader || std::memcmp(bytes + at, "OggS", 4) != 0)
        return std::nullopt;
    const std::size_t segments = bytes[at + 26];
    const std::size_t headerLength = kPageHeader + segments;
    if (size - at < headerLength)
        return std::nullopt;
    std::size_t bodyLength = 0;
    for (std::size_t i = 0; i < segments; ++i)
        bodyLength += bytes[at + kPageHeader + i];
    if (size - at - headerLength < bodyLength)
        return std::nullopt;
    // libogg computes the checksum in place; the copy of the header takes it.
    std::array<unsigned char, kPageHeader + 255> header;
    std::memcpy(header.data(), bytes + at, headerLength);
    ogg_page page{header.data(), static_cast<long>(headerLength),
                  const_cast<unsigned char*>(bytes + at + headerLength),
                  static_cast<long>(bodyLength)};
    ogg_page_checksum_set(&page);
    if (std::memcmp(header.data() + 22, bytes + at + 22, 4) != 0)
        return std::nullopt;
    return SPage{static_cast<std::uint32_t>(Le(bytes + at + 14, 4)),
                 static_cast<std::int64_t>(Le(bytes + at + 6, 8))};
}

std::optional<std::uint64_t> LastGranule(const SLayout& layout, int fd, std::uint64_t fileSize)
{
    // The bytes from the start of the block read last; a page that starts in a block may run
    // on into the bytes read before it.
    std::vector<std::uint8_t> window;
    std::uint64_t high = fileSize; // every page that starts from here on has been looked at
    std::size_t block = kFirstBlock;
    while (high > layout.audioStart) {
        const std::uint64_t low = high - std::min<std::uint64_t>(block, high - layout.audioStart);
        const auto fresh = static_cast<std::size_t>(high - low);
        const std::size_t kept = std::min(window.size(), kLongestPage);
        std::vector<std::uint8_t> next(fresh + kept);
        if (!ReadAt(fd, next.data(), fresh, low))
            return std::nullopt;
        std::copy_n(window.begin(), kept, next.begin() + static_cast<std::ptrdiff_t>(fresh));
        window = std::move(next);
        for (std::size_t end = fresh; end > 0;) {
            const void* found = ::memrchr(window.data(), 'O', end);
            if (!found)
                break;
            const auto at =
                static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - window.data());
            const std::optional<SPage> page = PageAt(window.data(), window.size(), at);
            if (page && page->serial == layout.serial && page->granule >= 0)
                return static_cast<std::uint64_t>(page->granule);
            end = at;
        }
        high = low;
        block = kBlock;
    }
    return 0;
}

} // namespace

std::optional<std::uint64_t> Samples(const SLayout& layout, int fd, std::uint64_t fileSize)
{
    if (layout.codec == ECodec::Pcm)
        return WavHeader::SamplesPresent({{}, layout.audioStart, layout.dataLength}, fileSize);
    return LastGranule(layout, fd, fileSize);
}

std::uint32_t Seconds(std::uint64_t samples, std::uint32_t sampleRate)
{
    const std::uint64_t seconds = (samples + sampleRate / 2) / sampleRate;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(seconds, 1, 0xFFFFFFFF));
}

} // namespace RecordLength
