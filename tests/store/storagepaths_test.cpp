#include "store/storagepaths.h"

#include <QSet>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using StoragePaths::SLayout;

namespace {

const QString kInstalledInMemory = QStringLiteral("/Program Files/Parlantographer/");
const QString kInstalledOnCard = QStringLiteral("/Storage Card/Brindlewares Parlantographer/");
const QString kDeviceData = QStringLiteral("/Program Files/Brindlewares/Parlantographer/Data/");
const SStorageCard kCard{QStringLiteral("Storage Card"), QStringLiteral("/Storage Card")};
const SStorageCard kCard2{QStringLiteral("Storage Card2"), QStringLiteral("/Storage Card2")};

struct SDataFolderCase
{
    const char* what;
    QString programFolder;
    QList<SStorageCard> cards;
    QString storage;
    std::optional<QString> expected;
};

class DataFolderTest : public testing::TestWithParam<SDataFolderCase>
{
};

TEST_P(DataFolderTest, FollowsProgramPlaceAndStorage)
{
    const SDataFolderCase& c = GetParam();
    EXPECT_EQ(StoragePaths::DataFolder(c.storage, SLayout{c.programFolder, kDeviceData, c.cards}),
              c.expected)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Storage, DataFolderTest,
    testing::Values(SDataFolderCase{"memory program, memory storage",
                                    kInstalledInMemory,
                                    {kCard},
                                    StoragePaths::kDeviceMemory,
                                    kInstalledInMemory + "Data/"},
                    SDataFolderCase{"card program, memory storage",
                                    kInstalledOnCard,
                                    {kCard},
                                    StoragePaths::kDeviceMemory,
                                    kDeviceData},
                    SDataFolderCase{"card program, its own card",
                                    kInstalledOnCard,
                                    {kCard},
                                    u"Storage Card"_qs,
                                    u"/Storage Card/Brindlewares Parlantographer/Data/"_qs},
                    SDataFolderCase{"memory program, card storage",
                                    kInstalledInMemory,
                                    {kCard},
                                    u"Storage Card"_qs,
                                    u"/Storage Card/Parlantographer/Data/"_qs},
                    SDataFolderCase{"program on Storage Card2 is not on Storage Card",
                                    u"/Storage Card2/Brindlewares Parlantographer/"_qs,
                                    {kCard, kCard2},
                                    u"Storage Card"_qs,
                                    u"/Storage Card/Parlantographer/Data/"_qs},
                    SDataFolderCase{"absent card has no folder",
                                    kInstalledInMemory,
                                    {kCard2},
                                    u"Storage Card"_qs,
                                    std::nullopt},
                    SDataFolderCase{"no cards at all",
                                    kInstalledInMemory,
                                    {},
                                    StoragePaths::kDeviceMemory,
                                    kInstalledInMemory + "Data/"}));

TEST(StoragePathsTest, IsOnStorageCardIsAPlainPrefixTestOverNamedCards)
{
    const QList<SStorageCard> cards{kCard, SStorageCard{QString(), u"/Program Files"_qs}};
    EXPECT_TRUE(StoragePaths::IsOnStorageCard(kInstalledOnCard, cards));
    EXPECT_TRUE(StoragePaths::IsOnStorageCard(u"/Storage Card2/x/"_qs, cards));
    EXPECT_FALSE(StoragePaths::IsOnStorageCard(kInstalledInMemory, cards)); // unnamed card skipped
    EXPECT_FALSE(StoragePaths::IsOnStorageCard(kInstalledOnCard, {}));
}

TEST(StoragePathsTest, StorageListPutsDeviceMemoryFirstAndReplacesOldItems)
{
    QStringList list{u"stale"_qs};
    StoragePaths::FillStorageList(list, {kCard2, SStorageCard{QString(), u"/x"_qs}, kCard});
    EXPECT_EQ(list, (QStringList{u"Device memory"_qs, u"Storage Card2"_qs, u"Storage Card"_qs}));
}

TEST(StoragePathsTest, RecordNamesPutTheMonthFirst)
{
    const QDateTime december(QDate(2026, 12, 5), QTime(7, 15, 30));
    const QDateTime february(QDate(2027, 2, 1), QTime(9, 5, 3));
    EXPECT_EQ(StoragePaths::RecordFileName(december, StoragePaths::RecordExtension(0)),
              u"12052026_071530.wav"_qs);
    EXPECT_EQ(StoragePaths::RecordFileName(february, StoragePaths::RecordExtension(1)),
              u"02012027_090503.ogg"_qs);
    EXPECT_EQ(StoragePaths::RecordFileName(december, u"wav"_qs, 2), u"12052026_071530_2.wav"_qs);
    EXPECT_TRUE(StoragePaths::RecordExtension(2).isEmpty());
}

TEST(StoragePathsTest, FreeRecordPathNeverReusesATakenName)
{
    const QDateTime when(QDate(2026, 12, 5), QTime(7, 15, 30));
    QSet<QString> taken;
    const auto exists = [&taken](const QString& path) {
        return taken.contains(path);
    };
    const QString folder = u"/d/"_qs;

    EXPECT_EQ(StoragePaths::FreeRecordPath(folder, when, u"wav"_qs, exists),
              u"/d/12052026_071530.wav"_qs);
    taken << u"/d/12052026_071530.wav"_qs << u"/d/12052026_071530_2.wav"_qs;
    EXPECT_EQ(StoragePaths::FreeRecordPath(folder, when, u"wav"_qs, exists),
              u"/d/12052026_071530_3.wav"_qs);
    // The other format's name does not block this one.
    EXPECT_EQ(StoragePaths::FreeRecordPath(folder, when, u"ogg"_qs, exists),
              u"/d/12052026_071530.ogg"_qs);
    EXPECT_TRUE(StoragePaths::FreeRecordPath(folder, when, u"wav"_qs, [](const QString&) {
                    return true;
                }).isEmpty());
}

TEST(StoragePathsTest, RecordFoldersInScanOrder)
{
    const QStringList folders = StoragePaths::EnumerateRecordFolders(
        SLayout{kInstalledInMemory, kDeviceData, {kCard, kCard2}});
    EXPECT_EQ(folders, (QStringList{
                           u"/Program Files/Parlantographer/Data/"_qs,
                           u"/Storage Card/Parlantographer/Data/"_qs,
                           u"/Storage Card/Brindlewares Parlantographer/Data/"_qs,
                           u"/Storage Card2/Parlantographer/Data/"_qs,
                           u"/Storage Card2/Brindlewares Parlantographer/Data/"_qs,
                           kDeviceData,
                       }));
}

TEST(StoragePathsTest, RecordFoldersListTheProgramsCardFolderOnce)
{
    const QStringList folders =
        StoragePaths::EnumerateRecordFolders(SLayout{kInstalledOnCard, kDeviceData, {kCard}});
    EXPECT_EQ(folders.count(u"/Storage Card/Brindlewares Parlantographer/Data/"_qs), 1);
    EXPECT_EQ(folders.size(), 3);

    // Without cards only the program's and the device's folders remain; a program installed in
    // the device data folder's own place gives it once.
    EXPECT_EQ(StoragePaths::EnumerateRecordFolders(
                  SLayout{u"/Program Files/Brindlewares/Parlantographer/"_qs, kDeviceData, {}}),
              QStringList{kDeviceData});
}

} // namespace
