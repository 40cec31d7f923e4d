#include "store/slotchoices.h"

#include <gtest/gtest.h>

namespace {

using Slots = std::array<QString, 4>;
using L = QStringList;

TEST(SlotChoices, DefaultsWithAndWithoutAPriorityGroup)
{
    CSlotChoices choices(L{"Priority", "Projects"});
    choices.Load({});
    EXPECT_EQ(choices.Selection(), (Slots{"Priority", "Contacts", "Task", "None"}));
    EXPECT_EQ(choices.Offered(0), (L{"Priority", "Projects"}));
    EXPECT_EQ(choices.Offered(1), (L{"None", "Contacts", "Projects"}));
    EXPECT_EQ(choices.Offered(3), (L{"None", "Projects"}));

    // Slot 1 falls back to Contacts, which slot 2's default then no longer finds.
    CSlotChoices withoutPriority(L{"Projects"});
    withoutPriority.Load({});
    EXPECT_EQ(withoutPriority.Selection(), (Slots{"Contacts", "None", "Task", "None"}));
}

TEST(SlotChoices, StoredValuesThatAreNoLongerCandidatesFallBack)
{
    CSlotChoices choices(L{"Priority"});
    choices.Load({"Deleted group", "Task", "Task", "Gone"});
    EXPECT_EQ(choices.Selection(), (Slots{"Contacts", "Task", "None", "None"}));
}

TEST(SlotChoices, ACandidateIsOfferedByOneSlotAtATime)
{
    CSlotChoices choices(L{"Priority", "Projects"});
    choices.Load({});
    EXPECT_FALSE(choices.Offered(1).contains("Task"));
    EXPECT_FALSE(choices.Select(1, "Task"));
    EXPECT_EQ(choices.Selected(1), "Contacts");

    ASSERT_TRUE(choices.Select(2, "Projects"));
    for (int slot : {0, 1, 3})
        EXPECT_FALSE(choices.Offered(slot).contains("Projects")) << slot;
    // Task, given up by slot 3, is back everywhere in its canonical place.
    EXPECT_EQ(choices.Offered(0), (L{"Task", "Priority"}));
    EXPECT_EQ(choices.Offered(1), (L{"None", "Task", "Contacts"}));
    EXPECT_EQ(choices.Offered(3), (L{"None", "Task"}));
}

TEST(SlotChoices, NoneReturnsTheItemToItsCanonicalPlacesAndIsNeverOfferedToTheFirstSlot)
{
    CSlotChoices choices(L{"Priority", "Projects", "Rooms"});
    choices.Load({"Priority", "Projects", "Task", "Rooms"});
    EXPECT_EQ(choices.Offered(0), (L{"Contacts", "Priority"}));
    EXPECT_FALSE(choices.Select(0, "None"));
    ASSERT_TRUE(choices.Select(2, "None"));
    EXPECT_EQ(choices.Offered(0), (L{"Task", "Contacts", "Priority"}));
    EXPECT_EQ(choices.Offered(1), (L{"None", "Task", "Contacts", "Projects"}));
    EXPECT_EQ(choices.Offered(3), (L{"None", "Task", "Contacts", "Rooms"}));
    // Giving up several items in any order keeps every list canonical; "None" is shared.
    ASSERT_TRUE(choices.Select(3, "None"));
    ASSERT_TRUE(choices.Select(1, "None"));
    EXPECT_EQ(choices.Offered(2), (L{"None", "Task", "Contacts", "Projects", "Rooms"}));
    EXPECT_EQ(choices.Offered(0), (L{"Task", "Contacts", "Priority", "Projects", "Rooms"}));
}

TEST(SlotChoices, FewerRowsSetTheLaterSlotsToNone)
{
    CSlotChoices choices(L{"Priority"});
    choices.Load({"Priority", "Contacts", "Task", "None"});
    choices.LimitToSlots(2);
    EXPECT_EQ(choices.Selection(), (Slots{"Priority", "Contacts", "None", "None"}));
    EXPECT_TRUE(choices.Offered(1).contains("Task"));
    choices.LimitToSlots(0); // the first slot always stays
    EXPECT_EQ(choices.Selection(), (Slots{"Priority", "None", "None", "None"}));
}

TEST(SlotChoices, GroupsNamedLikeTheFixedKindsAreNotDoubled)
{
    EXPECT_EQ(CSlotChoices(L{"Task", "Priority"}).Candidates(),
              (L{"None", "Task", "Contacts", "Priority"}));
}

} // namespace
