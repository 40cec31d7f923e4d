#include "store/recordinfo.h"

#include <functional>
#include <gtest/gtest.h>

using namespace RecordInfo;

namespace {

const QString kHead = u"*ParlantographerInfo*\n[[Tags]]\n"_qs;
const QString kEmptyBlock = kHead + u"[[Tasks]]\n[[Contacts]]\n"_qs;
const QString kProjectsBlock = kHead + u"[Priority]\nImportant\n[Projects]\nAlpha\nBeta\n"
                                       "[[Tasks]]\nCall back\n[[Contacts]]\nAnn Lee\n"_qs;

SSlotSelection Slot(const QString& kind, const QStringList& items, const QList<bool>& selected,
                    bool visible = true)
{
    return SSlotSelection{kind, items, selected, visible};
}

SSlotSelection Contacts(const QStringList& names)
{
    return Slot(u"Contacts"_qs, names, QList<bool>(names.size(), true));
}

// Each case: the slots, then the block that must fill the area, zeros after it.
TEST(ComposeTest, FillsTheAreaWithTheBlockThenZeros)
{
    // clang-format off
    for (const auto& [what, selections, expected] :
         std::initializer_list<std::tuple<const char*, QList<SSlotSelection>, QString>>{
        {"nothing selected",
         {Slot(u"Priority"_qs, {u"Important"_qs, u"Normal"_qs}, {false, false}), Slot(u"None"_qs, {}, {})},
         kEmptyBlock},
        {"the Priority/Projects example",
         {Slot(u"Priority"_qs, {u"Important"_qs, u"Normal"_qs}, {true, false}),
          Slot(u"Projects"_qs, {u"Alpha"_qs, u"Gamma"_qs, u"Beta"_qs}, {true, false, true}),
          Slot(u"Task"_qs, {u"  Call back "_qs}, {true}), Contacts({u"Ann Lee"_qs})},
         kProjectsBlock},
        {"hidden, None and Location slots, blank entries, missing flags, line breaks",
         {Slot(u"Priority"_qs, {u"Important"_qs}, {true}, false),
          Slot(u"Location"_qs, {u"Office"_qs}, {true}), Slot(u"None"_qs, {u"x"_qs}, {true}),
          Slot(u"Projects"_qs, {u"   "_qs}, {true}), Slot(u"Task"_qs, {u"a\nb\u000Ec"_qs, u"c"_qs}, {true})},
         kHead + u"[[Tasks]]\na b c\n[[Contacts]]\n"_qs},
        {"two slots of one group",
         {Slot(u"Projects"_qs, {u"Alpha"_qs}, {true}), Slot(u"Projects"_qs, {u"Beta"_qs}, {true})},
         kHead + u"[Projects]\nAlpha\n[Projects]\nBeta\n[[Tasks]]\n[[Contacts]]\n"_qs},
        {"a 260-byte entry is cut to 259 bytes at a whole letter",
         {Contacts({QString(130, u'\u00E9')})}, kEmptyBlock + QString(129, u'\u00E9') + u'\n'}}) {
        // clang-format on
        const auto area = ComposeRecordInfo(selections);
        ASSERT_TRUE(area) << what;
        EXPECT_EQ(*area, expected.toUtf8().leftJustified(kAreaSize, '\0')) << what;
    }
}

// Three 259-byte contacts bring the text to 834 bytes; a fourth line of n bytes fits while
// 834 + n <= 1020, leaving a text of at most 1021 bytes. Limits count bytes, not letters.
TEST(ComposeLimitTest, RefusesTextPastTheLimit)
{
    const QString full(259, u'c');
    for (const auto& [last, fits] :
         std::initializer_list<std::pair<QString, bool>>{{QString(186, u'x'), true},
                                                         {QString(187, u'x'), false},
                                                         {QString(62, u'\u20AC'), true},
                                                         {QString(63, u'\u20AC'), false}}) {
        const auto area = ComposeRecordInfo({Contacts({full, full, full, last})});
        ASSERT_EQ(area.has_value(), fits) << last.size();
        if (area) {
            EXPECT_EQ(area->size(), kAreaSize);
            EXPECT_EQ(area->indexOf('\0'), 834 + last.toUtf8().size() + 1);
        }
    }
}

TEST(AreaTest, DecodingStopsAtTheFirstZeroAndEncodingKeepsOne)
{
    QByteArray area = "*ParlantographerInfo*\n[[Contacts]]\nJos\xE9\n";
    area.append('\0').append("[[Tasks]]\nghost\n").append(1024 - area.size() - 16, '\0');
    const QString block = DecodeRecordInfo(area);
    EXPECT_TRUE(HasMarker(area));
    EXPECT_TRUE(RecordHasContact(u"Jos\u00E9"_qs, block)); // Windows-1252 fallback
    EXPECT_FALSE(RecordHasTask(u"ghost"_qs, block));
    EXPECT_FALSE(HasMarker(QByteArray(" *ParlantographerInfo*")));

    EXPECT_EQ(EncodeRecordInfo(QString(1023, u'a'))->size(), 1024);
    EXPECT_FALSE(EncodeRecordInfo(QString(1024, u'a')));
    EXPECT_FALSE(EncodeRecordInfo(QString(512, u'\u00E9')));
}

// Line feeds; line feeds and carriage returns mixed; the sections in another order without the
// marker: the readers must agree on all of these layouts of one record.
TEST(ReaderTest, ReadsTheSameRecordWhateverTheLayout)
{
    for (const QString& block :
         {kProjectsBlock,
          u"*ParlantographerInfo*\r\n[[Tags]]\r\n[Priority]\rImportant\n\n[Projects]\r\nAlpha\r\n"
          "Beta\n[[Tasks]]\r\rCall back\r\n[[Contacts]]\r\nAnn Lee"_qs,
          u"[[Contacts]]\nAnn Lee\n[[Tasks]]\nCall back\n[[Tags]]\n[Priority]\nImportant\n"
          "[Projects]\nAlpha\nBeta\n"_qs}) {
        SCOPED_TRACE(block.toStdString());
        EXPECT_TRUE(RecordHasTag(u"Projects"_qs, u"Beta"_qs, block));
        EXPECT_FALSE(RecordHasTag(u"Projects"_qs, u"Gamma"_qs, block));
        EXPECT_FALSE(RecordHasTag(u"Other"_qs, u"Beta"_qs, block));
        EXPECT_FALSE(RecordHasTag(u"Priority"_qs, u"Alpha"_qs, block));
        EXPECT_TRUE(RecordHasContact(u" Ann Lee "_qs, block));
        EXPECT_FALSE(RecordHasContact(u"ann lee"_qs, block));
        EXPECT_TRUE(RecordHasTask(u"Call back"_qs, block));
        EXPECT_FALSE(RecordHasTask(u"Ann Lee"_qs, block));

        QStringList groups;
        ListRecordGroups(groups, block);
        EXPECT_EQ(groups, (QStringList{u"Priority"_qs, u"Projects"_qs}));
        QStringList tags{u"Beta"_qs};
        ListRecordTagsOfGroup(tags, u"Projects"_qs, block);
        EXPECT_EQ(tags, (QStringList{u"Beta"_qs, u"Alpha"_qs}));
        QStringList contacts;
        ListRecordContacts(contacts, block);
        EXPECT_EQ(contacts, QStringList{u"Ann Lee"_qs});
    }
}

TEST(ReaderEdgeTest, MissingHeadersEmptyArgumentsAndAGroupNamedTwice)
{
    const QString headless = u"*ParlantographerInfo*\n[Projects]\nAlpha\nAnn Lee\n"_qs;
    EXPECT_FALSE(RecordHasTag(u"Projects"_qs, u"Alpha"_qs, headless));
    EXPECT_FALSE(RecordHasContact(u"Ann Lee"_qs, headless));
    QStringList groups;
    ListRecordGroups(groups, headless);
    EXPECT_TRUE(groups.isEmpty());
    EXPECT_FALSE(RecordHasContact(QString(), QString()));
    EXPECT_FALSE(RecordHasTag(u"Projects"_qs, QString(), kProjectsBlock));

    // Two slots of one group give two group lines: the group has the tags of both, as the
    // browser lists them.
    const QString twice = kHead + u"[Projects]\nAlpha\n[Projects]\nBeta\n[[Tasks]]\n"_qs;
    EXPECT_TRUE(RecordHasTag(u"Projects"_qs, u"Alpha"_qs, twice));
    EXPECT_TRUE(RecordHasTag(u"Projects"_qs, u"Beta"_qs, twice));
}

TEST(ReaderEdgeTest, ListRecordTaskAddsOnlyAVanishedFirstTask)
{
    const std::function<bool(const QString&)> nowhere; // no store at all
    QStringList list;
    ListRecordTask(list, kProjectsBlock,
                   [](const QString& subject) { return subject == u"Call back"_qs; });
    EXPECT_TRUE(list.isEmpty());
    ListRecordTask(list, kProjectsBlock, nowhere);
    ListRecordTask(list, kProjectsBlock, nowhere);
    EXPECT_EQ(list, QStringList{u"Call back"_qs});

    QStringList second;
    ListRecordTask(second, u"[[Tasks]]\n First \nSecond\n[[Contacts]]\n"_qs, nowhere);
    ListRecordTask(second, u"[[Tasks]]\n[odd]\n[[Contacts]]\n"_qs, nowhere);
    EXPECT_EQ(second, QStringList{u"First"_qs});
}

} // namespace
