// Slot kinds, the rules of which kind stands where, and the settings dialog's slot lists.

#include "store/slotchoices.h"
#include "store/slotkind.h"
#include "store/slotrules.h"

#include <array>
#include <gtest/gtest.h>

namespace {

using EType = CSlotKind::EType;
using L = QStringList;
using Slots = std::array<QString, 4>;

TEST(SlotKind, TheStoredTextDecidesTheKindAndComesBackUnchanged)
{
    // Stored texts are compared exactly: "task" and " None" are groups, not the fixed kinds;
    // nothing stored shows nothing; a group named "Tasks" is a group like any other, of many
    // choices.
    // clang-format off
    for (const auto& [text, type, singleChoice, canAdd, kindName] :
         std::initializer_list<std::tuple<QString, EType, bool, bool, bool>>{
        {u"None"_qs, EType::None, false, false, true}, {QString(), EType::None, false, false, false},
        {u"Contacts"_qs, EType::Contacts, false, false, true}, {u"Task"_qs, EType::Task, true, false, true},
        {u"Location"_qs, EType::Location, true, true, true}, {u"Priority"_qs, EType::TagGroup, false, true, false},
        {u"Tasks"_qs, EType::TagGroup, false, true, false}, {u"task"_qs, EType::TagGroup, false, true, false},
        {u" None"_qs, EType::TagGroup, false, true, false}}) {
        // clang-format on
        SCOPED_TRACE('"' + text.toStdString() + '"');
        const CSlotKind kind(text);
        EXPECT_EQ(kind.Type(), type);
        EXPECT_EQ(kind.IsSingleChoice(), singleChoice);
        EXPECT_EQ(kind.CanAddItems(), canAdd);
        EXPECT_EQ(CSlotKind::IsKindName(text), kindName);
        EXPECT_EQ(kind.Text(), text);
        EXPECT_EQ(kind.GroupName(), type == EType::TagGroup ? text : QString());
    }
}

TEST(SlotRules, OnlyFixedKindsAndListedGroupsExistAndEachButNoneStandsInOneSlot)
{
    const L groups{"Priority", "Work"};
    for (const QString& kind : {u"Task"_qs, u"Location"_qs, u"Contacts"_qs, u"Priority"_qs})
        EXPECT_FALSE(SlotRules::IsMissing(kind, groups)) << kind.toStdString();
    for (const QString& kind : {QString(), u"Deleted"_qs, u"None"_qs, u"task"_qs})
        EXPECT_TRUE(SlotRules::IsMissing(kind, groups)) << kind.toStdString();

    const std::array<QString, 4> kinds{"Task", "None", "Work", "None"};
    EXPECT_EQ(SlotRules::ShownElsewhere(kinds, 2, "Task"), 0);
    EXPECT_EQ(SlotRules::ShownElsewhere(kinds, 0, "Task"), -1); // its own slot
    EXPECT_EQ(SlotRules::ShownElsewhere(kinds, 3, "None"), -1); // any number may show "None"
    EXPECT_EQ(SlotRules::ShownElsewhere(kinds, 0, "work"), -1);
}

// The tag manager only replaces what is missing; the main screen also takes a kind away
// from a later slot that repeats it and never leaves the first slot empty.
TEST(SlotRules, RepairReplacesMissingThenRepeatedKinds)
{
    const L withPriority{"Priority", "Work"};
    const L withoutPriority{"Work"};
    // clang-format off
    for (const auto& [slot, kind, earlier, groups, withoutMissing, repaired] :
         std::initializer_list<std::tuple<int, QString, L, L, QString, QString>>{
        {0, u"Gone"_qs, {}, withoutPriority, u"Contacts"_qs, u"Contacts"_qs},
        {0, QString(), {}, withPriority, u"Priority"_qs, u"Priority"_qs},
        {0, u"None"_qs, {}, withoutPriority, u"None"_qs, u"Contacts"_qs},
        {1, QString(), {"Work"}, withPriority, u"None"_qs, u"None"_qs},
        {2, u"Work"_qs, {"Work", "None"}, withPriority, u"Work"_qs, u"None"_qs},
        {3, u"None"_qs, {"Work", "None", "None"}, withPriority, u"None"_qs, u"None"_qs},
        {3, u"Location"_qs, {"Work", "Task", "Contacts"}, L{}, u"Location"_qs, u"Location"_qs}}) {
        // clang-format on
        SCOPED_TRACE(std::to_string(slot) + " \"" + kind.toStdString() + '"');
        EXPECT_EQ(SlotRules::WithoutMissing(slot, kind, groups), withoutMissing);
        EXPECT_EQ(SlotRules::Repaired(slot, kind, earlier, groups), repaired);
    }
}

TEST(SlotChoices, DefaultsAndFallBacksWithAndWithoutAPriorityGroup)
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
    // Stored values that are no longer candidates fall back the same way.
    CSlotChoices stale(L{"Priority"});
    stale.Load({"Deleted group", "Task", "Task", "Gone"});
    EXPECT_EQ(stale.Selection(), (Slots{"Contacts", "Task", "None", "None"}));
    // A group named like a fixed kind is not offered twice.
    EXPECT_EQ(CSlotChoices(L{"Task", "Priority"}).Candidates(),
              (L{"None", "Task", "Contacts", "Priority"}));
}

TEST(SlotChoices, ACandidateIsOfferedByOneSlotAtATime)
{
    CSlotChoices choices(L{"Priority", "Projects"});
    choices.Load({});
    EXPECT_FALSE(choices.Offered(1).contains("Task"));
    EXPECT_FALSE(choices.Select(1, "Task"));
    EXPECT_EQ(choices.Selected(1), "Contacts");

    // Projects, taken by slot 3, leaves the other lists; Task, which slot 3 gives up, is back
    // everywhere in its canonical place.
    ASSERT_TRUE(choices.Select(2, "Projects"));
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

} // namespace
