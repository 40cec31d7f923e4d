#include "store/namerules.h"

#include <gtest/gtest.h>

namespace {

using enum NameRules::EKind;
using enum NameRules::EProblem;

TEST(NameRulesTest, EveryNameThatWouldComeBackAsSomethingElseIsRefused)
{
    // clang-format off
    for (const auto& [kind, name, problem] :
         std::initializer_list<std::tuple<NameRules::EKind, QString, NameRules::EProblem>>{
        {Tag, u"Two\nLines"_qs, ControlCharacter}, {Group, u"Tab\there"_qs, ControlCharacter},
        {Location, u"Cr\rhere"_qs, ControlCharacter}, {Tag, u"A\u2028B"_qs, ControlCharacter},
        {Group, u"[Tasks]"_qs, Brackets}, {Group, u"a]b"_qs, Brackets}, {Tag, u"x[y"_qs, Brackets},
        {Location, u"[Office]"_qs, None},
        {Group, u" Contacts "_qs, ReservedGroup}, {Group, u"Tasks"_qs, None}, {Group, u"contacts"_qs, None},
        {Tag, u"Contacts"_qs, None},
        {Location, u"Home~2"_qs, Tilde}, {Tag, u"x~y"_qs, None},
        {Tag, QString(258, u'a'), None}, {Tag, QString(259, u'a'), TooLong},
        {Group, QString(256, u'a'), None}, {Group, QString(257, u'a'), TooLong},
        {Tag, QString(130, u'\u00E9'), TooLong}, // 130 letters, 260 bytes
        {Tag, u"  "_qs + QString(258, u'a') + u"  "_qs, None}}) {
        EXPECT_EQ(NameRules::Check(kind, name), problem) << name.toStdString();
        EXPECT_EQ(NameRules::Refusal(kind, name).isEmpty(), problem == None);
    }
    // clang-format on
}

} // namespace
