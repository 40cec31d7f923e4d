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

    void TickSeconds(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            now += 1000;
            button.Tick();
        }
    }

    std::int64_t now = 10000;
    // 8000 s above the reserve.
    double freeBytes = 1e6 + 7850.0 * 8000;
    std::uint32_t rate = 7850;
    CRecordButton button;
    QSignalSpy commands{&button, &CRecordButton::RecordCommand};
};

TEST_F(RecordButton, GuardDropsASecondTapWithinTwoSecondsOfTheLastAcceptedOne)
{
    TapAt(0); // the first tap counts whatever the clock says
    EXPECT_EQ(commands.count(), 1);
    TapAt(1900);
    EXPECT_EQ(commands.count(), 1);
    TapAt(2000);
    EXPECT_EQ(commands.count(), 2);
    TapAt(3999);
    EXPECT_EQ(commands.count(), 2);
    TapAt(4000);
    EXPECT_EQ(commands.count(), 3);
    QTest::keyClick(&button, Qt::Key_Space); // the keyboard meets the same guard
    now = 6000;
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(commands.count(), 4);
}

TEST_F(RecordButton, CountsDownAndShowsElapsedAndLeft)
{
    button.OnStartRecord();
    EXPECT_TRUE(button.IsRecordingFace());
    EXPECT_EQ(button.SecondsLeft(), 8000);
    EXPECT_EQ(button.ProgressMaximum(), 8000);
    TickSeconds(1);
    EXPECT_EQ(button.SecondsLeft(), 7999);
    EXPECT_EQ(button.ProgressMaximum(), 7999); // the range follows the countdown
    EXPECT_EQ(button.TimeText(), "00:01 / 02:13:19");
    TickSeconds(64);
    EXPECT_EQ(button.ProgressPosition(), 65);

    button.OnStopRecord();
    EXPECT_FALSE(button.IsRecordingFace());
    EXPECT_FALSE(button.IsTicking());
    EXPECT_FALSE(button.IsProgressShown());
    EXPECT_TRUE(button.TimeText().isEmpty());
}

TEST_F(RecordButton, LargeStoragesDoNotWrapTheBar)
{
    freeBytes = 1e6 + 7850.0 * 100000; // 100,000 s: beyond a 16-bit range
    button.OnStartRecord();
    now += 3725000;
    button.Tick();
    EXPECT_EQ(button.ProgressMaximum(), 96275);
    EXPECT_EQ(button.ProgressPosition(), 3725);
}

TEST_F(RecordButton, ATimeLeftBelowZeroShowsAFullBar)
{
    // A fast format: the estimate says two seconds while the storage keeps its reserve.
    freeBytes = 1000000 + 800000;
    rate = 400000;
    button.OnStartRecord();
    TickSeconds(5);
    EXPECT_EQ(button.SecondsLeft(), -3);
    EXPECT_EQ(button.ProgressMaximum(), 0);
}

TEST_F(RecordButton, TheLevelMeterFollowsTheInputAndNamesASilentDevice)
{
    double level = 0.0;
    int askedForTheName = 0;
    button.SetLevelProvider([&] { return level; });
    button.SetDeviceTextProvider([&] {
        ++askedForTheName;
        return QString("USB Microphone");
    });
    button.OnStartRecord();
    const auto silentFor = [this](std::int64_t ms) {
        for (std::int64_t t = 0; t < ms; t += CRecordButton::kLevelMs) {
            now += CRecordButton::kLevelMs;
            button.LevelTick();
        }
    };
    silentFor(4950);
    EXPECT_TRUE(button.Hint().isEmpty());
    silentFor(100);
    EXPECT_EQ(button.Hint(), "No sound from USB Microphone");
    silentFor(1000);
    EXPECT_EQ(askedForTheName, 1);
    level = 0.6;
    silentFor(CRecordButton::kLevelMs);
    EXPECT_DOUBLE_EQ(button.Level(), 0.6);
    EXPECT_TRUE(button.Hint().isEmpty());
    button.OnStopRecord();
    EXPECT_FALSE(button.IsTicking());
    EXPECT_LT(button.Level(), 0.0); // no meter on the idle face
}

} // namespace
