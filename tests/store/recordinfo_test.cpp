#include "store/recordinfo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using RecordInfo::SSlotSelection;

namespace {

const QByteArray kEmptyBlock = "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\n[[Contacts]]\n";

const QString kProjectsBlock = u"*ParlantographerInfo*\n[[Tags]]\n[Priority]\nImportant\n"
                               "[Projects]\nAlpha\nBeta\n[[Tasks]]\nCall back\n"
                               "[[Contacts]]\nAnn Lee\n"_qs;

SSlotSelection Slot(const QString& kind, const QStringList& items, const QList<bool>& selected,
                    bool visible = true)
{
    return SSlotSelection{kind, items, selected, visible};
}

QByteArray Text(const QByteArray& area)
{
    return area.left(area.indexOf('\0'));
}

// One contact slot with every item selected.
SSlotSelection Contacts(const QStringList& names)
{
    return Slot(u"Contacts"_qs, names, QList<bool>(names.size(), true));
}

TEST(ComposeTest, NothingSelectedGivesTheBareBlock)
{
    const auto area = RecordInfo::ComposeRecordInfo(
        {Slot(u"Priority"_qs, {u"Important"_qs, u"Normal"_qs}, {false, false}),
         Slot(u"None"_qs, {}, {})});
    ASSERT_TRUE(area);
    EXPECT_EQ(area->size(), RecordInfo::kAreaSize);
    EXPECT_EQ(kEmptyBlock.size(), 54);
    EXPECT_EQ(Text(*area), kEmptyBlock);
    EXPECT_EQ(area->count('\0'), RecordInfo::kAreaSize - 54);
}

TEST(ComposeTest, TheWorkedExample)
{
    const auto area = RecordInfo::ComposeRecordInfo({
        Slot(u"Priority"_qs, {u"Important"_qs, u"Normal"_qs}, {true, false}),
        Slot(u"Projects"_qs, {u"Alpha"_qs, u"Gamma"_qs, u"Beta"_qs}, {true, false, true}),
        Slot(u"Task"_qs, {u"  Call back "_qs}, {true}),
        Contacts({u"Ann Lee"_qs}),
    });
    ASSERT_TRUE(area);
    EXPECT_EQ(Text(*area), kProjectsBlock.toUtf8());
}

TEST(ComposeTest, SkipsHiddenNoneAndLocationSlotsAndEmptyEntries)
{
    const auto area = RecordInfo::ComposeRecordInfo({
        Slot(u"Priority"_qs, {u"Important"_qs}, {true}, false),
        Slot(u"Location"_qs, {u"Office"_qs}, {true}), Slot(u"None"_qs, {u"x"_qs}, {true}),
        Slot(u"Projects"_qs, {u"   "_qs}, {true}),       // selected, but nothing to store
        Slot(u"Task"_qs, {u"a\nb"_qs, u"c"_qs}, {true}), // missing flag: not selected
    });
    ASSERT_TRUE(area);
    EXPECT_EQ(Text(*area), QByteArray("*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\na b\n"
                                      "[[Contacts]]\n"));
}

TEST(ComposeTest, TwoSlotsOfOneGroupGiveTwoGroupLines)
{
    const auto area = RecordInfo::ComposeRecordInfo(
        {Slot(u"Projects"_qs, {u"Alpha"_qs}, {true}), Slot(u"Projects"_qs, {u"Beta"_qs}, {true})});
    ASSERT_TRUE(area);
    const QString block = RecordInfo::DecodeRecordInfo(*area);
    EXPECT_TRUE(block.contains(u"[Projects]\nAlpha\n[Projects]\nBeta\n"_qs));
    EXPECT_TRUE(RecordInfo::RecordHasTag(u"Projects"_qs, u"Alpha"_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasTag(u"Projects"_qs, u"Beta"_qs, block));
}

// Three 259-byte contacts bring the text to 834 bytes; a fourth line of n bytes fits while
// 834 + n <= 1020, leaving a text of at most 1021 bytes.
struct SLimitCase
{
    const char* what;
    QString lastContact;
    bool fits;
};

class ComposeLimitTest : public testing::TestWithParam<SLimitCase>
{
};

TEST_P(ComposeLimitTest, RefusesTextPastTheLimit)
{
    const QString full(259, u'c');
    const auto area =
        RecordInfo::ComposeRecordInfo({Contacts({full, full, full, GetParam().lastContact})});
    ASSERT_EQ(area.has_value(), GetParam().fits) << GetParam().what;
    if (area) {
        EXPECT_EQ(area->size(), RecordInfo::kAreaSize);
        EXPECT_EQ(Text(*area).size(), 834 + GetParam().lastContact.toUtf8().size() + 1);
        EXPECT_LE(Text(*area).size(), RecordInfo::kMaxComposedBytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ComposeLimitTest,
    testing::Values(SLimitCase{"ends at 1021 bytes", QString(186, u'x'), true},
                    SLimitCase{"one byte more", QString(187, u'x'), false},
                    SLimitCase{"two-byte letters to 1021", QString(93, u'\u00E9'), true},
                    SLimitCase{"two-byte letters one over", QString(93, u'\u00E9') + u'x', false},
                    SLimitCase{"euro signs to 1021", QString(62, u'\u20AC'), true},
                    SLimitCase{"euro signs over", QString(63, u'\u20AC'), false}));

TEST(ComposeTest, LongEntriesAreCutAtWholeCharacters)
{
    // 130 two-byte letters are 260 bytes: the 259-byte line keeps 129 of them.
    const auto area = RecordInfo::ComposeRecordInfo({Contacts({QString(130, u'\u00E9')})});
    ASSERT_TRUE(area);
    const QString block = RecordInfo::DecodeRecordInfo(*area);
    EXPECT_EQ(RecordInfo::SectionLines(block, RecordInfo::kContactsHeader),
              QStringList{QString(129, u'\u00E9')});
}

TEST(AreaTest, DecodingStopsAtTheFirstZeroAndFallsBackTo1252)
{
    QByteArray area = "*ParlantographerInfo*\n[[Contacts]]\nJos\xE9\n";
    area.append('\0').append("[[Tasks]]\nghost\n").append(1024 - area.size() - 16, '\0');
    const QString block = RecordInfo::DecodeRecordInfo(area);
    EXPECT_TRUE(RecordInfo::HasMarker(area));
    EXPECT_TRUE(RecordInfo::RecordHasContact(u"Jos\u00E9"_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasTask(u"ghost"_qs, block));
    EXPECT_FALSE(RecordInfo::HasMarker(QByteArray(" *ParlantographerInfo*")));
}

TEST(AreaTest, EncodingKeepsOneZeroByte)
{
    EXPECT_EQ(RecordInfo::EncodeRecordInfo(QString(1023, u'a'))->size(), 1024);
    EXPECT_FALSE(RecordInfo::EncodeRecordInfo(QString(1024, u'a')));
    EXPECT_FALSE(RecordInfo::EncodeRecordInfo(QString(512, u'\u00E9')));
}

struct SReaderCase
{
    const char* what;
    QString block;
};

class ReaderTest : public testing::TestWithParam<SReaderCase>
{
};

// Every layout below holds the same record; the readers must agree on all of them.
TEST_P(ReaderTest, ReadsTheSameRecordWhateverTheLineEnds)
{
    const QString& block = GetParam().block;
    EXPECT_TRUE(RecordInfo::RecordHasTag(u"Projects"_qs, u"Beta"_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasTag(u"Projects"_qs, u"Gamma"_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasTag(u"Other"_qs, u"Beta"_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasTag(u"Priority"_qs, u"Alpha"_qs, block));
    EXPECT_TRUE(RecordInfo::RecordHasContact(u" Ann Lee "_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasContact(u"ann lee"_qs, block));
    EXPECT_TRUE(RecordInfo::RecordHasTask(u"Call back"_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasTask(u"Ann Lee"_qs, block));

    QStringList groups;
    RecordInfo::ListRecordGroups(groups, block);
    EXPECT_EQ(groups, (QStringList{u"Priority"_qs, u"Projects"_qs}));
    QStringList tags{u"Beta"_qs};
    RecordInfo::ListRecordTagsOfGroup(tags, u"Projects"_qs, block);
    EXPECT_EQ(tags, (QStringList{u"Beta"_qs, u"Alpha"_qs}));
    QStringList contacts;
    RecordInfo::ListRecordContacts(contacts, block);
    EXPECT_EQ(contacts, QStringList{u"Ann Lee"_qs});
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, ReaderTest,
    testing::Values(
        SReaderCase{"as composed", kProjectsBlock},
        SReaderCase{"carriage returns and line feeds mixed",
                    u"*ParlantographerInfo*\r\n[[Tags]]\r\n[Priority]\rImportant\n\n[Projects]\r\n"
                    "Alpha\r\nBeta\n[[Tasks]]\r\rCall back\r\n[[Contacts]]\r\nAnn Lee"_qs},
        SReaderCase{"sections in another order, no marker",
                    u"[[Contacts]]\nAnn Lee\n[[Tasks]]\nCall back\n[[Tags]]\n[Priority]\n"
                    "Important\n[Projects]\nAlpha\nBeta\n"_qs}));

TEST(ReaderEdgeTest, MissingHeadersGiveEmptySections)
{
    const QString block = u"*ParlantographerInfo*\n[Projects]\nAlpha\nAnn Lee\n"_qs;
    EXPECT_FALSE(RecordInfo::RecordHasTag(u"Projects"_qs, u"Alpha"_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasContact(u"Ann Lee"_qs, block));
    QStringList groups;
    RecordInfo::ListRecordGroups(groups, block);
    EXPECT_TRUE(groups.isEmpty());
    EXPECT_FALSE(RecordInfo::RecordHasContact(QString(), QString()));
    EXPECT_FALSE(RecordInfo::RecordHasTag(u"Projects"_qs, QString(), kProjectsBlock));
}

TEST(ReaderEdgeTest, ListRecordTaskAddsOnlyAVanishedFirstTask)
{
    const auto inStore = [](const QString& subject) {
        return subject == u"Call back"_qs;
    };
    const auto nowhere = [](const QString&) {
        return false;
    };

    QStringList list;
    RecordInfo::ListRecordTask(list, kProjectsBlock, inStore);
    EXPECT_TRUE(list.isEmpty());
    RecordInfo::ListRecordTask(list, kProjectsBlock, nowhere);
    RecordInfo::ListRecordTask(list, kProjectsBlock, nowhere);
    EXPECT_EQ(list, QStringList{u"Call back"_qs});

    QStringList second;
    RecordInfo::ListRecordTask(second, u"[[Tasks]]\n First \nSecond\n[[Contacts]]\n"_qs, nowhere);
    RecordInfo::ListRecordTask(second, u"[[Tasks]]\n[odd]\n[[Contacts]]\n"_qs, nowhere);
    EXPECT_EQ(second, QStringList{u"First"_qs});
}

struct SRemoveCase
{
    const char* what;
    QString group;
    QString tag;
    QString before;
    QString after; // equal to `before` when nothing is removed
};

class RemoveTest : public testing::TestWithParam<SRemoveCase>
{
};

TEST_P(RemoveTest, RemovesOneLineInPlace)
{
    QString block = GetParam().before;
    EXPECT_EQ(RecordInfo::RemoveTagFromRecordInfo(GetParam().group, GetParam().tag, block),
              GetParam().before != GetParam().after);
    EXPECT_EQ(block, GetParam().after) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, RemoveTest,
    testing::Values(
        SRemoveCase{"a tag", u"Projects"_qs, u"Alpha"_qs, kProjectsBlock,
                    QString(kProjectsBlock).remove(u"Alpha\n"_qs)},
        SRemoveCase{"a contact through its header", u"Contacts"_qs, u"Ann Lee"_qs, kProjectsBlock,
                    QString(kProjectsBlock).remove(u"Ann Lee\n"_qs)},
        SRemoveCase{"an absent tag", u"Projects"_qs, u"Gamma"_qs, kProjectsBlock, kProjectsBlock},
        SRemoveCase{"an absent group", u"Other"_qs, u"Alpha"_qs, kProjectsBlock, kProjectsBlock},
        SRemoveCase{"a prefix of a line is not a line", u"Projects"_qs, u"Alp"_qs, kProjectsBlock,
                    kProjectsBlock},
        SRemoveCase{"the search runs past the group's end", u"Priority"_qs, u"Beta"_qs,
                    kProjectsBlock, QString(kProjectsBlock).remove(u"Beta\n"_qs)}));

TEST(AddValueTest, ANewGroupGoesRightAfterTheTagsHeader)
{
    QString block = kProjectsBlock;
    ASSERT_TRUE(RecordInfo::AddValueToRecordInfo(u"Mood"_qs, u" Calm "_qs, block));
    EXPECT_TRUE(
        block.startsWith(u"*ParlantographerInfo*\n[[Tags]]\n[Mood]\nCalm\n[Priority]\n"_qs));
    EXPECT_TRUE(RecordInfo::RecordHasTag(u"Mood"_qs, u"Calm"_qs, block));
}

TEST(AddValueTest, AKnownGroupOrSectionGetsTheValueFirst)
{
    QString block = kProjectsBlock;
    ASSERT_TRUE(RecordInfo::AddValueToRecordInfo(u"Projects"_qs, u"Gamma"_qs, block));
    ASSERT_TRUE(RecordInfo::AddValueToRecordInfo(u"Contacts"_qs, u"Bo Ek"_qs, block));
    EXPECT_TRUE(block.contains(u"[Projects]\nGamma\nAlpha\n"_qs));
    EXPECT_TRUE(block.endsWith(u"[[Contacts]]\nBo Ek\nAnn Lee\n"_qs));
}

TEST(AddValueTest, AGroupNameInsideAnotherOneIsNotThatGroup)
{
    QString block = u"*ParlantographerInfo*\n[[Tags]]\n[HighPriority]\nNow\n[[Tasks]]\n"
                    "[[Contacts]]\n"_qs;
    ASSERT_TRUE(RecordInfo::AddValueToRecordInfo(u"Priority"_qs, u"Low"_qs, block));
    EXPECT_TRUE(RecordInfo::RecordHasTag(u"Priority"_qs, u"Low"_qs, block));
    EXPECT_FALSE(RecordInfo::RecordHasTag(u"HighPriority"_qs, u"Low"_qs, block));
}

TEST(AddValueTest, RefusesWhatDoesNotFitAndLeavesTheBlock)
{
    // 1009 bytes + "Abcd\n" = 1014, + "[Long]\n" = 1021 ... one more tag line passes 1022.
    QString block = QString::fromUtf8(kEmptyBlock) + QString(954, u'z') + u'\n';
    ASSERT_EQ(block.size(), 1009);
    ASSERT_TRUE(RecordInfo::AddValueToRecordInfo(u"Long"_qs, u"Abcd"_qs, block));
    EXPECT_EQ(block.toUtf8().size(), 1021);
    const QString before = block;
    EXPECT_FALSE(RecordInfo::AddValueToRecordInfo(u"Long"_qs, u"\u00E9"_qs, block)); // 1024
    EXPECT_EQ(block, before);
    EXPECT_FALSE(RecordInfo::AddValueToRecordInfo(u"Long"_qs, u"  "_qs, block));
    EXPECT_EQ(block, before);

    QString headless = u"*ParlantographerInfo*\n"_qs;
    EXPECT_FALSE(RecordInfo::AddValueToRecordInfo(u"Mood"_qs, u"Calm"_qs, headless));
}

} // namespace
