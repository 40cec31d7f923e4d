#include "store/renametrail.h"

#include <gtest/gtest.h>

namespace {

// A name taken over by a newcomer after its owner was renamed away leads nowhere new.
TEST(RenameTrail, FollowsChainsAndNotNewcomersOfARenamedName)
{
    CRenameTrail trail;
    trail.GroupRenamed("Work", "Job");
    trail.GroupRenamed("Work", "Play"); // a new group called Work
    trail.TagRenamed("Job", "Report", "Memo");
    trail.GroupRenamed("Job", "Career");
    trail.TagRenamed("Career", "Memo", "Note");
    EXPECT_EQ(trail.Group("Work"), "Career");
    EXPECT_EQ(trail.Tag("Work", "Report"), "Note");
    EXPECT_EQ(trail.Tag("Work", "Plan"), "Plan");
    EXPECT_EQ(trail.Group("Home"), "Home");
}

// A slot's choices follow its group and tags to their new names; a slot that shows another
// kind now keeps none of them.
TEST(RenameTrail, CarriesASlotsChoicesToTheNamesNow)
{
    CRenameTrail trail;
    trail.GroupRenamed("Work", "Job");
    trail.TagRenamed("Job", "Report", "Memo");
    EXPECT_EQ(trail.ChoicesNow("Work", {"Report", "Gone"}, "Job", {"Call", "Memo"}),
              (QList<bool>{false, true}));
    EXPECT_EQ(trail.ChoicesNow("Contacts", {"Ann"}, "Contacts", {"Ann", "Bo"}),
              (QList<bool>{true, false}));
    EXPECT_FALSE(trail.ChoicesNow("Work", {"Report"}, "Work", {"Report"}).has_value());
}

} // namespace
