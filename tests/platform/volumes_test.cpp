#include "platform/volumes.h"
#include "support/scopedenv.h"

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

    const testsupport::CScopedEnv cards(Volumes::kCardsVariable, "/a/One:/b/Two");
    EXPECT_EQ(Volumes::Present().size(), 2);
    cards.Set("");
    EXPECT_TRUE(Volumes::Present().isEmpty());
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
