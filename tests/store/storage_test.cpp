#include "store/settingsstore.h"
#include "store/storage.h"
#include "store/storagepaths.h"
#include "support/qtsupport.h"

#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace StoragePaths;

const QString kInMemory = u"/Program Files/Parlantographer/"_qs;
const QString kOnCard = u"/Storage Card/Brindlewares Parlantographer/"_qs;
const QString kDeviceData = u"/Program Files/Brindlewares/Parlantographer/Data/"_qs;
const SStorageCard kCard{u"Storage Card"_qs, u"/Storage Card"_qs};
const SStorageCard kCard2{u"Storage Card2"_qs, u"/Storage Card2"_qs};
const QString kMemory = kDeviceMemory;

TEST(StoragePathsTest, DataFolderFollowsProgramPlaceAndStorage)
{
    // clang-format off
    for (const auto& [what, programFolder, cards, storage, expected] :
         std::initializer_list<std::tuple<const char*, QString, QList<SStorageCard>, QString,
                                          std::optional<QString>>>{
        {"memory program, memory storage", kInMemory, {kCard}, kMemory, kInMemory + "Data/"},
        {"card program, memory storage", kOnCard, {kCard}, kMemory, kDeviceData},
        {"card program, its own card", kOnCard, {kCard}, u"Storage Card"_qs, kOnCard + "Data/"},
        {"memory program, card storage", kInMemory, {kCard}, u"Storage Card"_qs,
         u"/Storage Card/Parlantographer/Data/"_qs},
        {"program on Storage Card2 is not on Storage Card", u"/Storage Card2/Brindlewares Parlantographer/"_qs,
         {kCard, kCard2}, u"Storage Card"_qs, u"/Storage Card/Parlantographer/Data/"_qs},
        {"absent card has no folder", kInMemory, {kCard2}, u"Storage Card"_qs, std::nullopt},
        {"no cards at all", kInMemory, {}, kMemory, kInMemory + "Data/"}})
        EXPECT_EQ(DataFolder(storage, SLayout{programFolder, kDeviceData, cards}), expected) << what;
    // clang-format on
}

TEST(StoragePathsTest, CardsAndTheStorageList)
{
    const QList<SStorageCard> cards{kCard, SStorageCard{QString(), u"/Program Files"_qs}};
    EXPECT_TRUE(IsOnStorageCard(kOnCard, cards));
    EXPECT_TRUE(IsOnStorageCard(u"/Storage Card2/x/"_qs, cards)); // plain prefix
    EXPECT_FALSE(IsOnStorageCard(kInMemory, cards));              // unnamed card skipped
    EXPECT_FALSE(IsOnStorageCard(kOnCard, {}));

    QStringList list{u"stale"_qs};
    FillStorageList(list, {kCard2, SStorageCard{QString(), u"/x"_qs}, kCard});
    EXPECT_EQ(list, (QStringList{u"Device memory"_qs, u"Storage Card2"_qs, u"Storage Card"_qs}));
}

TEST(StoragePathsTest, RecordNamesPutTheMonthFirstAndNeverReuseATakenName)
{
    const QDateTime december(QDate(2026, 12, 5), QTime(7, 15, 30));
    EXPECT_EQ(RecordFileName(december, RecordExtension(0)), u"12052026_071530.wav"_qs);
    EXPECT_EQ(RecordFileName(QDateTime(QDate(2027, 2, 1), QTime(9, 5, 3)), RecordExtension(1)),
              u"02012027_090503.ogg"_qs);

    QSet<QString> taken;
    const auto free = [&](const QString& extension) {
        return FreeRecordPath(u"/d/"_qs, december, extension,
                              [&taken](const QString& path) { return taken.contains(path); });
    };
    EXPECT_EQ(free(u"wav"_qs), u"/d/12052026_071530.wav"_qs);
    taken << u"/d/12052026_071530.wav"_qs << u"/d/12052026_071530_2.wav"_qs;
    EXPECT_EQ(free(u"wav"_qs), u"/d/12052026_071530_3.wav"_qs);
    EXPECT_EQ(free(u"ogg"_qs), u"/d/12052026_071530.ogg"_qs); // the other format does not block
    EXPECT_TRUE(FreeRecordPath(u"/d/"_qs, december, u"wav"_qs, [](const QString&) {
                    return true;
                }).isEmpty());
}

TEST(StoragePathsTest, RecordFoldersInScanOrderEachOnce)
{
    EXPECT_EQ(EnumerateRecordFolders(SLayout{kInMemory, kDeviceData, {kCard, kCard2}}),
              (QStringList{kInMemory + "Data/", u"/Storage Card/Parlantographer/Data/"_qs,
                           kOnCard + "Data/", u"/Storage Card2/Parlantographer/Data/"_qs,
                           u"/Storage Card2/Brindlewares Parlantographer/Data/"_qs, kDeviceData}));
    // The program's own card folder is listed once.
    EXPECT_EQ(
        EnumerateRecordFolders(SLayout{kOnCard, kDeviceData, {kCard}}),
        (QStringList{kOnCard + "Data/", u"/Storage Card/Parlantographer/Data/"_qs, kDeviceData}));
    EXPECT_EQ(EnumerateRecordFolders(
                  SLayout{u"/Program Files/Brindlewares/Parlantographer/"_qs, kDeviceData, {}}),
              QStringList{kDeviceData});
}

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
    // Before the first recording the data folder is missing: its parents' disk counts.
    EXPECT_GT(MakeStorage(Path("home")).FreeBytes(), 0.0);
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
    EXPECT_EQ(storage.FreeBytes(), 0.0);
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
