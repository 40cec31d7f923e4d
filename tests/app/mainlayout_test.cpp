#include "app/mainlayout.h"
#include "support/casename.h"

#include <gtest/gtest.h>

namespace {

using Kinds = std::array<QString, 4>;
const Kinds kAllInUse{"Priority", "Contacts", "Task", "Work"};

struct SRowsCase
{
    const char* name;
    int height;
    int rows;
    int rowHeight;
};

class LayoutRows : public ::testing::TestWithParam<SRowsCase>
{
};

TEST_P(LayoutRows, FollowTheDesignedHeightsAndTheLargestBelowOthers)
{
    const auto rows = MainLayout::RowsForHeight(GetParam().height);
    EXPECT_EQ(rows.count, GetParam().rows);
    EXPECT_EQ(rows.height, GetParam().rowHeight);
}

INSTANTIATE_TEST_SUITE_P(Heights, LayoutRows,
                         ::testing::Values(SRowsCase{"below_240_no_row", 239, 0, 0},
                                           SRowsCase{"from_240_one_small_row", 240, 1, 80},
                                           SRowsCase{"up_to_319_one_small_row", 319, 1, 80},
                                           SRowsCase{"from_320_two_small_rows", 320, 2, 80},
                                           SRowsCase{"from_480_two_large_rows", 480, 2, 100},
                                           SRowsCase{"up_to_639_two_large_rows", 639, 2, 100},
                                           SRowsCase{"from_640_four_rows", 640, 4, 100},
                                           SRowsCase{"never_more_than_four", 1440, 4, 100}),
                         testsupport::SByName());

TEST(MainLayout, MarginFromTheWidth)
{
    const auto layout = MainLayout::Compute(240, 320, kAllInUse, 52);
    for (const QRect& rect : {layout.slotRects[0], layout.recordButton}) {
        EXPECT_EQ(rect.left(), 8);
        EXPECT_EQ(rect.x() + rect.width(), 232);
    }
    EXPECT_EQ(MainLayout::Margin(480), 10 + 470 % 16);
}

TEST(MainLayout, NoneSlotsGiveTheirRowsToTheSlotAbove)
{
    const auto layout = MainLayout::Compute(480, 640, {"Priority", "None", "Task", "None"}, 104);
    EXPECT_EQ(layout.shown, (std::array<bool, 4>{true, false, true, false}));
    EXPECT_EQ(layout.slotRects[0].y(), 10);
    EXPECT_EQ(layout.slotRects[0].height(), 200);
    EXPECT_EQ(layout.slotRects[2].y(), 220);
    EXPECT_EQ(layout.slotRects[2].height(), 200);
    EXPECT_TRUE(layout.slotRects[1].isEmpty());

    const auto alone = MainLayout::Compute(240, 320, {"Priority", "None", "None", "None"}, 52);
    EXPECT_EQ(alone.slotRects[0].height(), 160);
    // The button fills the rest: y = (80 + 10) x 2 + 5; height = 320 - 52 - 185 - 5.
    EXPECT_EQ(alone.recordButton.y(), 185);
    EXPECT_EQ(alone.recordButton.height(), 78);
}

TEST(MainLayout, SlotsBeyondTheRowsAreHiddenWhateverTheirKind)
{
    const auto layout = MainLayout::Compute(240, 240, kAllInUse, 52);
    EXPECT_EQ(layout.shown, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(layout.slotRects[0].height(), 80);
    const auto none = MainLayout::Compute(240, 200, kAllInUse, 52);
    EXPECT_FALSE(none.shown[0]);
    EXPECT_EQ(none.recordButton.y(), 5);

    const Kinds kinds{"Priority", "Contacts", "None", "Task"};
    EXPECT_TRUE(MainLayout::IsSlotVisible(1, 480, kinds));
    EXPECT_FALSE(MainLayout::IsSlotVisible(2, 640, kinds)); // "None"
    EXPECT_TRUE(MainLayout::IsSlotVisible(3, 640, kinds));
    EXPECT_FALSE(MainLayout::IsSlotVisible(3, 480, kinds));
    EXPECT_FALSE(MainLayout::IsSlotVisible(1, 240, kinds));
    EXPECT_FALSE(MainLayout::IsSlotVisible(4, 640, kinds));
}

// Up to just below the pane's width the window is as it was: one centred column. From it the
// recorder keeps the layout of a 480-pixel window at the left and the pane takes the rest.
TEST(MainLayout, FromTheDesktopWidthThePaneStandsBesideTheRecorder)
{
    const auto narrow = MainLayout::Compute(MainLayout::kPaneFrom - 1, 800, kAllInUse, 30);
    EXPECT_TRUE(narrow.pane.isEmpty());
    EXPECT_NEAR(narrow.recordButton.center().x(), (MainLayout::kPaneFrom - 1) / 2, 2);

    const auto wide = MainLayout::Compute(1280, 800, kAllInUse, 30);
    const auto column = MainLayout::Compute(480, 800, kAllInUse, 30);
    EXPECT_EQ(wide.slotRects, column.slotRects);
    EXPECT_EQ(wide.recordButton, column.recordButton);
    EXPECT_EQ(wide.pane, QRect(480, 0, 800, 770));
}

} // namespace
