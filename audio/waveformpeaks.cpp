#include "audio/waveformpeaks.h"

#include "audio/audiomanager.h"
#include "audio/basedecoder.h"

#include <algorithm>
#include <memory>
#include <utility>

std::vector<SWaveformPeaks::SRange> SWaveformPeaks::Columns(std::size_t columns, std::uint64_t from,
                                                            std::uint64_t to) const
{
    std::vector<SRange> out;
    if (columns == 0 || from >= to)
        return out;
    out.reserve(columns);
    const double span = static_cast<double>(to - from) / static_cast<double>(columns);
    for (std::size_t c = 0; c < columns; ++c) {
        const auto start = from + static_cast<std::uint64_t>(span * static_cast<double>(c));
        auto end = from + static_cast<std::uint64_t>(span * static_cast<double>(c + 1));
        end = std::max(end, start + 1);
        SRange range;
        const std::uint64_t first = start / kBucketSamples;
        const std::uint64_t last =
            std::min<std::uint64_t>((end - 1) / kBucketSamples + 1, buckets.size());
        bool any = false;
        for (std::uint64_t b = first; b < last; ++b) {
            const SRange& bucket = buckets[static_cast<std::size_t>(b)];
            range.low = any ? std::min(range.low, bucket.low) : bucket.low;
            range.high = any ? std::max(range.high, bucket.high) : bucket.high;
            any = true;
        }
        out.push_back(range);
    }
    return out;
}

namespace WaveformPeaks {

void CBuilder::Add(const std::uint8_t* samples, std::size_t count)
{
    for (std::size_t i = 0; i < count;) {
        if (m_inBucket == 0)
            m_peaks.buckets.push_back({0xFF, 0x00});
        SWaveformPeaks::SRange& bucket = m_peaks.buckets.back();
        const std::size_t n =
            std::min<std::size_t>(count - i, SWaveformPeaks::kBucketSamples - m_inBucket);
        const auto [low, high] = std::minmax_element(samples + i, samples + i + n);
        bucket.low = std::min(bucket.low, *low);
        bucket.high = std::max(bucket.high, *high);
        i += n;
        m_inBucket = static_cast<std::uint32_t>((m_inBucket + n) % SWaveformPeaks::kBucketSamples);
        m_peaks.totalSamples += n;
    }
}

SWaveformPeaks CBuilder::Take()
{
    m_inBucket = 0;
    return std::exchange(m_peaks, {});
}

std::optional<SWaveformPeaks> Compute(const CAudioManager& audio, const std::string& path,
                                      const std::atomic<bool>* cancel)
{
    const std::unique_ptr<CBaseDecoder> decoder = audio.CreateDecoder(audio.GetSuitableCodec(path));
    decoder->PreferSpeed();
    decoder->Open(path, audio);
    std::vector<std::uint8_t> block(audio.BytesPerSecondOfDevice());
    CBuilder builder;
    for (bool end = false; !end;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            decoder->Close();
            return std::nullopt;
        }
        const SDecoded read = decoder->Read(block);
        builder.Add(block.data(), read.size);
        end = read.end || read.size == 0;
    }
    decoder->Close();
    return builder.Take();
}

} // namespace WaveformPeaks
