#include "store/recordinfo.h"
#include "store/recordinfoedit.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace RecordInfoEdit;
using enum EResult;

const QString kHead = u"*ParlantographerInfo*\n[[Tags]]\n"_qs;
const QString kBlock = kHead + u"[Priority]\nNormal\n[Projects]\nAlpha\n[[Tasks]]\nCall\n"
                               "[[Contacts]]\nCallum\nAnn Lee\n"_qs;

// kBlock with its first `from` replaced by `to`.
QString Edited(const QString& from, const QString& to)
{
    QString block = kBlock;
    return block.replace(block.indexOf(from), from.size(), to);
}

// Each case: the edit, its result, and the block after it (unchanged unless given).
TEST(RecordInfoEditTest, ChangesOnlyTheLineItIsAbout)
{
    struct SEdit
    {
        const char* what;
        std::function<EResult(QString&)> edit;
        EResult result;
        QString expected = kBlock;
    };
    // clang-format off
    for (const SEdit& c : {
        SEdit{"tag of a new group goes right after the Tags header",
                  std::bind_front(AddTag, u"Work"_qs, u"Report"_qs), Done,
                  Edited(u"[[Tags]]\n"_qs, u"[[Tags]]\n[Work]\nReport\n"_qs)},
        SEdit{"tag of a held group becomes its first",
                  std::bind_front(AddTag, u"Projects"_qs, u"Beta"_qs), Done,
                  Edited(u"[Projects]\n"_qs, u"[Projects]\nBeta\n"_qs)},
        SEdit{"a held tag is not added twice", std::bind_front(AddTag, u"Projects"_qs, u"Alpha"_qs), Done},
        SEdit{"a tag that would be a group line is refused",
                  std::bind_front(AddTag, u"Projects"_qs, u"[x]"_qs), BadValue},
        SEdit{"a removed tag leaves its group for the tidy-up",
                  std::bind_front(RemoveTag, u"Priority"_qs, u"Normal"_qs), Done,
                  Edited(u"Normal\n"_qs, {})},
        SEdit{"a tag of another group is not removed",
                  std::bind_front(RemoveTag, u"Priority"_qs, u"Alpha"_qs), NotHeld},
        SEdit{"removing the task Call leaves the contact Callum alone",
                  std::bind_front(RemoveTask, u"Call"_qs), Done, Edited(u"Call\n"_qs, {})},
        SEdit{"a second task replaces the first",
                  std::bind_front(SetTask, u" Plan "_qs), Done, Edited(u"Call\n"_qs, u"Plan\n"_qs)},
        SEdit{"a contact is added as the first of its section",
                  std::bind_front(AddContact, u"Bo"_qs), Done, Edited(u"Callum\n"_qs, u"Bo\nCallum\n"_qs)},
        SEdit{"a contact is removed by its whole line",
                  std::bind_front(RemoveContact, u"Ann Lee"_qs), Done, Edited(u"Ann Lee\n"_qs, {})},
        SEdit{"a task is never removed as a contact", std::bind_front(RemoveContact, u"Call"_qs), NotHeld},
        SEdit{"a contact of two lines is refused", std::bind_front(AddContact, u"Two\nLines"_qs), BadValue},
        SEdit{"a long contact fits while the text stays in the limit",
                  std::bind_front(AddContact, QString(250, u'x')), Done,
                  Edited(u"Callum\n"_qs, QString(250, u'x') + u"\nCallum\n"_qs)}}) {
        // clang-format on
        QString block = kBlock;
        EXPECT_EQ(c.edit(block), c.result) << c.what;
        EXPECT_EQ(block, c.expected) << c.what;
    }
}

TEST(RecordInfoEditLimitTest, WhatDoesNotFitIsRefusedWithTheBlockUnchanged)
{
    QString block = kBlock;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(AddContact(QString(250, QChar(u'a' + i)), block), Done);
    const QString full = block;
    EXPECT_EQ(AddContact(QString(250, u'z'), block), DoesNotFit);
    EXPECT_EQ(block, full);
}

TEST(RecordInfoEditTidyTest, GroupsLeftWithoutTagsAreDroppedOnSave)
{
    const QString block =
        kHead + "[Empty]\n[Priority]\nNormal\n[Gone]\n\n[[Tasks]]\n[[Contacts]]\n";
    EXPECT_EQ(TidyTags(block), kHead + "[Priority]\nNormal\n\n[[Tasks]]\n[[Contacts]]\n");
    // A block without its sections gets the one an addition needs.
    QString bare = u"*ParlantographerInfo*\n"_qs;
    EXPECT_EQ(AddTask(u"Plan"_qs, bare), Done);
    EXPECT_EQ(bare, u"*ParlantographerInfo*\n[[Tasks]]\nPlan\n"_qs);
}

// What the readers make of a block: the task it is filed under, every task, every contact, and
// every group with its tags.
struct SReadersView
{
    QString task;
    QStringList tasks;
    QStringList contacts;
    QList<QPair<QString, QStringList>> tags;
    bool operator==(const SReadersView&) const = default;
};

SReadersView Read(const QString& block)
{
    SReadersView view{{}, RecordInfo::SectionLines(block, RecordInfo::kTasksHeader), {}, {}};
    QStringList task;
    RecordInfo::ListRecordTask(task, block, {});
    view.task = task.value(0);
    RecordInfo::ListRecordContacts(view.contacts, block);
    QStringList groups;
    RecordInfo::ListRecordGroups(groups, block);
    for (const QString& group : groups) {
        QStringList tags;
        RecordInfo::ListRecordTagsOfGroup(tags, group, block);
        view.tags.append({group, tags});
    }
    return view;
}

// Damaged blocks a fuzzer found, on which the editor and the readers once disagreed: an edit
// reported done must show to the readers exactly as made, and nothing else may change.
TEST(RecordInfoEditDamageTest, TheReadersSeeExactlyTheEditOnDamagedBlocks)
{
    const QString marker = u"*ParlantographerInfo*"_qs;
    // Setting the task under a Tasks header with a third bracket, and after a task line that a
    // control character ends right before the Contacts header: the contact stays.
    for (const QString& damaged :
         {marker + u"\n[[Tags]]\n[[Tasks]]]\nOld\n[[Contacts]]\nAnn\n"_qs,
          marker + u"\n[[Tags]]\n[[Tasks]]\nCall\u000E[[Contacts]]\nAnn\n"_qs}) {
        SCOPED_TRACE(damaged.toStdString());
        QString block = damaged;
        SReadersView expected = Read(block);
        ASSERT_EQ(expected.contacts, QStringList{u"Ann"_qs});
        ASSERT_EQ(SetTask(u"Call Bob"_qs, block), Done);
        expected.task = u"Call Bob"_qs;
        expected.tasks = QStringList{u"Call Bob"_qs};
        EXPECT_EQ(Read(block), expected);
    }
    {
        SCOPED_TRACE("a damaged marker line, then damaged section headers");
        QString block = marker + u"[[Tags]]\n[[Tags]\n[P]\nx\n[[Tasks\nT\n[[Contacts]]]\nAnn\n"_qs;
        SReadersView expected = Read(block);
        ASSERT_EQ(AddTag(u"P"_qs, u"y"_qs, block), Done);
        ASSERT_EQ(AddContact(u"Bo"_qs, block), Done);
        expected.tags = {{u"P"_qs, {u"y"_qs}}};
        expected.contacts.prepend(u"Bo"_qs);
        EXPECT_EQ(Read(block), expected);
    }
}

} // namespace
