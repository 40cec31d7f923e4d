#include "store/cataloguejournal.h"
#include "store/tagcatalogue.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using enum ECatalogueResult;

const QByteArray kDefaults = "[Priority]\nImportant\nNormal\nInessential\n";
const QByteArray kWork = "[Work]\nReport\n";
const QByteArray kCatalogue = "[Priority]\nImportant\nNormal\n[Work]\nReport\nReport\nPlan\n";

class TagCatalogueTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    void Given(const QByteArray& bytes) { ASSERT_TRUE(WriteAll(m_catalogue.Path(), bytes)); }
    QByteArray File() const { return ReadAll(m_catalogue.Path()); }

    QTemporaryDir m_dir;
    CTagCatalogue m_catalogue{m_dir.path()};
};

TEST_F(TagCatalogueTest, FirstStartWritesTheFourDefaultLinesOnce)
{
    ASSERT_TRUE(m_catalogue.EnsureDefaultGroups());
    EXPECT_EQ(File(), kDefaults);
    EXPECT_EQ(m_catalogue.ListGroups(), QStringList{u"Priority"_qs});
    Given(kWork);
    ASSERT_TRUE(m_catalogue.EnsureDefaultGroups());
    EXPECT_EQ(File(), kWork);
}

// The tag manager adds at the end of the group, the main screen at its start.
TEST_F(TagCatalogueTest, AddTagPlacesOrRefuses)
{
    // clang-format off
    for (const auto& [what, first, group, tag, result, after] :
         std::initializer_list<std::tuple<const char*, bool, QString, QString, ECatalogueResult, QByteArray>>{
        {"last in group", false, u"Priority"_qs, u" Urgent "_qs, Ok, kDefaults + "Urgent\n" + kWork},
        {"first in group", true, u"Priority"_qs, u" Urgent "_qs, Ok,
         "[Priority]\nUrgent\nImportant\nNormal\nInessential\n" + kWork},
        {"last group: end of file", false, u"Work"_qs, u"Plan"_qs, Ok, kDefaults + kWork + "Plan\n"},
        {"unknown group: end of file", true, u"Home"_qs, u"Plan"_qs, Ok, kDefaults + kWork + "Plan\n"},
        {"bracket", false, u"Priority"_qs, u"a]b"_qs, InvalidName, kDefaults + kWork},
        {"only spaces", false, u"Priority"_qs, u"   "_qs, EmptyName, kDefaults + kWork},
        {"already there", false, u"Priority"_qs, u"Normal"_qs, AlreadyExists, kDefaults + kWork},
        {"already there after trimming", true, u"Priority"_qs, u" Normal"_qs, AlreadyExists, kDefaults + kWork},
        {"same text in another group", false, u"Work"_qs, u"Normal"_qs, Ok, kDefaults + kWork + "Normal\n"},
         }) {
        // clang-format on
        Given(kDefaults + kWork);
        EXPECT_EQ(first ? m_catalogue.AddTagFirst(group, tag) : m_catalogue.AddTag(group, tag),
                  result)
            << what;
        EXPECT_EQ(File(), after) << what;
    }
}

TEST_F(TagCatalogueTest, GroupsAreAddedTrimmedAndNeverTwice)
{
    Given("");
    EXPECT_EQ(m_catalogue.AddTag(u"Priority"_qs, u"Urgent"_qs), Ok); // no group line to go under
    EXPECT_EQ(File(), QByteArray("Urgent\n"));
    Given(kDefaults);
    EXPECT_TRUE(m_catalogue.GroupExists(u" Priority "_qs));
    EXPECT_FALSE(m_catalogue.GroupExists(u"priority"_qs));
    EXPECT_EQ(m_catalogue.AddGroup(u"   "_qs), EmptyName);
    EXPECT_EQ(m_catalogue.AddGroup(u"Priority "_qs), AlreadyExists);
    EXPECT_EQ(m_catalogue.AddGroup(u" Work "_qs), Ok);
    EXPECT_EQ(File(), kDefaults + "[Work]\n");
}

