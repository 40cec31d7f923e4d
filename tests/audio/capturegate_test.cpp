#include "audio/capturegate.h"

#include <gtest/gtest.h>

namespace {

using Pieces = std::vector<CCaptureGate::SPiece>;

// Buffers of 8 samples come back one after the other; the gate keeps what lies outside the
// pauses, says where each pause begins (once), and never reaches back before a buffer it has
// already decided.
TEST(CaptureGate, KeepsWhatLiesOutsideThePausesAndAnnouncesEachPauseOnce)
{
    CCaptureGate gate;
    EXPECT_EQ(gate.Decide(0, 8), (Pieces{{0, 8, false}}));
    EXPECT_FALSE(gate.Resume(8)); // not paused

    // A pause inside a buffer, the next buffer wholly paused, a resume inside the third.
    ASSERT_TRUE(gate.Pause(13));
    EXPECT_FALSE(gate.Pause(14));
    EXPECT_TRUE(gate.IsPaused());
    EXPECT_EQ(gate.Decide(8, 8), (Pieces{{0, 5, true}}));
    EXPECT_EQ(gate.Decide(16, 8), Pieces{});
    ASSERT_TRUE(gate.Resume(28));
    EXPECT_FALSE(gate.IsPaused());
    EXPECT_EQ(gate.Decide(24, 8), (Pieces{{4, 4, false}}));

    // A pause behind what was decided starts where the decided samples end; it is
    // announced at the start of the next buffer, even with nothing kept before it.
    ASSERT_TRUE(gate.Pause(30));
    EXPECT_EQ(gate.Decide(32, 8), (Pieces{{0, 0, true}}));
    ASSERT_TRUE(gate.Resume(35)); // the device thread has decided up to 40 already
    EXPECT_EQ(gate.Decide(40, 8), (Pieces{{0, 8, false}}));

    // Two pauses within one buffer, the second still running at its end.
    ASSERT_TRUE(gate.Pause(50));
    ASSERT_TRUE(gate.Resume(52));
    ASSERT_TRUE(gate.Pause(54));
    EXPECT_EQ(gate.Decide(48, 8), (Pieces{{0, 2, true}, {4, 2, true}}));

    gate.Reset();
    EXPECT_FALSE(gate.IsPaused());
    EXPECT_EQ(gate.Decide(0, 4), (Pieces{{0, 4, false}}));
}

} // namespace
