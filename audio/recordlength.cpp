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
            const std::optional<OggPage::SPage> page =
                OggPage::At(window.data(), window.size(), at);
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