TEST_F(TagCatalogueTest, EditsStayInsideTheirGroup)
{
    Given("orphan\n[A]\nx\ny\nx\n[B]\nx\n[Gone]\nz\n");
    ASSERT_TRUE(m_catalogue.DeleteGroup(u"Gone"_qs));
    ASSERT_TRUE(m_catalogue.DeleteGroup(u"Nothing"_qs));
    ASSERT_TRUE(m_catalogue.DeleteTag(u"A"_qs, u"x"_qs));
    EXPECT_EQ(File(), QByteArray("orphan\n[A]\ny\n[B]\nx\n"));
    ASSERT_TRUE(m_catalogue.RenameTag(u"B"_qs, u"x"_qs, u"z"_qs));
    ASSERT_TRUE(m_catalogue.RenameGroup(u"A"_qs, u"C"_qs));
    EXPECT_EQ(File(), QByteArray("orphan\n[C]\ny\n[B]\nz\n"));
    EXPECT_FALSE(m_catalogue.TagExists(u"C"_qs, u"z"_qs));
    EXPECT_TRUE(m_catalogue.ListTagsOfGroup(QString()).isEmpty());
}

TEST_F(TagCatalogueTest, MoveTagDownSwapsWithinTheGroupOnly)
{
    Given(kDefaults + kWork);
    EXPECT_EQ(m_catalogue.MoveTagDown(u"Priority"_qs, u"Important"_qs), EMoveResult::Moved);
    const QByteArray moved = "[Priority]\nNormal\nImportant\nInessential\n" + kWork;
    EXPECT_EQ(File(), moved);
    EXPECT_EQ(m_catalogue.MoveTagDown(u"Priority"_qs, u"Inessential"_qs), EMoveResult::NotMoved);
    EXPECT_EQ(m_catalogue.MoveTagDown(u"Work"_qs, u"Report"_qs), EMoveResult::NotMoved);
    EXPECT_EQ(m_catalogue.MoveTagDown(u"Work"_qs, u"Important"_qs), EMoveResult::NotMoved);
    EXPECT_EQ(File(), moved);
}

TEST_F(TagCatalogueTest, ReadsOldFilesAndCancelRestoresThemByteForByte)
{
    // Windows line ends (one with a carriage return too many), a Windows-1252 letter, no final
    // line feed.
    const QByteArray original = "[Priorit\xE9]\r\r\nImportant\r\n\xC3\xA9t\xC3\xA9\r\nNormal";
    Given(original);
    EXPECT_EQ(m_catalogue.ListGroups(), QStringList{u"Priorit\u00E9"_qs});
    EXPECT_EQ(m_catalogue.UniqueTagsOfGroup(u"Priorit\u00E9"_qs),
              (QStringList{u"Important"_qs, u"\u00E9t\u00E9"_qs, u"Normal"_qs}));

    CCatalogueJournal journal;
    ASSERT_TRUE(m_catalogue.Backup());
    m_catalogue.SetJournal(&journal);
    ASSERT_EQ(m_catalogue.AddTag(u"Priorit\u00E9"_qs, u"Urgent"_qs), Ok);
    ASSERT_TRUE(m_catalogue.DeleteTag(u"Priorit\u00E9"_qs, u"Normal"_qs));
    ASSERT_EQ(m_catalogue.AddGroup(u"Work"_qs), Ok);
    ASSERT_NE(File(), original);
    EXPECT_EQ(m_catalogue.UndoChanges(journal).outcome, CTagCatalogue::EUndo::Undone);
    EXPECT_EQ(File(), original);
    EXPECT_FALSE(QFile::exists(m_catalogue.BackupPath()));

    // Without its backup the journal still gives the lines back, written anew.
    ASSERT_TRUE(m_catalogue.Backup());
    m_catalogue.SetJournal(&journal);
    ASSERT_EQ(m_catalogue.AddGroup(u"Work"_qs), Ok);
    ASSERT_TRUE(m_catalogue.DiscardBackup());
    EXPECT_EQ(m_catalogue.UndoChanges(journal).outcome, CTagCatalogue::EUndo::Undone);
    EXPECT_EQ(File(), QByteArray("[Priorit\xC3\xA9]\nImportant\n\xC3\xA9t\xC3\xA9\nNormal\n"));
}

