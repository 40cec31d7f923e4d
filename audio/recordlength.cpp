#include "audio/recordlength.h"

#include "audio/oggpage.h"
#include "audio/wavheader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace RecordLength {
namespace {

// The longest page Ogg allows: a header with 255 lacing values of 255 bytes each.
constexpr std::size_t kLongestPage = 27 + 255 + 255 * 255;

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

// The granule of the last page of the stream that starts before `end` in `window` (which holds
// `size` bytes; a page may run on past `end`), or nullopt when none does.
std::optional<std::uint64_t> LastGranuleIn(const std::uint8_t* window, std::size_t size,
                                           std::size_t end, std::uint32_t serial)
{
    while (end > 0) {
        const void* found = ::memrchr(window, 'O', end);
        if (!found)
            break;
        const auto at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - window);
        const std::optional<OggPage::SPage> page = OggPage::At(window, size, at);
        if (page && page->serial == serial && page->granule >= 0)
            return static_cast<std::uint64_t>(page->granule);
        end = at;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> LastGranule(const SLayout& layout, int fd, std::uint64_t fileSize)
{
    if (fileSize <= layout.audioStart)
        return 0;
    // The first block answers for every record made here: it is read onto the stack.
    std::uint8_t first[kFirstBlock];
    std::uint64_t high =
        fileSize - std::min<std::uint64_t>(kFirstBlock, fileSize - layout.audioStart);
    const auto firstSize = static_cast<std::size_t>(fileSize - high);
    if (!ReadAt(fd, first, firstSize, high))
        return std::nullopt;
    if (const std::optional<std::uint64_t> granule =
            LastGranuleIn(first, firstSize, firstSize, layout.serial))
        return granule;
    // Then further back, block by block. The window holds the bytes from the start of the block
    // read last; a page that starts in a block may run on into the bytes read before it.
    std::vector<std::uint8_t> window(first, first + firstSize);
    while (high > layout.audioStart) {
        const std::uint64_t low = high - std::min<std::uint64_t>(kBlock, high - layout.audioStart);
        const auto fresh = static_cast<std::size_t>(high - low);
        const std::size_t kept = std::min(window.size(), kLongestPage);
        std::vector<std::uint8_t> next(fresh + kept);
        if (!ReadAt(fd, next.data(), fresh, low))
            return std::nullopt;
        std::copy_n(window.begin(), kept, next.begin() + static_cast<std::ptrdiff_t>(fresh));
        window = std::move(next);
        if (const std::optional<std::uint64_t> granule =
                LastGranuleIn(window.data(), window.size(), fresh, layout.serial))
            return granule;
        high = low;
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
