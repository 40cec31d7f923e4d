#include "store/recordinfoedit.h"
#include "support/casename.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace RecordInfoEdit;

const QString kBlock = u"*ParlantographerInfo*\n[[Tags]]\n[Priority]\nNormal\n[Projects]\nAlpha\n"
                       "[[Tasks]]\nCall\n[[Contacts]]\nCallum\nAnn Lee\n"_qs;

struct SEditCase
{
    const char* name;
    std::function<EResult(QString&)> edit;
    EResult result;
    QString expected; // empty: the block is unchanged
};

class RecordInfoEditTest : public testing::TestWithParam<SEditCase>
{
};

TEST_P(RecordInfoEditTest, ChangesOnlyTheLineItIsAbout)
{
    const SEditCase& c = GetParam();
    QString block = kBlock;
    EXPECT_EQ(c.edit(block), c.result);
    EXPECT_EQ(block, c.expected.isEmpty() ? kBlock : c.expected);
}

const QString kHead = u"*ParlantographerInfo*\n[[Tags]]\n"_qs;

INSTANTIATE_TEST_SUITE_P(
    Edits, RecordInfoEditTest,
    testing::Values(
        SEditCase{"tag of a new group goes right after the Tags header",
                  [](QString& b) { return AddTag(u"Work"_qs, u"Report"_qs, b); }, EResult::Done,
                  kHead + "[Work]\nReport\n[Priority]\nNormal\n[Projects]\nAlpha\n[[Tasks]]\nCall\n"
                          "[[Contacts]]\nCallum\nAnn Lee\n"},
        SEditCase{"tag of a held group becomes its first",
                  [](QString& b) { return AddTag(u"Projects"_qs, u"Beta"_qs, b); }, EResult::Done,
                  kHead + "[Priority]\nNormal\n[Projects]\nBeta\nAlpha\n[[Tasks]]\nCall\n"
                          "[[Contacts]]\nCallum\nAnn Lee\n"},
        SEditCase{"a held tag is not added twice",
                  [](QString& b) { return AddTag(u"Projects"_qs, u"Alpha"_qs, b); },
                  EResult::Done,
                  {}},
        SEditCase{"a tag that would be a group line is refused",
                  [](QString& b) { return AddTag(u"Projects"_qs, u"[x]"_qs, b); },
                  EResult::BadValue,
                  {}},
        SEditCase{"a removed tag leaves its group for the tidy-up",
                  [](QString& b) { return RemoveTag(u"Priority"_qs, u"Normal"_qs, b); },
                  EResult::Done,
                  kHead + "[Priority]\n[Projects]\nAlpha\n[[Tasks]]\nCall\n[[Contacts]]\nCallum\n"
                          "Ann Lee\n"},
        SEditCase{"a tag of another group is not removed",
                  [](QString& b) { return RemoveTag(u"Priority"_qs, u"Alpha"_qs, b); },
                  EResult::NotHeld,
                  {}},
        SEditCase{"removing the task Call leaves the contact Callum alone",
                  [](QString& b) { return RemoveTask(u"Call"_qs, b); }, EResult::Done,
                  kHead + "[Priority]\nNormal\n[Projects]\nAlpha\n[[Tasks]]\n[[Contacts]]\nCallum\n"
                          "Ann Lee\n"},
        SEditCase{"a second task replaces the first",
                  [](QString& b) { return SetTask(u" Plan "_qs, b); }, EResult::Done,
                  kHead + "[Priority]\nNormal\n[Projects]\nAlpha\n[[Tasks]]\nPlan\n[[Contacts]]\n"
                          "Callum\nAnn Lee\n"},
        SEditCase{"a contact is added as the first of its section",
                  [](QString& b) { return AddContact(u"Bo"_qs, b); }, EResult::Done,
                  kHead + "[Priority]\nNormal\n[Projects]\nAlpha\n[[Tasks]]\nCall\n[[Contacts]]\n"
                          "Bo\nCallum\nAnn Lee\n"},
        SEditCase{"a contact is removed by its whole line",
                  [](QString& b) { return RemoveContact(u"Ann Lee"_qs, b); }, EResult::Done,
                  kHead + "[Priority]\nNormal\n[Projects]\nAlpha\n[[Tasks]]\nCall\n[[Contacts]]\n"
                          "Callum\n"},
        SEditCase{"a task is never removed as a contact",
                  [](QString& b) { return RemoveContact(u"Call"_qs, b); },
                  EResult::NotHeld,
                  {}},
        SEditCase{"a contact of two lines is refused",
                  [](QString& b) { return AddContact(u"Two\nLines"_qs, b); },
                  EResult::BadValue,
                  {}},
        SEditCase{"a long contact fits while the text stays in the limit",
                  [](QString& b) { return AddContact(QString(250, u'x'), b); }, EResult::Done,
                  kHead + "[Priority]\nNormal\n[Projects]\nAlpha\n[[Tasks]]\nCall\n[[Contacts]]\n" +
                      QString(250, u'x') + "\nCallum\nAnn Lee\n"}),
    testsupport::SByName());

TEST(RecordInfoEditLimitTest, WhatDoesNotFitIsRefusedWithTheBlockUnchanged)
{
    QString block = kBlock;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(AddContact(QString(250, QChar(u'a' + i)), block), EResult::Done);
    const QString full = block;
    EXPECT_EQ(AddContact(QString(250, u'z'), block), EResult::DoesNotFit);
    EXPECT_EQ(block, full);
    EXPECT_EQ(Message(EResult::DoesNotFit),
              u"Impossible to add this amount of information to the record."_qs);
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