TEST_F(TagCatalogueTest, AFolderThatCannotHoldTheFileReportsFailure)
{
    const CTagCatalogue nowhere(u"/proc/self/"_qs);
    EXPECT_FALSE(nowhere.EnsureDefaultGroups());
    EXPECT_EQ(nowhere.AddGroup(u"Work"_qs), WriteFailed);
    EXPECT_EQ(nowhere.AddTag(u"Work"_qs, u"x"_qs), WriteFailed);
    EXPECT_EQ(nowhere.MoveTagDown(u"Work"_qs, u"x"_qs), EMoveResult::WriteFailed);
    EXPECT_FALSE(nowhere.DeleteGroup(u"Work"_qs));
    EXPECT_FALSE(nowhere.Backup());
    EXPECT_TRUE(nowhere.ListGroups().isEmpty());
}

TEST_F(TagCatalogueTest, EveryWriterRefusesAnUnsafeNameAndACopyIsWrittenWhole)
{
    Given(kCatalogue);
    const QString twoLines = u"Two\nLines"_qs;
    EXPECT_EQ(m_catalogue.AddTag(u"Priority"_qs, twoLines), ControlCharacter);
    EXPECT_EQ(m_catalogue.AddTagFirst(u"Priority"_qs, QString(259, u'x')), TooLong);
    EXPECT_EQ(m_catalogue.AddGroup(u"Evil\nInjected"_qs), ControlCharacter);
    EXPECT_EQ(m_catalogue.AddGroup(u"[Tasks]"_qs), InvalidName);
    EXPECT_EQ(m_catalogue.AddGroup(u"Location"_qs), ReservedName);
    EXPECT_EQ(m_catalogue.CopyGroup(u"Work"_qs, u"Task"_qs), ReservedName);
    EXPECT_FALSE(m_catalogue.RenameGroup(u"Work"_qs, u"None"_qs));
    EXPECT_FALSE(m_catalogue.RenameTag(u"Work"_qs, u"Plan"_qs, twoLines));
    EXPECT_EQ(File(), kCatalogue);

    // A copy is written whole in one rewrite; a tag written twice by hand is copied once.
    EXPECT_EQ(m_catalogue.CopyGroup(u"Work"_qs, u" Work01 "_qs), Ok);
    EXPECT_EQ(File(), kCatalogue + "[Work01]\nReport\nPlan\n");
    EXPECT_EQ(m_catalogue.CopyGroup(u"Work"_qs, u"Work01"_qs), AlreadyExists);
    EXPECT_EQ(m_catalogue.CopyGroup(u"Gone"_qs, u"Gone01"_qs), WriteFailed);
    EXPECT_EQ(m_catalogue.CopyGroup(u"Work"_qs, u" "_qs), EmptyName);
    EXPECT_EQ(File(), kCatalogue + "[Work01]\nReport\nPlan\n");
}

TEST(CopyNameTest, ProposesTheNextFreeName)
{
    for (const auto& [name, taken, expected] :
         std::initializer_list<std::tuple<QString, QStringList, QString>>{
             {u"Work"_qs, {}, u"Work01"_qs},
             {u"Work"_qs, {u"Work01"_qs}, u"Work02"_qs},
             {u"Work01"_qs, {u"Work01"_qs}, u"Work02"_qs},
             {u"Work9"_qs, {}, u"Work10"_qs},
             {u"Work12345"_qs, {}, u"Work12346"_qs},
             {u"2024"_qs, {}, u"2025"_qs},
             {QString(24, u'a'), {}, QString(22, u'a') + u"00"_qs},
             {QString(23, u'a') + u"99"_qs, {}, QString(23, u'a') + u"10"_qs}}) {
        const QString copy = CTagCatalogue::MakeCopyName(
            name, [&taken](const QString& candidate) { return taken.contains(candidate); });
        EXPECT_EQ(copy, expected) << name.toStdString();
        EXPECT_LE(copy.size(), CTagCatalogue::kMaxCopyNameLength);
    }
}

} // namespace
