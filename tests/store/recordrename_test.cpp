#include "store/recordrename.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using RecordRename::EStatus;

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

    void ExpectUntouched(const char* what) const
    {
        EXPECT_EQ(ReadAll(m_record), Wav(kMarkedInfo)) << what;
        EXPECT_EQ(QDir(m_folder).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"12052026_071530.wav"})
            << what;
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_record;
};

TEST_F(RecordRenameTest, RefusesEveryNameThatWouldLoseOrMoveTheRecord)
{
    const struct
    {
        QString name;
        QString message;
    } cases[] = {
        {"", "Please, enter a name!"},
        {"   ", "Please, enter a name!"},
        {QString(36, u'a'), "Please enter no more than 35 characters."},
        {".", "\".\" and \"..\" are not names of a record."},
        {"..", "\".\" and \"..\" are not names of a record."},
        {"../Meeting", "A name may not hold \"/\" or \"\\\": the record stays in its folder."},
        {"a\\b", "A name may not hold \"/\" or \"\\\": the record stays in its folder."},
        {"Meet\ning", "A name may not hold control characters."},
        {"Tab\tname", "A name may not hold control characters."},
        {".hidden", "A name may not begin with \".\": the record would be hidden."},
        {"backup~", "A name may not end with \"~\" or \".tmp\": the record would be taken for a "
                    "temporary file."},
        {"draft.TMP", "A name may not end with \"~\" or \".tmp\": the record would be taken for "
                      "a temporary file."},
    };
    for (const auto& c : cases) {
        const RecordRename::SResult result = RecordRename::Rename(m_record, c.name);
        EXPECT_EQ(result.status, EStatus::Refused) << c.name.toStdString();
        EXPECT_EQ(result.message, c.message) << c.name.toStdString();
        ExpectUntouched(c.name.toStdString().c_str());
    }
    EXPECT_FALSE(RecordRename::NameRefusal(QString(35, u'a')).has_value());
    EXPECT_FALSE(RecordRename::NameRefusal("Meeting 2.0 with Ann").has_value());
}

TEST_F(RecordRenameTest, KeepsTheFolderAndTakesTheExtensionOfTheFormat)
{
    EXPECT_EQ(RecordRename::EditableName(m_record), "12052026_071530");
    const RecordRename::SResult result = RecordRename::Rename(m_record, "Meeting");
    ASSERT_EQ(result.status, EStatus::Renamed) << result.message.toStdString();
    EXPECT_EQ(result.newPath, m_folder + "Meeting.wav");
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(ReadAll(m_folder + "Meeting.wav"), Wav(kMarkedInfo));
    EXPECT_FALSE(QFile::exists(m_record));

    // An Ogg stream stays an Ogg record whatever the name typed suggests.
    const QString ogg = m_folder + "memo.ogg";
    ASSERT_TRUE(WriteAll(ogg, "OggS and the rest"));
    EXPECT_EQ(RecordRename::Rename(ogg, "notes.wav").newPath, m_folder + "notes.wav.ogg");
}

TEST_F(RecordRenameTest, NeverReplacesAnotherFile)
{
    const QString other = m_folder + "Meeting.wav";
    ASSERT_TRUE(WriteAll(other, "someone else's"));
    const RecordRename::SResult result = RecordRename::Rename(m_record, "Meeting");
    EXPECT_EQ(result.status, EStatus::Exists);
    EXPECT_EQ(result.message, "File already exists!");
    EXPECT_EQ(ReadAll(other), "someone else's");
    EXPECT_EQ(ReadAll(m_record), Wav(kMarkedInfo));

    // The move itself refuses too, so a file that appears after any check is kept.
    EXPECT_EQ(RecordRename::MoveNoReplace(m_record, other).status, EStatus::Exists);
    EXPECT_EQ(ReadAll(other), "someone else's");
    EXPECT_EQ(RecordRename::Rename(m_record, "12052026_071530").status, EStatus::Exists);
    EXPECT_EQ(ReadAll(m_record), Wav(kMarkedInfo));
}

TEST_F(RecordRenameTest, KeepsTheNameOfAFileOfNoRecordFormat)
{
    const QString text = m_folder + "notes.txt";
    ASSERT_TRUE(WriteAll(text, "RIFF but not a wave file name"));
    const RecordRename::SResult result = RecordRename::Rename(text, "Meeting");
    EXPECT_EQ(result.status, EStatus::UnknownFormat);
    EXPECT_EQ(result.message, "Can't rename this record: it is neither a WAV nor an Ogg record.");
    EXPECT_TRUE(QFile::exists(text));
    EXPECT_EQ(RecordRename::Rename(m_folder + "gone.wav", "Meeting").status,
              EStatus::UnknownFormat);
}

} // namespace
