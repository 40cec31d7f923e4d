#include "app/recordbutton.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A record button with a hand-moved clock and free space.
class RecordButton : public ::testing::Test
{
protected:
    RecordButton()
    {
        button.resize(240, 120);
        button.SetClock([this] { return now; });
        button.SetFreeBytesProvider([this] { return freeBytes; });
        button.SetRateProvider([this] { return rate; });
    }

    void TapAt(std::int64_t ms)
    {
        now = ms;
        QTest::mouseClick(&button, Qt::LeftButton);
    }

    std::int64_t now = 10000;
    double freeBytes = 7850.0 * 8000;
    std::uint32_t rate = 7850;
    CRecordButton button;
};

TEST_F(RecordButton, GuardDropsASecondTapWithinTwoSeconds)
{
    QSignalSpy commands(&button, &CRecordButton::RecordCommand);
    TapAt(10000);
    TapAt(11900); // 1.9 s later: dropped
    EXPECT_EQ(commands.count(), 1);
    TapAt(12000); // 2.0 s after the accepted tap
    EXPECT_EQ(commands.count(), 2);
    // A dropped tap does not move the guard: it runs from the last accepted one.
    TapAt(13999);
    EXPECT_EQ(commands.count(), 2);
    TapAt(14000);
    EXPECT_EQ(commands.count(), 3);
}

TEST_F(RecordButton, FirstTapIsAcceptedWhateverTheClockSays)
{
    QSignalSpy commands(&button, &CRecordButton::RecordCommand);
    TapAt(0);
    EXPECT_EQ(commands.count(), 1);
}

TEST_F(RecordButton, CountsDownAndShowsElapsedAndLeft)
{
    button.OnStartRecord();
    EXPECT_TRUE(button.IsRecordingFace());
    EXPECT_TRUE(button.IsTicking());
    EXPECT_EQ(button.SecondsLeft(), 8000);
    EXPECT_EQ(button.ProgressMaximum(), 8000);
    EXPECT_EQ(button.ProgressPosition(), 0);

    now += 1000;
    button.Tick();
    EXPECT_EQ(button.SecondsLeft(), 7999);
    EXPECT_EQ(button.ProgressMaximum(), 7999); // the range follows the countdown
    EXPECT_EQ(button.TimeText(), "00:01 / 02:13:19");

    for (int i = 0; i < 64; ++i) {
        now += 1000;
        button.Tick();
    }
    EXPECT_EQ(button.TimeText(), "01:05 / 02:12:15");
    EXPECT_EQ(button.ProgressPosition(), 65);

    button.OnStopRecord();
    EXPECT_FALSE(button.IsRecordingFace());
    EXPECT_FALSE(button.IsTicking());
    EXPECT_FALSE(button.IsProgressShown());
    EXPECT_TRUE(button.TimeText().isEmpty());
}

TEST_F(RecordButton, StopsByItselfOnlyBelowTheReserve)
{
    QSignalSpy commands(&button, &CRecordButton::RecordCommand);
    button.OnStartRecord();
    freeBytes = 1000000;
    button.Tick();
    EXPECT_EQ(commands.count(), 0);
    const auto left = button.SecondsLeft();
    freeBytes = 999999;
    button.Tick();
    EXPECT_EQ(commands.count(), 1);
    EXPECT_EQ(button.SecondsLeft(), left); // no countdown on the stopping tick
}

TEST_F(RecordButton, LargeStoragesDoNotWrapTheBar)
{
    freeBytes = 7850.0 * 100000; // 100,000 s: beyond a 16-bit range
    button.OnStartRecord();
    now += 3725000;
    button.Tick();
    EXPECT_EQ(button.ProgressMaximum(), 99999);
    EXPECT_EQ(button.ProgressPosition(), 3725);
    EXPECT_EQ(button.TimeText(), "1:02:05 / 1d 03:46:39");
}

TEST_F(RecordButton, ATimeLeftBelowZeroShowsAFullBarAndANegativeText)
{
    // A fast format: the estimate says two seconds while the storage keeps its reserve.
    freeBytes = 1000000;
    rate = 400000;
    button.OnStartRecord();
    for (int i = 0; i < 5; ++i) {
        now += 1000;
        button.Tick();
    }
    EXPECT_EQ(button.SecondsLeft(), -3);
    EXPECT_EQ(button.ProgressMaximum(), 0);
    EXPECT_EQ(button.TimeText(), "00:05 / -00:00:03");
}

TEST_F(RecordButton, UnknownRateGivesNoSeconds)
{
    rate = 0;
    EXPECT_EQ(button.FreeSpaceInSeconds(), 0u);
    rate = 7850;
    freeBytes = 7849;
    EXPECT_EQ(button.FreeSpaceInSeconds(), 0u);
}

TEST_F(RecordButton, KeyboardActivationGoesThroughTheSameGuard)
{
    QSignalSpy commands(&button, &CRecordButton::RecordCommand);
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(commands.count(), 1);
}

} // namespace
