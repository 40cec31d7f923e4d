#include "store/slotrules.h"

#include <array>
#include <gtest/gtest.h>

namespace {

using L = QStringList;

TEST(SlotRules, OnlyFixedKindsAndListedGroupsExist)
{
    const L groups{"Priority", "Work"};
    for (const QString& kind : {u"Task"_qs, u"Location"_qs, u"Contacts"_qs, u"Priority"_qs})
        EXPECT_FALSE(SlotRules::IsMissing(kind, groups)) << kind.toStdString();
    for (const QString& kind : {QString(), u"Deleted"_qs, u"None"_qs, u"task"_qs})
        EXPECT_TRUE(SlotRules::IsMissing(kind, groups)) << kind.toStdString();
}

TEST(SlotRules, AKindOtherThanNoneStandsInOneSlot)
{
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
    const struct
    {
        int slot;
        QString kind;
        L earlier;
        L groups;
        QString withoutMissing;
        QString repaired;
    } cases[] = {
        {0, u"Gone"_qs, {}, withoutPriority, u"Contacts"_qs, u"Contacts"_qs},
        {0, QString(), {}, withPriority, u"Priority"_qs, u"Priority"_qs},
        {0, u"None"_qs, {}, withoutPriority, u"None"_qs, u"Contacts"_qs},
        {1, QString(), {"Work"}, withPriority, u"None"_qs, u"None"_qs},
        {2, u"Work"_qs, {"Work", "None"}, withPriority, u"Work"_qs, u"None"_qs},
        {3, u"None"_qs, {"Work", "None", "None"}, withPriority, u"None"_qs, u"None"_qs},
        {3, u"Location"_qs, {"Work", "Task", "Contacts"}, L{}, u"Location"_qs, u"Location"_qs},
    };
    for (const auto& c : cases) {
        const std::string label = std::to_string(c.slot) + " \"" + c.kind.toStdString() + '"';
        EXPECT_EQ(SlotRules::WithoutMissing(c.slot, c.kind, c.groups), c.withoutMissing) << label;
        EXPECT_EQ(SlotRules::Repaired(c.slot, c.kind, c.earlier, c.groups), c.repaired) << label;
    }
}

} // namespace
