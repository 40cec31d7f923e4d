#include "app/memorycheck.h"
#include "app/parlantographerdlg.h"
#include "app/recordbutton.h"
#include "app/recordingsink.h"
#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"
#include "desktoppim/chosenpimsource.h"
#include "edsteststore.h"
#include "store/settingsstore.h"
#include "store/storage.h"
#include "support/qtsupport.h"
#include "support/tap.h"

#include <QTemporaryDir>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

const QString kZoe = u"Zo\u00EB \u00C5ngstr\u00F6m"_qs;

// The main screen over a temporary home, its first slots showing contacts and tasks from
// where the setting says.
class DesktopScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteAll(mountTable, "/dev/sda1 / ext4 rw 0 0\n"));
        for (const auto& [slot, kind] : {std::pair{0, "Priority"}, {1, "Contacts"}, {2, "Task"}})
            settings.SetSlot(slot, kind);
        settings.SetSlot(3, "None");
    }

    void Open(EPimOrigin origin)
    {
        settings.SetPimSource(origin);
        pim = std::make_unique<CChosenPimSource>(settings.PimSource(), home.filePath("pim"));
        screen = std::make_unique<CParlantographerDlg>(CParlantographerDlg::SContext{
            audio, settings, storage, *pim, sink, memory, mountTable});
        screen->RecordButton()->SetClock([this] { return now; });
        screen->RecordButton()->SetFreeBytesProvider([] { return 1e9; });
        screen->resize(480, 640);
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    }

    void TapRecord()
    {
        now += 2000;
        QTest::mouseClick(screen->RecordButton(), Qt::LeftButton);
    }

    QString InfoOfOnlyRecord() const
    {
        const QStringList records = QDir(data).entryList(QDir::Files);
        EXPECT_EQ(records.size(), 1);
        return records.size() != 1
                   ? QString()
                   : QString::fromUtf8(screen->AudioManager()
                                           .GetTagger()
                                           .ReadRecordInfo((data + records.first()).toStdString())
                                           .c_str()); // up to the padding after the text
    }

    QTemporaryDir home;
    QString data = home.path() + "/Data/";
    QString mountTable = home.filePath("mounts");
    CAudioManager audio;
    CSettingsStore settings{home.filePath("settings.ini")};
    CStorage storage{settings, {home.path() + "/", data, [] {
                                    return QList<SStorageCard>{};
                                }}};
    CRecordingSink sink;
    CMemoryCheck memory{[] {
        return std::optional<std::uint64_t>(1ull << 30);
    }};
    std::int64_t now = 100000;
    std::unique_ptr<CChosenPimSource> pim;
    std::unique_ptr<CParlantographerDlg> screen;
};

TEST_F(DesktopScreenTest, SlotsOfferTheDesktopsContactsAndTasksChangesAndAMemoHoldsThem)
{
    CEdsTestStore service;
    service.AddContact(CEdsTestStore::kPersonalBook,
                       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:\xC3\x85ngstr\xC3\xB6m;Zo\xC3\xAB;;;\r\n"
                       "END:VCARD\r\n");
    service.AddTask(CEdsTestStore::kPersonalTasks,
                    "BEGIN:VTODO\r\nUID:1\r\nSUMMARY:Call the plumber\r\nEND:VTODO\r\n");
    Open(EPimOrigin::Desktop);
    EXPECT_THAT(screen->Slot(1)->Items(), ElementsAre(kZoe));
    EXPECT_THAT(screen->Slot(2)->Items(), ElementsAre("Call the plumber"));

    // Added in another program while the window is open: listed without a restart.
    service.AddContact(CEdsTestStore::kPersonalBook,
                       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n");
    EXPECT_TRUE(QTest::qWaitFor([this] { return screen->Slot(1)->Items().size() == 2; }, 10000));
    EXPECT_THAT(screen->Slot(1)->Items(), ElementsAre(kZoe, "Ann Lee"));

    TapText(screen->Slot(1)->ListView(), kZoe);
    TapText(screen->Slot(2)->ListView(), "Call the plumber");
    TapRecord();
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    TapRecord();
    EXPECT_EQ(InfoOfOnlyRecord(), "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\nCall the plumber\n"
                                  "[[Contacts]]\n" +
                                      kZoe + "\n");
    EXPECT_TRUE(sink.messages.empty()) << sink.Texts().join('|').toStdString();
}

} // namespace
