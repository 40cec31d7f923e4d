#include "platform/home.h"
#include "platform/volumes.h"

#include <gtest/gtest.h>

namespace {

TEST(VolumesTest, OnlyFoldersDirectlyBelowTheUsersMediaFoldersAreCards)
{
    const QStringList mounts{u"/"_qs,
                             u"/media/ann/Storage Card"_qs,
                             u"/media/ann/Storage Card/"_qs, // the same card again
                             u"/run/media/ann/SD2"_qs,
                             u"/media/bob/Other"_qs,
                             u"/media/ann/deep/Nested"_qs,
                             u"/media/ann"_qs,
                             u"/home/ann/media/ann/Fake"_qs};
    EXPECT_EQ(Volumes::CardsAmongMounts(mounts, u"ann"_qs),
              (QList<SStorageCard>{{u"Storage Card"_qs, u"/media/ann/Storage Card"_qs},
                                   {u"SD2"_qs, u"/run/media/ann/SD2"_qs}}));
    EXPECT_TRUE(Volumes::CardsAmongMounts(mounts, QString()).isEmpty());
}

TEST(VolumesTest, TheEnvironmentListReplacesTheEnumeration)
{
    EXPECT_EQ(Volumes::CardsFromList(u"/tmp/x/Storage Card::/mnt/SD2/:/"_qs),
              (QList<SStorageCard>{{u"Storage Card"_qs, u"/tmp/x/Storage Card"_qs},
                                   {u"SD2"_qs, u"/mnt/SD2"_qs}}));

    qputenv(Volumes::kCardsVariable, "/a/One:/b/Two");
    EXPECT_EQ(Volumes::Present().size(), 2);
    qputenv(Volumes::kCardsVariable, "");
    EXPECT_TRUE(Volumes::Present().isEmpty());
    qunsetenv(Volumes::kCardsVariable);
}

TEST(HomeTest, TheEnvironmentChoosesTheHome)
{
    qputenv(Home::kHomeVariable, "/tmp/some home//");
    EXPECT_TRUE(Home::IsChosenByEnvironment());
    EXPECT_EQ(Home::Folder(), u"/tmp/some home/"_qs);
    EXPECT_TRUE(Home::DeviceDataFolder().endsWith(u"/Brindlewares/Parlantographer/Data/"_qs));
    qunsetenv(Home::kHomeVariable);
    EXPECT_FALSE(Home::IsChosenByEnvironment());
    EXPECT_EQ(Home::Folder(), Home::ApplicationDataFolder());
    EXPECT_EQ(Home::WithTrailingSlash(u"/"_qs), u"/"_qs);
    EXPECT_TRUE(Home::WithTrailingSlash(QString()).isEmpty());
}

TEST(VolumesTest, CardsOfTheSameNameAreToldApart)
{
    const QList<SStorageCard> cards{{"CARD", "/media/ann/CARD"},
                                    {"CARD", "/run/media/ann/CARD"},
                                    {"CARD (2)", "/media/ann/CARD (2)"},
                                    {"CARD", "/mnt/x/CARD"}};
    QStringList names;
    for (const SStorageCard& card : Volumes::WithDistinctNames(cards))
        names.append(card.name);
    EXPECT_EQ(names, (QStringList{"CARD", "CARD (3)", "CARD (2)", "CARD (4)"}));
}

} // namespace
