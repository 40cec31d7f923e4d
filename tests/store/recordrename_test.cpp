#include "store/recordrename.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace RecordRename;

class RecordRenameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // A home whose own path holds "/Data" before its data folder.
        m_folder = m_dir.path() + "/Data x/home/Data/";
        m_record = m_folder + "12052026_071530.wav";
        ASSERT_TRUE(WriteAll(m_record, Wav(kMarkedInfo)));
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_record;
};

TEST_F(RecordRenameTest, RefusesEveryNameThatWouldLoseOrMoveTheRecord)
{
    const QString refused[] = {"",           "   ",      QString(36, u'a'), ".",         "..",
                               "../Meeting", "a\\b",     "Meet\ning",       "Tab\tname", ".hidden",
                               "backup~",    "draft.TMP"};
    for (const QString& name : refused) {
        SCOPED_TRACE(name.toStdString());
        const SResult result = Rename(Native(m_record), name);
        EXPECT_EQ(result.status, EStatus::Refused);
        EXPECT_FALSE(result.message.isEmpty());
        EXPECT_EQ(ReadAll(m_record), Wav(kMarkedInfo));
        EXPECT_EQ(QDir(m_folder).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"12052026_071530.wav"});
    }
    EXPECT_FALSE(NameRefusal(QString(35, u'a')).has_value());
    EXPECT_FALSE(NameRefusal("Meeting 2.0 with Ann").has_value());
}

TEST_F(RecordRenameTest, KeepsTheFolderAndTakesTheExtensionOfTheFormat)
{
    EXPECT_EQ(EditableName(Native(m_record)), "12052026_071530");
    const SResult result = Rename(Native(m_record), "Meeting");
    ASSERT_EQ(result.status, EStatus::Renamed) << result.message.toStdString();
    EXPECT_EQ(result.newPath, Native(m_folder + "Meeting.wav"));
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(ReadAll(m_folder + "Meeting.wav"), Wav(kMarkedInfo));
    EXPECT_FALSE(QFile::exists(m_record));

    // An Ogg stream stays an Ogg record whatever the name typed suggests.
    const QString ogg = m_folder + "memo.ogg";
    ASSERT_TRUE(WriteAll(ogg, "OggS and the rest"));
    EXPECT_EQ(Rename(Native(ogg), "notes.wav").newPath, Native(m_folder + "notes.wav.ogg"));
}

TEST_F(RecordRenameTest, NeverReplacesAnotherFile)
{
    const QString other = m_folder + "Meeting.wav";
    ASSERT_TRUE(WriteAll(other, "someone else's"));
    EXPECT_EQ(Rename(Native(m_record), "Meeting").status, EStatus::Exists);
    EXPECT_EQ(ReadAll(other), "someone else's");
    EXPECT_EQ(ReadAll(m_record), Wav(kMarkedInfo));

    // The move itself refuses too, so a file that appears after any check is kept.
    EXPECT_EQ(MoveNoReplace(Native(m_record), Native(other)).status, EStatus::Exists);
    EXPECT_EQ(ReadAll(other), "someone else's");
    EXPECT_EQ(Rename(Native(m_record), "12052026_071530").status, EStatus::Exists);
    EXPECT_EQ(ReadAll(m_record), Wav(kMarkedInfo));
}

TEST_F(RecordRenameTest, KeepsTheNameOfAFileOfNoRecordFormat)
{
    const QString text = m_folder + "notes.txt";
    ASSERT_TRUE(WriteAll(text, "RIFF but not a wave file name"));
    EXPECT_EQ(Rename(Native(text), "Meeting").status, EStatus::UnknownFormat);
    EXPECT_TRUE(QFile::exists(text));
    EXPECT_EQ(Rename(Native(m_folder + "gone.wav"), "Meeting").status, EStatus::UnknownFormat);
}

} // namespace
