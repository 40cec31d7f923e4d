#include "audio/levelmeter.h"
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

} // namespace
