#include "store/namerules.h"

#include <gtest/gtest.h>

namespace {

using NameRules::EKind;
using NameRules::EProblem;

TEST(NameRulesTest, EveryNameThatWouldComeBackAsSomethingElseIsRefused)
{
    const struct
    {
        EKind kind;
        QString name;
        EProblem problem;
    } cases[] = {
        {EKind::Tag, u"Two\nLines"_qs, EProblem::ControlCharacter},
        {EKind::Group, u"Tab\there"_qs, EProblem::ControlCharacter},
        {EKind::Location, u"Cr\rhere"_qs, EProblem::ControlCharacter},
        {EKind::Tag, u"A\u2028B"_qs, EProblem::ControlCharacter},
        {EKind::Group, u"[Tasks]"_qs, EProblem::Brackets},
        {EKind::Group, u"a]b"_qs, EProblem::Brackets},
        {EKind::Tag, u"x[y"_qs, EProblem::Brackets},
        {EKind::Location, u"[Office]"_qs, EProblem::None},
        {EKind::Group, u" Contacts "_qs, EProblem::ReservedGroup},
        {EKind::Group, u"Tasks"_qs, EProblem::None},
        {EKind::Group, u"contacts"_qs, EProblem::None},
        {EKind::Tag, u"Contacts"_qs, EProblem::None},
        {EKind::Location, u"Home~2"_qs, EProblem::Tilde},
        {EKind::Tag, u"x~y"_qs, EProblem::None},
        {EKind::Tag, QString(258, u'a'), EProblem::None},
        {EKind::Tag, QString(259, u'a'), EProblem::TooLong},
        {EKind::Group, QString(256, u'a'), EProblem::None},
        {EKind::Group, QString(257, u'a'), EProblem::TooLong},
        {EKind::Tag, QString(130, u'\u00E9'), EProblem::TooLong}, // 130 letters, 260 bytes
        {EKind::Tag, u"  "_qs + QString(258, u'a') + u"  "_qs, EProblem::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameRules::Check(c.kind, c.name), c.problem) << c.name.toStdString();
        EXPECT_EQ(NameRules::Refusal(c.kind, c.name).isEmpty(), c.problem == EProblem::None);
    }
}

} // namespace
