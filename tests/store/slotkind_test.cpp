#include "store/slotkind.h"

#include <gtest/gtest.h>

namespace {

using EType = CSlotKind::EType;

TEST(SlotKind, TheStoredTextDecidesTheKindAndComesBackUnchanged)
{
    const struct
    {
        QString text;
        EType type;
        bool singleChoice;
        bool canAdd;
        bool kindName;
    } cases[] = {
        {u"None"_qs, EType::None, false, false, true},
        {QString(), EType::None, false, false, false}, // nothing stored shows nothing
        {u"Contacts"_qs, EType::Contacts, false, false, true},
        {u"Task"_qs, EType::Task, true, false, true},
        {u"Location"_qs, EType::Location, true, true, true},
        {u"Priority"_qs, EType::TagGroup, false, true, false},
        // A group named "Tasks" holds one choice, as it always has.
        {u"Tasks"_qs, EType::TagGroup, true, true, false},
        // Stored texts are compared exactly: these are groups, not the fixed kinds.
        {u"task"_qs, EType::TagGroup, false, true, false},
        {u" None"_qs, EType::TagGroup, false, true, false},
    };
    for (const auto& c : cases) {
        const CSlotKind kind(c.text);
        const std::string label = '"' + c.text.toStdString() + '"';
        EXPECT_EQ(kind.Type(), c.type) << label;
        EXPECT_EQ(kind.IsSingleChoice(), c.singleChoice) << label;
        EXPECT_EQ(kind.CanAddItems(), c.canAdd) << label;
        EXPECT_EQ(CSlotKind::IsKindName(c.text), c.kindName) << label;
        EXPECT_EQ(kind.Text(), c.text) << label;
        EXPECT_EQ(kind.GroupName(), c.type == EType::TagGroup ? c.text : QString()) << label;
    }
}

} // namespace
