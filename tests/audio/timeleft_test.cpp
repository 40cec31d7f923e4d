#include "audio/audiomanager.h"
#include "audio/timeleft.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(TimeLeft, TextShowsElapsedAndRemainingTime)
{
    const std::tuple<std::int64_t, std::int64_t, const char*> cases[] = {
        {65, 8000, "01:05 / 02:13:20"},
        {3725, 100000, "1:02:05 / 1d 03:46:40"},
        {0, 0, "00:00 / 00:00:00"},
        {-1, 5, "00:00 / 00:00:05"},
        {59, 86399, "00:59 / 23:59:59"},
        {3600, 86400, "1:00:00 / 1d 00:00:00"},
        {360000, 10 * 86400 + 1, "100:00:00 / 10d 00:00:01"},
        // The estimate ran out before the storage did: one minus sign, not one per field.
        {10, -5, "00:10 / -00:00:05"},
        {10, -90061, "00:10 / -1d 01:01:01"},
    };
    for (auto [elapsed, left, text] : cases)
        EXPECT_EQ(TimeLeft::FormatUpdateText(elapsed, left), text) << elapsed << " " << left;

    const auto max = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(TimeLeft::FormatUpdateText(max, max).substr(0, 8), "25620477");
    const std::string mostNegative =
        TimeLeft::FormatUpdateText(0, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(mostNegative.substr(0, 9), "00:00 / -");
    EXPECT_EQ(mostNegative.find('-', 9), std::string::npos);
}

// Only what lies above the reserve can be recorded: a card with 1.2 MB free holds 25 s of
// PCM, not 152.
TEST(TimeLeft, FreeBytesAboveTheReserveBecomeSecondsAtTheFormatsNominalRate)
{
    using TimeLeft::FreeSpaceInSeconds;
    const std::uint32_t pcm = CAudioManager::GetBytesPerSecond(Codec::Pcm, 0);
    EXPECT_EQ(FreeSpaceInSeconds(1200000, pcm), 25u);
    EXPECT_EQ(FreeSpaceInSeconds(1000000 + 7850, pcm), 1u);
    EXPECT_EQ(FreeSpaceInSeconds(1000000 + 7849, pcm), 0u);
    EXPECT_EQ(FreeSpaceInSeconds(1000000, pcm), 0u);
    EXPECT_EQ(FreeSpaceInSeconds(999999, pcm), 0u);
    EXPECT_EQ(FreeSpaceInSeconds(2000000, CAudioManager::GetBytesPerSecond(Codec::Speex, 1)),
              2551u);
    EXPECT_EQ(FreeSpaceInSeconds(2000000, 0), 0u) << "unknown rate";
    EXPECT_EQ(FreeSpaceInSeconds(-4096, 392), 0u);
    EXPECT_EQ(FreeSpaceInSeconds(std::nan(""), 392), 0u);
    EXPECT_EQ(FreeSpaceInSeconds(1e30, 392), 4294967295u);
    EXPECT_EQ(FreeSpaceInSeconds(std::numeric_limits<double>::infinity(), 392), 4294967295u);
    EXPECT_TRUE(TimeLeft::HasRoomToRecord(1000000));
    EXPECT_FALSE(TimeLeft::HasRoomToRecord(999999));
}
