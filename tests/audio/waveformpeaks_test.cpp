#include "audio/waveformpeaks.h"
#include "audiotestsupport.h"

using namespace testsupport;

namespace {

using Ranges = std::vector<SWaveformPeaks::SRange>;

// 250 samples: a bucket rising from 0x80, a loud bucket, one quiet, and 10 samples of a
// fourth; however they arrive, the buckets are the same.
Bytes Signal()
{
    Bytes samples(250, 0x80);
    for (std::size_t i = 0; i < 80; ++i)
        samples[i] = static_cast<std::uint8_t>(0x80 + i);
    samples[100] = 0x10;
    samples[150] = 0xF0;
    samples[245] = 0x70;
    return samples;
}

TEST(WaveformPeaks, BucketsHoldEachStretchsRangeAndColumnsJoinThem)
{
    const Bytes signal = Signal();
    WaveformPeaks::CBuilder builder;
    for (std::size_t at = 0; at < signal.size(); at += 33)
        builder.Add(signal.data() + at, std::min<std::size_t>(33, signal.size() - at));
    const SWaveformPeaks peaks = builder.Take();
    EXPECT_EQ(peaks.totalSamples, 250u);
    EXPECT_EQ(peaks.buckets, (Ranges{{0x80, 0xCF}, {0x10, 0xF0}, {0x80, 0x80}, {0x70, 0x80}}));

    // Two columns over the record: each takes every bucket it touches.
    EXPECT_EQ(peaks.Columns(2), (Ranges{{0x10, 0xF0}, {0x10, 0xF0}}));
    // More columns than buckets: each column lies in one bucket.
    const Ranges fine = peaks.Columns(25, 0, 250);
    ASSERT_EQ(fine.size(), 25u);
    EXPECT_EQ(fine[0], (SWaveformPeaks::SRange{0x80, 0xCF}));
    EXPECT_EQ(fine[24], (SWaveformPeaks::SRange{0x70, 0x80}));
    // Past the record's end there is silence; nothing is asked of no columns or no span.
    EXPECT_EQ(peaks.Columns(2, 240, 400), (Ranges{{0x70, 0x80}, {0x80, 0x80}}));
    EXPECT_TRUE(peaks.Columns(0).empty());
    EXPECT_TRUE(peaks.Columns(3, 100, 100).empty());
}

// The peaks of a record are those of its samples, in both formats.
TEST_F(CAudioTest, PeaksOfARecordFollowItsSamples)
{
    const Bytes speech = SpeechLike(16000, 5);
    for (const int format : {0, 3}) {
        SCOPED_TRACE(format);
        const std::string path = Path(format == 0 ? "memo.wav" : "memo.ogg");
        Record(*m_manager.CreateEncoderOfFormat(format), path, speech);
        const std::optional<SWaveformPeaks> peaks = WaveformPeaks::Compute(m_manager, path);
        ASSERT_TRUE(peaks.has_value());
        const Bytes decoded = DecodeAll(*m_manager.OpenDecoder(path));
        EXPECT_EQ(peaks->totalSamples, decoded.size());
        WaveformPeaks::CBuilder builder;
        builder.Add(decoded.data(), decoded.size());
        const SWaveformPeaks expected = builder.Take();
        if (format == 0) {
            EXPECT_EQ(peaks->buckets, expected.buckets); // PCM is exact
        } else { // without the enhancement: close to what the player hears
            ASSERT_EQ(peaks->buckets.size(), expected.buckets.size());
            int worst = 0;
            for (std::size_t b = 0; b < expected.buckets.size(); ++b)
                worst =
                    std::max(worst, std::abs(peaks->buckets[b].high - expected.buckets[b].high));
            EXPECT_LT(worst, 40);
        }
    }
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(WaveformPeaks::Compute(m_manager, Path("memo.ogg"), &cancel).has_value());
}

} // namespace
