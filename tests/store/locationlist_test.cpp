#include "store/locationlist.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class LocationListTest : public testing::Test
{
protected:
    QTemporaryDir m_dir;
    CLocationList m_locations{m_dir.path()};
};

TEST_F(LocationListTest, WithoutAFileNothingIsListedAndTheFirstAdditionCreatesIt)
{
    EXPECT_TRUE(m_locations.FillLocations().isEmpty());
    ASSERT_TRUE(m_locations.AddLocation(u"  Office "_qs));
    EXPECT_EQ(ReadAll(m_locations.Path()), QByteArray("Office~0~0~0~0~0~0~500~0.000000\n"));
    EXPECT_EQ(m_locations.FillLocations(), QStringList{u"Office"_qs});
}

TEST_F(LocationListTest, TheSameNameTwiceIsListedTwice)
{
    ASSERT_TRUE(m_locations.AddLocation(u"Office"_qs));
    ASSERT_TRUE(m_locations.AddLocation(u"Office"_qs));
    EXPECT_EQ(m_locations.FillLocations(), (QStringList{u"Office"_qs, u"Office"_qs}));
}

TEST_F(LocationListTest, ReadsLinesWithoutFieldsAndKeepsAnUnfinishedLastLineApart)
{
    ASSERT_TRUE(WriteAll(m_locations.Path(), "Home\nCaf\xE9~1~2\r\nGarden"));
    EXPECT_EQ(m_locations.FillLocations(),
              (QStringList{u"Home"_qs, u"Caf\u00E9"_qs, u"Garden"_qs}));
    ASSERT_TRUE(m_locations.AddLocation(u"Line\nbreak"_qs));
    EXPECT_EQ(m_locations.FillLocations(),
              (QStringList{u"Home"_qs, u"Caf\u00E9"_qs, u"Garden"_qs, u"Line break"_qs}));
}

TEST_F(LocationListTest, AnUnwritableFileIsReported)
{
    const CLocationList nowhere(u"/proc/self/"_qs);
    EXPECT_FALSE(nowhere.AddLocation(u"Office"_qs));
}

} // namespace
