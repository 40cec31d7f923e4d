#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The RIFF/WAVE header of a PCM record, as pure functions over bytes.
//
// A record's header is 46 bytes plus the information area: the information rides in the
// extension bytes of the format chunk, so with a 1024-byte area the header is 1070 bytes,
// "data" sits at 1062 and the samples start at 1070. Both length fields hold
// kUnknownLength until the record is closed.
namespace WavHeader {

inline constexpr std::uint32_t kUnknownLength = 0x7FFFFFFF;
// RIFF tag, length, "WAVE", "fmt ", chunk size, 16 PCM bytes, cbSize: 38 bytes before the area.
inline constexpr std::size_t kInfoOffset = 38;
// The longest header a reader must look at: the area's 16-bit count bounds it.
inline constexpr std::size_t kLongestHeader = kInfoOffset + 0xFFFF + 8;

struct SFormat
{
    std::uint32_t sampleRate = 8000;
    std::uint16_t bitsPerSample = 8;
    std::uint16_t channels = 1;
};

inline constexpr std::size_t HeaderSize(std::size_t capacity)
{
    return capacity + 46;
}
inline constexpr std::size_t DataTagOffset(std::size_t capacity)
{
    return capacity + kInfoOffset;
}
inline constexpr std::size_t DataLengthOffset(std::size_t capacity)
{
    return capacity + 42;
}

// The header a record gets at Open: both lengths unknown, the area filled from the start of
// `info` (at most `capacity` bytes), the rest zero.
std::vector<std::uint8_t> Build(const std::string& info, std::size_t capacity,
                                const SFormat& format);

// Whether `header` (the first bytes of an existing file) has exactly the layout that Build
// writes for `capacity`, so that a new header may replace it without touching a sample.
bool HasRecordLayout(const std::uint8_t* header, std::size_t size, std::size_t capacity);

struct SLayout
{
    std::string info;         // the area's bytes, cut to the reader's capacity
    std::size_t dataStart;    // offset of the first sample
    std::uint32_t dataLength; // the data-length field as stored
};

// Reads the header at the start of a file: "RIFF", "WAVE", a "fmt " chunk at 12 whose PCM
// fields say 8 kHz, 8-bit mono PCM, an optional counted extension (the information), then
// "data" straight after. nullopt when any of it is missing, runs past `size`, or the
// format is another one (HasOtherFormat tells that case apart).
std::optional<SLayout> Parse(const std::uint8_t* bytes, std::size_t size, std::size_t capacity);

// True when the bytes hold a complete "fmt " chunk at 12 that describes anything but 8 kHz,
// 8-bit mono PCM (another rate, stereo, 16-bit, an extensible or compressed format). Such
// samples would be measured and played as if they were ours.
bool HasOtherFormat(const std::uint8_t* bytes, std::size_t size);

// Samples really present: the stored length, unless the file is shorter than that (a record
// never closed keeps kUnknownLength; a truncated copy claims more than it holds). A shorter
// data chunk followed by other chunks keeps its own length.
std::uint64_t SamplesPresent(const SLayout& layout, std::uint64_t fileSize);

void PutLe32(std::uint8_t* at, std::uint32_t value);
std::uint32_t GetLe32(const std::uint8_t* at);

} // namespace WavHeader
