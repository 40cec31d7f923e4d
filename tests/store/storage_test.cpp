#include "store/settingsstore.h"
#include "store/storage.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A home, a device data folder and a card mount point inside one temporary directory.
class StorageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir().mkpath(Path("media/Card")) && QDir().mkpath(Path("home")));
    }

    QString Path(const char* relative) const { return m_root.filePath(QLatin1String(relative)); }

    CStorage MakeStorage(const QString& programFolder)
    {
        const QList<SStorageCard> cards{SStorageCard{u"Card"_qs, Path("media/Card")}};
        return CStorage(m_settings,
                        SStorageEnvironment{programFolder, Path("device/Data"), [cards] {
                                                return cards;
                                            }});
    }

    QTemporaryDir m_root;
    CSettingsStore m_settings{m_root.filePath(u"settings.ini"_qs)};
    const QDateTime m_when{QDate(2026, 12, 5), QTime(7, 15, 30)};
};

TEST_F(StorageTest, RecordPathsCreateTheirFolderWhereverTheProgramAndStorageAre)
{
    const SRecordPath home = MakeStorage(Path("home")).MakeRecordPath(0, m_when);
    ASSERT_TRUE(home.Ok()) << home.error.toStdString();
    EXPECT_EQ(home.path, Path("home/Data/12052026_071530.wav"));
    EXPECT_TRUE(QFileInfo(Path("home/Data")).isDir());

    const CStorage onCard = MakeStorage(Path("media/Card/Brindlewares Parlantographer/"));
    EXPECT_TRUE(onCard.IsProgramOnCard());
    EXPECT_EQ(onCard.MakeRecordPath(1, m_when).path, Path("device/Data/12052026_071530.ogg"));
    EXPECT_TRUE(QFileInfo(Path("device/Data")).isDir());

    ASSERT_TRUE(m_settings.SetStorage(u"Card"_qs));
    EXPECT_EQ(MakeStorage(Path("home")).MakeRecordPath(0, m_when).path,
              Path("media/Card/Parlantographer/Data/12052026_071530.wav"));
}

TEST_F(StorageTest, RefusesAnAbsentCardTheRawCodecAndAnUncreatableFolder)
{
    ASSERT_TRUE(m_settings.SetStorage(u"Gone"_qs));
    const CStorage storage = MakeStorage(Path("home"));
    const SRecordPath record = storage.MakeRecordPath(0, m_when);
    EXPECT_FALSE(record.Ok());
    EXPECT_TRUE(record.path.isEmpty());
    EXPECT_FALSE(record.error.isEmpty());
    EXPECT_FALSE(storage.DataFolder().has_value());
    EXPECT_FALSE(QFileInfo::exists(Path("home/Data")));

    ASSERT_TRUE(m_settings.SetStorage(u"Device memory"_qs));
    EXPECT_FALSE(MakeStorage(Path("home")).MakeRecordPath(2, m_when).Ok());
    ASSERT_TRUE(WriteAll(Path("blocked"), "a file where a folder should go"));
    EXPECT_FALSE(MakeStorage(Path("blocked")).MakeRecordPath(0, m_when).Ok());
}

TEST_F(StorageTest, RecordFoldersThatAreTheSamePlaceOnDiskCountOnce)
{
    // The card's folder is a link back to the home: scanning it again would list records twice.
    ASSERT_TRUE(QFile::link(Path("home"), Path("media/Card/Parlantographer")));
    ASSERT_TRUE(QDir().mkpath(Path("home/Data")));
    EXPECT_EQ(
        MakeStorage(Path("home")).EnumerateRecordFolders(),
        (QStringList{Path("home/Data/"), Path("media/Card/Brindlewares Parlantographer/Data/"),
                     Path("device/Data/")}));
}

} // namespace
