#include "audio/audiomanager.h"
#include "audio/timeleft.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(TimeLeft, TextShowsElapsedAndRemainingTime)
{
    struct Case
    {
        std::int64_t elapsed, left;
        const char* text;
    };
    const Case cases[] = {
        {65, 8000, "01:05 / 02:13:20"},
        {3725, 100000, "1:02:05 / 1d 03:46:40"},
        {0, 0, "00:00 / 00:00:00"},
        {59, 86399, "00:59 / 23:59:59"},
        {3600, 86400, "1:00:00 / 1d 00:00:00"},
        {360000, 10 * 86400 + 1, "100:00:00 / 10d 00:00:01"},
        // The estimate ran out before the storage did: shown as a negative time, not as
        // every field going negative.
        {10, -5, "00:10 / -00:00:05"},
        {10, -90061, "00:10 / -1d 01:01:01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeLeft::FormatUpdateText(c.elapsed, c.left), c.text)
            << c.elapsed << " " << c.left;
}

TEST(TimeLeft, ExtremeValuesStayReadable)
{
    const auto max = std::numeric_limits<std::int64_t>::max();
    const auto min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(TimeLeft::FormatUpdateText(-1, 5), "00:00 / 00:00:05");
    EXPECT_EQ(TimeLeft::FormatUpdateText(max, max).substr(0, 8), "25620477");
    const std::string mostNegative = TimeLeft::FormatUpdateText(0, min);
    EXPECT_EQ(mostNegative.substr(0, 9), "00:00 / -");
    EXPECT_EQ(mostNegative.find('-', 9), std::string::npos);
}

TEST(TimeLeft, FreeBytesBecomeSecondsAtTheFormatsNominalRate)
{
    using TimeLeft::FreeSpaceInSeconds;
    EXPECT_EQ(FreeSpaceInSeconds(1000000, CAudioManager::GetBytesPerSecond(Codec::Pcm, 0)), 127u);
    EXPECT_EQ(FreeSpaceInSeconds(1000000, CAudioManager::GetBytesPerSecond(Codec::Speex, 1)),
              2551u);
    EXPECT_EQ(FreeSpaceInSeconds(1000000, 0), 0u) << "unknown rate";
    EXPECT_EQ(FreeSpaceInSeconds(-4096, 392), 0u);
    EXPECT_EQ(FreeSpaceInSeconds(std::nan(""), 392), 0u);
    EXPECT_EQ(FreeSpaceInSeconds(1e30, 392), 4294967295u);
    EXPECT_EQ(FreeSpaceInSeconds(std::numeric_limits<double>::infinity(), 392), 4294967295u);
}

TEST(TimeLeft, ReserveIsADecimalMillion)
{
    EXPECT_TRUE(TimeLeft::HasRoomToRecord(1000000));
    EXPECT_FALSE(TimeLeft::HasRoomToRecord(999999));
    EXPECT_FALSE(TimeLeft::HasRoomToRecord(0));
}

TEST(AudioManager, BytesPerSecondTable)
{
    const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t> table[] = {
        {Codec::Pcm, 0, 7850},   {Codec::Speex, 1, 392},
        {Codec::Speex, 2, 802},  {Codec::Speex, 3, 1058},
        {Codec::Speex, 4, 1536}, {Codec::Speex, 5, 1962},
        {Codec::Raw, 0, 7680},   {Codec::Speex, 0, 0},
        {Codec::Speex, 6, 0},    {3, 0, 0},
    };
    for (auto [codec, quality, bytes] : table)
        EXPECT_EQ(CAudioManager::GetBytesPerSecond(codec, quality), bytes)
            << codec << "/" << quality;
}
