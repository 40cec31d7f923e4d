#include "store/settingsstore.h"
#include "support/qtsupport.h"
#include "support/scopedenv.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsStoreTest : public testing::Test
{
protected:
    QString IniPath() const { return m_dir.filePath(u"settings.ini"_qs); }

    QTemporaryDir m_dir;
};

TEST_F(SettingsStoreTest, MissingValuesGiveTheirDefaults)
{
    const CSettingsStore settings(IniPath());
    const QStringList defaults{u"Priority"_qs, u"Contacts"_qs, u"Task"_qs, u"None"_qs, u"None"_qs};
    for (int slot = 0; slot < defaults.size(); ++slot)
        EXPECT_EQ(settings.Slot(slot), defaults[slot]) << slot;
    for (int slot = 0; slot < CSettingsStore::kSlotCount; ++slot)
        EXPECT_FALSE(settings.HasSlot(slot));
    EXPECT_EQ(settings.Format(), 0);
    EXPECT_EQ(settings.Storage(), u"Device memory"_qs);

    EXPECT_EQ(settings.PimSource(), std::nullopt); // the default follows the desktop's service

    ASSERT_TRUE(WriteAll(IniPath(), "[General]\nFormat=speex\nPimSource=cloud\n"));
    EXPECT_EQ(CSettingsStore(IniPath()).Format(), 0);
    EXPECT_EQ(CSettingsStore(IniPath()).PimSource(), std::nullopt);
    ASSERT_TRUE(WriteAll(IniPath(), "[General]\nPimSource= Desktop\n"));
    EXPECT_EQ(CSettingsStore(IniPath()).PimSource(), EPimOrigin::Desktop);

    // Only an offered speed is taken, and only one is stored.
    EXPECT_EQ(settings.PlaybackSpeed(), 1.0);
    for (const char* text : {"3", "fast", "0,75"}) {
        ASSERT_TRUE(WriteAll(IniPath(), QByteArray("[General]\nPlaybackSpeed=") + text + "\n"));
        EXPECT_EQ(CSettingsStore(IniPath()).PlaybackSpeed(), 1.0) << text;
    }
    CSettingsStore speeds(IniPath());
    EXPECT_FALSE(speeds.SetPlaybackSpeed(3.0));
    ASSERT_TRUE(speeds.SetPlaybackSpeed(1.25));
    EXPECT_EQ(CSettingsStore(IniPath()).PlaybackSpeed(), 1.25);
}

TEST_F(SettingsStoreTest, FirstStartFillsOnlyTheSlotsNotStoredYet)
{
    {
        CSettingsStore settings(IniPath());
        ASSERT_TRUE(settings.SetSlot(2, u"Work"_qs));
        ASSERT_TRUE(settings.SetSlot(0, u"Pri\u00F6rit\u00E4t"_qs));
        ASSERT_TRUE(settings.WriteFirstStartSlots());
    }
    const CSettingsStore reread(IniPath());
    EXPECT_EQ(reread.Slot(0), u"Pri\u00F6rit\u00E4t"_qs);
    EXPECT_EQ(reread.Slot(1), u"None"_qs);
    EXPECT_EQ(reread.Slot(2), u"Work"_qs);
    EXPECT_EQ(reread.Slot(3), u"None"_qs);
    EXPECT_TRUE(reread.HasSlot(1));
}

TEST_F(SettingsStoreTest, TheFirstWriteMakesTheSettingsFolderAndAFailedWriteIsReported)
{
    // A new account has no settings folder yet; the first change must still be kept.
    const QString path = m_dir.filePath(u"new/folders/settings.ini"_qs);
    ASSERT_TRUE(CSettingsStore(path).SetStorage(u"Storage Card"_qs));
    EXPECT_EQ(CSettingsStore(path).Storage(), u"Storage Card"_qs);

    // A plain file where the settings' folder should be: nothing can be stored below it.
    ASSERT_TRUE(WriteAll(m_dir.filePath(u"blocker"_qs), "x"));
    CSettingsStore settings(m_dir.filePath(u"blocker/settings.ini"_qs));
    EXPECT_FALSE(settings.SetStorage(u"Storage Card"_qs));
    EXPECT_FALSE(settings.SetSlot(0, u"Task"_qs));
    EXPECT_FALSE(CSettingsStore(IniPath()).SetSlot(7, u"Task"_qs));
}

TEST_F(SettingsStoreTest, AChosenHomeKeepsTheSettingsInside)
{
    const testsupport::CScopedEnv home("PARLANTOGRAPHER_HOME", m_dir.path().toStdString());
    {
        CSettingsStore settings;
        EXPECT_EQ(settings.Location(), IniPath());
        EXPECT_TRUE(settings.SetStorage(u"Storage Card"_qs) && settings.SetFormat(3));
    }
    const CSettingsStore reread(IniPath());
    EXPECT_EQ(reread.Storage(), u"Storage Card"_qs);
    EXPECT_EQ(reread.Format(), 3);
}

} // namespace
