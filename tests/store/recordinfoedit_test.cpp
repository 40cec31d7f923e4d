#include "store/recordinfoedit.h"
#include "support/casename.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace RecordInfoEdit;

const QString kHead = u"*ParlantographerInfo*\n[[Tags]]\n"_qs;
const QString kBlock = kHead + u"[Priority]\nNormal\n[Projects]\nAlpha\n[[Tasks]]\nCall\n"
                               "[[Contacts]]\nCallum\nAnn Lee\n"_qs;

// kBlock with its first `from` replaced by `to`.
QString Edited(const QString& from, const QString& to)
{
    QString block = kBlock;
    return block.replace(block.indexOf(from), from.size(), to);
}

struct SEditCase
{
    const char* name;
    std::function<EResult(QString&)> edit;
    EResult result;
    QString expected = kBlock;
};

using RecordInfoEditTest = testing::TestWithParam<SEditCase>;

TEST_P(RecordInfoEditTest, ChangesOnlyTheLineItIsAbout)
{
    QString block = kBlock;
    EXPECT_EQ(GetParam().edit(block), GetParam().result);
    EXPECT_EQ(block, GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Edits, RecordInfoEditTest, testing::Values(
    SEditCase{"tag of a new group goes right after the Tags header",
              [](QString& b) { return AddTag(u"Work"_qs, u"Report"_qs, b); }, EResult::Done,
              Edited(u"[[Tags]]\n"_qs, u"[[Tags]]\n[Work]\nReport\n"_qs)},
    SEditCase{"tag of a held group becomes its first",
              [](QString& b) { return AddTag(u"Projects"_qs, u"Beta"_qs, b); }, EResult::Done,
              Edited(u"[Projects]\n"_qs, u"[Projects]\nBeta\n"_qs)},
    SEditCase{"a held tag is not added twice",
              [](QString& b) { return AddTag(u"Projects"_qs, u"Alpha"_qs, b); }, EResult::Done},
    SEditCase{"a tag that would be a group line is refused",
              [](QString& b) { return AddTag(u"Projects"_qs, u"[x]"_qs, b); }, EResult::BadValue},
    SEditCase{"a removed tag leaves its group for the tidy-up",
              [](QString& b) { return RemoveTag(u"Priority"_qs, u"Normal"_qs, b); }, EResult::Done,
              Edited(u"Normal\n"_qs, {})},
    SEditCase{"a tag of another group is not removed",
              [](QString& b) { return RemoveTag(u"Priority"_qs, u"Alpha"_qs, b); }, EResult::NotHeld},
    SEditCase{"removing the task Call leaves the contact Callum alone",
              [](QString& b) { return RemoveTask(u"Call"_qs, b); }, EResult::Done, Edited(u"Call\n"_qs, {})},
    SEditCase{"a second task replaces the first",
              [](QString& b) { return SetTask(u" Plan "_qs, b); }, EResult::Done, Edited(u"Call\n"_qs, u"Plan\n"_qs)},
    SEditCase{"a contact is added as the first of its section",
              [](QString& b) { return AddContact(u"Bo"_qs, b); }, EResult::Done,
              Edited(u"Callum\n"_qs, u"Bo\nCallum\n"_qs)},
    SEditCase{"a contact is removed by its whole line",
              [](QString& b) { return RemoveContact(u"Ann Lee"_qs, b); }, EResult::Done,
              Edited(u"Ann Lee\n"_qs, {})},
    SEditCase{"a task is never removed as a contact",
              [](QString& b) { return RemoveContact(u"Call"_qs, b); }, EResult::NotHeld},
    SEditCase{"a contact of two lines is refused",
              [](QString& b) { return AddContact(u"Two\nLines"_qs, b); }, EResult::BadValue},
    SEditCase{"a long contact fits while the text stays in the limit",
              [](QString& b) { return AddContact(QString(250, u'x'), b); }, EResult::Done,
              Edited(u"Callum\n"_qs, QString(250, u'x') + u"\nCallum\n"_qs)}),
    testsupport::SByName());
// clang-format on

TEST(RecordInfoEditLimitTest, WhatDoesNotFitIsRefusedWithTheBlockUnchanged)
{
    QString block = kBlock;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(AddContact(QString(250, QChar(u'a' + i)), block), EResult::Done);
    const QString full = block;
    EXPECT_EQ(AddContact(QString(250, u'z'), block), EResult::DoesNotFit);
    EXPECT_EQ(block, full);
}

TEST(RecordInfoEditTidyTest, GroupsLeftWithoutTagsAreDroppedOnSave)
{
    const QString block =
        kHead + "[Empty]\n[Priority]\nNormal\n[Gone]\n\n[[Tasks]]\n[[Contacts]]\n";
    EXPECT_EQ(TidyTags(block), kHead + "[Priority]\nNormal\n\n[[Tasks]]\n[[Contacts]]\n");
    // A block without its sections gets the one an addition needs.
    QString bare = u"*ParlantographerInfo*\n"_qs;
    EXPECT_EQ(AddTask(u"Plan"_qs, bare), EResult::Done);
    EXPECT_EQ(bare, u"*ParlantographerInfo*\n[[Tasks]]\nPlan\n"_qs);
}

} // namespace
