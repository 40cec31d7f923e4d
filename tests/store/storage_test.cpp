#include "store/settingsstore.h"
#include "store/storage.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
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
        ASSERT_TRUE(QDir().mkpath(Path("media/Card")));
        ASSERT_TRUE(QDir().mkpath(Path("home")));
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

TEST_F(StorageTest, DeviceMemoryRecordGoesToTheHomeDataFolder)
{
    const SRecordPath record = MakeStorage(Path("home")).MakeRecordPath(0, m_when);
    ASSERT_TRUE(record.Ok()) << record.error.toStdString();
    EXPECT_EQ(record.path, Path("home/Data/12052026_071530.wav"));
    EXPECT_TRUE(QFileInfo(Path("home/Data")).isDir());
}

TEST_F(StorageTest, ProgramOnACardKeepsDeviceMemoryRecordsInTheDeviceFolder)
{
    const CStorage storage = MakeStorage(Path("media/Card/Brindlewares Parlantographer/"));
    EXPECT_TRUE(storage.IsProgramOnCard());
    const SRecordPath record = storage.MakeRecordPath(1, m_when);
    ASSERT_TRUE(record.Ok());
    EXPECT_EQ(record.path, Path("device/Data/12052026_071530.ogg"));
    EXPECT_TRUE(QFileInfo(Path("device/Data")).isDir());
}

TEST_F(StorageTest, TwoRecordingsInOneSecondGetTwoFiles)
{
    const CStorage storage = MakeStorage(Path("home"));
    const SRecordPath first = storage.MakeRecordPath(0, m_when);
    ASSERT_TRUE(first.Ok());
    ASSERT_TRUE(WriteAll(first.path, "first recording"));

    const SRecordPath second = storage.MakeRecordPath(0, m_when);
    ASSERT_TRUE(second.Ok());
    EXPECT_EQ(second.path, Path("home/Data/12052026_071530_2.wav"));
    EXPECT_EQ(ReadAll(first.path), QByteArray("first recording"));
}

TEST_F(StorageTest, CardStorageCreatesItsFolderOnTheCard)
{
    ASSERT_TRUE(m_settings.SetStorage(u"Card"_qs));
    const SRecordPath record = MakeStorage(Path("home")).MakeRecordPath(0, m_when);
    ASSERT_TRUE(record.Ok());
    EXPECT_EQ(record.path, Path("media/Card/Parlantographer/Data/12052026_071530.wav"));
}

TEST_F(StorageTest, RefusesAnAbsentCardAndCreatesNothing)
{
    ASSERT_TRUE(m_settings.SetStorage(u"Gone"_qs));
    const CStorage storage = MakeStorage(Path("home"));
    const SRecordPath record = storage.MakeRecordPath(0, m_when);
    EXPECT_FALSE(record.Ok());
    EXPECT_TRUE(record.path.isEmpty());
    EXPECT_FALSE(record.error.isEmpty());
    EXPECT_FALSE(storage.DataFolder().has_value());
    EXPECT_FALSE(QFileInfo::exists(Path("home/Data")));
}

TEST_F(StorageTest, RefusesTheRawCodecAndAnUncreatableFolder)
{
    EXPECT_FALSE(MakeStorage(Path("home")).MakeRecordPath(2, m_when).Ok());

    ASSERT_TRUE(WriteAll(Path("blocked"), "a file where a folder should go"));
    EXPECT_FALSE(MakeStorage(Path("blocked")).MakeRecordPath(0, m_when).Ok());
}

TEST_F(StorageTest, RecordFoldersThatAreTheSamePlaceOnDiskCountOnce)
{
    // The card's folder is a link back to the home: scanning it again would list records twice.
    ASSERT_TRUE(QFile::link(Path("home"), Path("media/Card/Parlantographer")));
    ASSERT_TRUE(QDir().mkpath(Path("home/Data")));
    const QStringList folders = MakeStorage(Path("home")).EnumerateRecordFolders();
    EXPECT_EQ(folders, (QStringList{Path("home/Data/"),
                                    Path("media/Card/Brindlewares Parlantographer/Data/"),
                                    Path("device/Data/")}));
}

TEST_F(StorageTest, StorageListAndProgramFiles)
{
    const CStorage storage = MakeStorage(Path("home"));
    EXPECT_EQ(storage.StorageList(), (QStringList{u"Device memory"_qs, u"Card"_qs}));
    EXPECT_EQ(storage.ProgramFile(u"groups.dat"_qs), Path("home/groups.dat"));
}

} // namespace
