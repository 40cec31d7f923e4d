#include "store/locationlist.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(LocationListTest, AddsTrimmedOneLineNamesWithoutTildeAndReadsOldFiles)
{
    QTemporaryDir dir;
    const CLocationList locations(dir.path());
    EXPECT_TRUE(locations.FillLocations().isEmpty());
    ASSERT_TRUE(locations.AddLocation(u"  Office "_qs));
    ASSERT_TRUE(locations.AddLocation(u"Office"_qs)); // the same name twice is listed twice
    EXPECT_FALSE(locations.AddLocation(u"Home~1"_qs));
    EXPECT_FALSE(locations.AddLocation(u"Line\nbreak"_qs));
    EXPECT_EQ(ReadAll(locations.Path()), QByteArray("Office~0~0~0~0~0~0~500~0.000000\n"
                                                    "Office~0~0~0~0~0~0~500~0.000000\n"));

    // Lines without fields, Windows line ends and letters, an unfinished last line.
    ASSERT_TRUE(WriteAll(locations.Path(), "Home\nCaf\xE9~1~2\r\nGarden"));
    EXPECT_EQ(locations.FillLocations(), (QStringList{u"Home"_qs, u"Caf\u00E9"_qs, u"Garden"_qs}));

    EXPECT_FALSE(CLocationList(u"/proc/self/"_qs).AddLocation(u"Office"_qs));
}

} // namespace
