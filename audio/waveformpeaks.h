#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CAudioManager;

// A record's waveform as the lowest and highest sample of each stretch of kBucketSamples:
// small enough to keep for many records (10 minutes take 120 KB), fine enough for any width
// a window draws it at. Samples are the engine's unsigned 8-bit values (0x80 is silence).
struct SWaveformPeaks
{
    static constexpr std::uint32_t kBucketSamples = 80; // 10 ms

    // The lowest and highest sample of one stretch.
    struct SRange
    {
        std::uint8_t low = 0x80;
        std::uint8_t high = 0x80;
        bool operator==(const SRange&) const = default;
    };

    std::uint64_t totalSamples = 0;
    // One per bucket; the last bucket may hold fewer samples.
    std::vector<SRange> buckets;

    // The samples [from, to) of the record in `columns` equal parts, each part's range: the
    // waveform drawn one range per pixel column. A part between two buckets takes both; a
    // part past the record's end is silence. Empty when `columns` is 0 or from >= to.
    std::vector<SRange> Columns(std::size_t columns, std::uint64_t from, std::uint64_t to) const;
    // The whole record in `columns` parts.
    std::vector<SRange> Columns(std::size_t columns) const
    {
        return Columns(columns, 0, totalSamples);
    }
};

namespace WaveformPeaks {

// The peaks of the samples of a stream, fed in order.
class CBuilder
{
public:
    void Add(const std::uint8_t* samples, std::size_t count);
    SWaveformPeaks Take();

private:
    SWaveformPeaks m_peaks;
    std::uint32_t m_inBucket = 0;
};

// Decodes the record at `path` (with the codec's faster decoding where it has one) into its
// peaks. Throws CAudioError as the manager's OpenDecoder does. nullopt when `cancel` turned
// true meanwhile. Any thread: it opens a decoder of its own.
std::optional<SWaveformPeaks> Compute(const CAudioManager& audio, const std::string& path,
                                      const std::atomic<bool>* cancel = nullptr);

} // namespace WaveformPeaks
