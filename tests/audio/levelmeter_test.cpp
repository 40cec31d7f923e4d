#include "audio/levelmeter.h"
#include "audio/leveltrail.h"
#include "support/casename.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct SPeakCase
{
    const char* name;
    std::vector<std::uint8_t> samples;
    int bits;
    float peak;
};

class LevelPeak : public ::testing::TestWithParam<SPeakCase>
{
};

TEST_P(LevelPeak, IsTheLargestDeviationFromSilence)
{
    const SPeakCase& c = GetParam();
    EXPECT_NEAR(CLevelMeter::Peak(c.samples.data(), c.samples.size(), c.bits), c.peak, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LevelPeak,
    ::testing::Values(SPeakCase{"silence_of_8_bits_is_128", {128, 128, 128}, 8, 0.0f},
                      SPeakCase{"the_low_extreme_counts_too", {128, 0, 140}, 8, 1.0f},
                      SPeakCase{"half_scale_8_bits", {128, 192, 100}, 8, 0.5f},
                      SPeakCase{"minus_32768_clamped", {0x00, 0x80, 0x00, 0x00}, 16, 1.0f},
                      SPeakCase{"a_trailing_odd_byte_ignored", {0x00, 0x40, 0xFF}, 16, 0.5f},
                      SPeakCase{"no_samples", {}, 16, 0.0f}),
    testsupport::SByName());

TEST(LevelMeter, ShowsALoudMomentAtOnceAndForgetsItAfterTwoWindows)
{
    CLevelMeter meter;
    meter.Start(8, 8000); // windows of 800 samples
    const std::vector<std::uint8_t> loud(160, 255);
    const std::vector<std::uint8_t> quiet(160, 128);
    meter.Add(loud.data(), loud.size());
    EXPECT_NEAR(meter.Level(), 1.0f, 0.01);
    for (int chunk = 0; chunk < 8; ++chunk) // to just before the end of the next window
        meter.Add(quiet.data(), quiet.size());
    EXPECT_NEAR(meter.Level(), 1.0f, 0.01) << "the window before still held it";
    meter.Add(quiet.data(), quiet.size());
    EXPECT_EQ(meter.Level(), 0.0f);
    meter.Add(loud.data(), loud.size());
    meter.Start(8, 8000);
    EXPECT_EQ(meter.Level(), 0.0f) << "a new run starts silent";
}

// The trail keeps each window's peak in order, however the samples arrive, and gives the
// most recent ones only, also once the ring has wrapped.
TEST(LevelTrail, GivesThePeaksOfTheLatestWindowsInOrder)
{
    CLevelTrail trail;
    trail.Start(8, 8000); // windows of 200 samples
    EXPECT_TRUE(trail.Recent(10).empty());
    std::vector<std::uint8_t> samples;
    for (std::size_t window = 0; window < CLevelTrail::kCapacity + 3; ++window)
        samples.insert(samples.end(), 200, static_cast<std::uint8_t>(128 + window % 100));
    for (std::size_t at = 0; at < samples.size(); at += 130) // fragments across windows
        trail.Add(samples.data() + at, std::min<std::size_t>(130, samples.size() - at));
    EXPECT_EQ(trail.Windows(), CLevelTrail::kCapacity + 3);
    const std::vector<float> recent = trail.Recent(3);
    ASSERT_EQ(recent.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t window = CLevelTrail::kCapacity + i;
        EXPECT_NEAR(recent[i], static_cast<float>(window % 100) / 127.0f, 1e-4) << i;
    }
    EXPECT_EQ(trail.Recent(100000).size(), CLevelTrail::kCapacity);
}

} // namespace
