#include "store/settingsstore.h"
#include "testfiles.h"

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
    EXPECT_EQ(settings.Slot(0), u"Priority"_qs);
    EXPECT_EQ(settings.Slot(1), u"Contacts"_qs);
    EXPECT_EQ(settings.Slot(2), u"Task"_qs);
    EXPECT_EQ(settings.Slot(3), u"None"_qs);
    EXPECT_EQ(settings.Slot(4), u"None"_qs);
    EXPECT_EQ(settings.Format(), 0);
    EXPECT_EQ(settings.Storage(), u"Device memory"_qs);
    EXPECT_TRUE(settings.AppPath().isEmpty());
    for (int slot = 0; slot < CSettingsStore::kSlotCount; ++slot)
        EXPECT_FALSE(settings.HasSlot(slot));
}

TEST_F(SettingsStoreTest, FirstStartFillsOnlyTheSlotsNotStoredYet)
{
    {
        CSettingsStore settings(IniPath());
        ASSERT_TRUE(settings.SetSlot(2, u"Work"_qs));
        ASSERT_TRUE(settings.WriteFirstStartSlots());
    }
    const CSettingsStore reread(IniPath());
    EXPECT_EQ(reread.Slot(0), u"Priority"_qs);
    EXPECT_EQ(reread.Slot(1), u"None"_qs);
    EXPECT_EQ(reread.Slot(2), u"Work"_qs);
    EXPECT_EQ(reread.Slot(3), u"None"_qs);
    EXPECT_TRUE(reread.HasSlot(1));
}

TEST_F(SettingsStoreTest, ValuesSurviveAReopen)
{
    {
        CSettingsStore settings(IniPath());
        ASSERT_TRUE(settings.SetFormat(3));
        ASSERT_TRUE(settings.SetStorage(u"Storage Card"_qs));
        ASSERT_TRUE(settings.SetAppPath(u"/opt/p/"_qs));
        ASSERT_TRUE(settings.SetPimFolder(u"/home/u/pim"_qs));
        ASSERT_TRUE(settings.SetSlot(0, u"Pri\u00F6rit\u00E4t"_qs));
    }
    const CSettingsStore reread(IniPath());
    EXPECT_EQ(reread.Format(), 3);
    EXPECT_EQ(reread.Storage(), u"Storage Card"_qs);
    EXPECT_EQ(reread.AppPath(), u"/opt/p/"_qs);
    EXPECT_EQ(reread.PimFolder(), u"/home/u/pim"_qs);
    EXPECT_EQ(reread.Slot(0), u"Pri\u00F6rit\u00E4t"_qs);
}

TEST_F(SettingsStoreTest, AFormatThatIsNotANumberReadsAsZero)
{
    ASSERT_TRUE(WriteAll(IniPath(), "[General]\nFormat=speex\n"));
    EXPECT_EQ(CSettingsStore(IniPath()).Format(), 0);
}

TEST_F(SettingsStoreTest, AFailedWriteIsReported)
{
    // A plain file where the settings' folder should be: nothing can be stored below it.
    const QString blocker = m_dir.filePath(u"blocker"_qs);
    ASSERT_TRUE(WriteAll(blocker, "x"));
    CSettingsStore settings(blocker + u"/settings.ini"_qs);
    EXPECT_FALSE(settings.SetStorage(u"Storage Card"_qs));
    EXPECT_FALSE(settings.SetSlot(0, u"Task"_qs));
    EXPECT_FALSE(settings.SetSlot(7, u"Task"_qs));
    EXPECT_EQ(QString::fromUtf8(CSettingsStore::kWriteFailedMessage),
              u"Problems with writing to the registry"_qs);
}

TEST_F(SettingsStoreTest, AChosenHomeKeepsTheSettingsInside)
{
    const QByteArray previous = qgetenv("PARLANTOGRAPHER_HOME");
    const bool hadPrevious = qEnvironmentVariableIsSet("PARLANTOGRAPHER_HOME");
    qputenv("PARLANTOGRAPHER_HOME", m_dir.path().toUtf8());
    {
        CSettingsStore settings;
        EXPECT_EQ(settings.Location(), m_dir.filePath(u"settings.ini"_qs));
        EXPECT_TRUE(settings.SetFormat(2));
    }
    EXPECT_EQ(CSettingsStore(IniPath()).Format(), 2);
    if (hadPrevious)
        qputenv("PARLANTOGRAPHER_HOME", previous);
    else
        qunsetenv("PARLANTOGRAPHER_HOME");
}

} // namespace
