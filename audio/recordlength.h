#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// A record's length in samples from its header and its last page, never by decoding. Every
// reader of a length goes through Samples: the decoders' GetLength (and so `info`, the
// editor, the playback and the export), the record lists, the browser and the record dates.
//
// - PCM: the data chunk's length field, or what the file holds past the header when that is
//   less (a record never closed keeps the unknown length; a truncated copy claims more).
// - Speex in Ogg: the granule position of the stream's last complete page, found by reading
//   backwards from the file's end: first kFirstBlock bytes, which hold the last page of any
//   record made here however long it is, then blocks of kBlock bytes until a page of the
//   stream answers or the header pages are reached. Pages of other streams, pages that end
//   no packet (granule -1), broken pages and a page cut short by a crash are passed over.
//   A stream without audio pages is 0 samples long.
namespace RecordLength {

enum class ECodec
{
    Pcm,
    Ogg,
};

// What a record's header says about where its audio lies.
struct SLayout
{
    ECodec codec = ECodec::Pcm;
    // PCM: the offset of the first sample. Ogg: the offset right after the page that ends the
    // header packets; no page before it counts.
    std::uint64_t audioStart = 0;
    // PCM: the data-length field as stored.
    std::uint32_t dataLength = 0;
    // Ogg: the stream's serial number, as its first page gives it.
    std::uint32_t serial = 0;
};

// The recorder ends a page with every second it writes; at its highest quality such a page is
// 1,977 bytes. The tail is copied from memory the processor has not seen, so a larger first
// block costs every listing.
inline constexpr std::size_t kFirstBlock = 2048;
inline constexpr std::size_t kBlock = 65536;

// The samples of the record open as `fd` (read with pread only, so a caller's file position
// stays where it was) whose file is `fileSize` bytes long. nullopt when a read fails.
std::optional<std::uint64_t> Samples(const SLayout& layout, int fd, std::uint64_t fileSize);

// Whole seconds of `samples` at `sampleRate`, rounded to the nearest and at least 1: a Speex
// stream's last granule leaves out the codec's look-ahead, so a memo recorded for two seconds
// holds a few samples less than that. Pure.
std::uint32_t Seconds(std::uint64_t samples, std::uint32_t sampleRate);

} // namespace RecordLength
