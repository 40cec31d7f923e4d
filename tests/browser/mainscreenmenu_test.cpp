#include "app/memorycheck.h"
#include "app/parlantographerdlg.h"
#include "app/recordingcontroller.h"
#include "app/recordingsink.h"
#include "audio/audiomanager.h"
#include "browser/playbacksession.h"
#include "browser/propertyall.h"
#include "browser/recordspane.h"
#include "browser/renamegroup.h"
#include "browser/renametag.h"
#include "browser/tagmanagerdlg.h"
#include "browsertestsupport.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"
#include "store/settingsstore.h"
#include "store/storage.h"
#include "support/tap.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>

namespace {

// The windows the main screen opens from its menu, over a temporary home: a storage without
// cards, no contacts or tasks, recorded messages, plenty of memory and an empty mount table.
class MainScreenMenu : public ::testing::Test
{
protected:
    void Open()
    {
        ASSERT_TRUE(WriteAll(home.filePath("mounts"), QByteArray()));
        screen = std::make_unique<CParlantographerDlg>(CParlantographerDlg::SContext{
            audio, settings, storage, pim, sink, memory, home.filePath("mounts")});
        screen->show();
        screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }

    QTemporaryDir home;
    CAudioManager audio;
    CSettingsStore settings{home.filePath("settings.ini")};
    CStorage storage{settings, {home.path() + "/", home.path() + "/Data/", [] {
                                    return QList<SStorageCard>{};
                                }}};
    CFakePimSource pim;
    CRecordingSink sink;
    CMemoryCheck memory{[] {
        return std::optional<std::uint64_t>(1ull << 30);
    }};
    std::unique_ptr<CParlantographerDlg> screen;
};

// The browser opens over the records the screen finds, by menu and by key.
TEST_F(MainScreenMenu, PlayerOpensTheRecordsOfTheDataFolder)
{
    ASSERT_TRUE(WriteAll(home.filePath("Data/01042027_080000.wav"),
                         Wav(Info("Priority", "Important", "", ""))));
    Open();
    EXPECT_TRUE(screen->PlayerAction()->isEnabled());
    EXPECT_TRUE(screen->PlayerMenuAction()->isEnabled());

    int opened = 0;
    const auto check = [&opened](CFindRecordDlg& browser) {
        ++opened;
        EXPECT_EQ(browser.AllPage()->ListedNames(), QStringList{"01042027_080000.wav"});
        browser.reject();
    };
    WhenModal<CFindRecordDlg>(check);
    QTest::keyClick(screen.get(), Qt::Key_B, Qt::ControlModifier);
    WhenModal<CFindRecordDlg>(check);
    screen->PlayerAction()->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(sink.messages.empty());
}

// At a desktop's width the records stand beside the recorder: the pane lists them, takes
// "Player" and Ctrl+B, opens the browser window from its menu (the pane's playback stops
// first), and shows a memo just recorded, or written by another program, selected and in sight.
TEST_F(MainScreenMenu, AtDesktopWidthThePaneListsTheRecordsAndEveryNewOne)
{
    const QString data = home.path() + "/Data/";
    for (int day = 1; day <= 28; ++day)
        ASSERT_TRUE(
            WriteAll(data + QString("02%1").arg(day, 2, 10, QLatin1Char('0')) + "2020_080000.wav",
                     Wav(Info("Priority", "Important", "", ""), 5 * 8000)));
    Open();
    EXPECT_EQ(screen->RecordsPane(), nullptr); // a narrow window reads no record
    screen->resize(1280, 800);
    QApplication::processEvents();
    CRecordsPane* pane = screen->RecordsPane();
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(pane->isVisible());
    CBrowserPage& page = *pane->Page();
    EXPECT_EQ(page.ListedNames().size(), 28);

    // A window that opens where none should is closed, and the test fails.
    QTimer::singleShot(2000, qApp, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a window opened";
            modal->close();
        }
    });
    QTest::keyClick(screen.get(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), page.RecordListWidget());
    QTest::keyClick(page.RecordListWidget(), Qt::Key_Space);
    ASSERT_TRUE(pane->Session().IsPlaying());
    bool opened = false;
    WhenModal<CFindRecordDlg>([&](CFindRecordDlg& browser) {
        opened = true;
        EXPECT_FALSE(pane->Session().IsPlaying());
        browser.reject();
    });
    pane->BrowserAction()->trigger();
    EXPECT_TRUE(opened);

    const auto expectShown = [&page](const QString& name) {
        EXPECT_EQ(page.SelectedName(), name);
        QListView* list = page.RecordListWidget();
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(list->currentIndex())))
            << name.toStdString();
    };
    screen->Recording().OnRecord();
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    EXPECT_FALSE(pane->isEnabled());
    QTest::qWait(300);
    screen->Recording().OnRecord();
    ASSERT_FALSE(screen->IsRecording());
    EXPECT_TRUE(pane->isEnabled());
    ASSERT_EQ(page.ListedNames().size(), 29);
    expectShown(QFileInfo(screen->Recording().CurrentPath()).fileName());

    ASSERT_TRUE(WriteAll(data + "Copied.wav", Wav(Info("", "", "", "Ann Lee"))));
    EXPECT_TRUE(QTest::qWaitFor([&page] { return page.ListedNames().size() == 30; }, 5000));
    expectShown("Copied.wav");
    EXPECT_TRUE(sink.messages.empty()) << sink.Texts().join('|').toStdString();
}

// A group renamed in the tag manager is what the slot shows afterwards.
TEST_F(MainScreenMenu, TagManagerRenamesTheGroupItsSlotShowsOnOk)
{
    Open();
    ASSERT_TRUE(screen->TagManagerAction()->isEnabled());
    ASSERT_EQ(screen->Slot(0)->Kind(), "Priority");
    WhenModal<CTagManagerDlg>([](CTagManagerDlg& manager) {
        WhenModal<CRenameGroup>([&manager](CRenameGroup& rename) {
            rename.NameEdit()->setText("Urgency");
            rename.accept();
            QTimer::singleShot(0, &manager, &CTagManagerDlg::accept);
        });
        QTest::mouseClick(manager.Button("renameGroup"), Qt::LeftButton);
    });
    screen->TagManagerAction()->trigger();
    EXPECT_EQ(screen->Slot(0)->Kind(), "Urgency");
    EXPECT_EQ(screen->Slot(0)->Items(), (QStringList{"Important", "Normal", "Inessential"}));
    EXPECT_TRUE(sink.messages.empty());
}

// Whatever the tag manager ends with, the choices made in the slots stay: untouched after
// Cancel, and after OK under the new names of what it renamed.
TEST_F(MainScreenMenu, TheTagManagerKeepsTheSlotsChoices)
{
    ASSERT_TRUE(settings.SetSlot(1, "Contacts"));
    ASSERT_TRUE(settings.SetSlot(2, "Task"));
    pim.contacts = {{"Ann", {}, "Lee"}, {"Bo", {}, "Chan"}};
    pim.tasks = {{"Call back", {}}, {"Write report", {}}};
    Open();
    TapText(screen->Slot(0)->ListView(), "Important");
    TapText(screen->Slot(1)->ListView(), "Bo Chan");
    TapText(screen->Slot(2)->ListView(), "Write report");
    const auto expectChoices = [this](const QString& group, const QString& tag) {
        EXPECT_EQ(screen->Slot(0)->Kind(), group);
        EXPECT_EQ(screen->Slot(0)->SelectedItems(), QStringList{tag});
        EXPECT_EQ(screen->Slot(1)->SelectedItems(), QStringList{"Bo Chan"});
        EXPECT_EQ(screen->Slot(2)->SelectedItems(), QStringList{"Write report"});
    };

    WhenModal<CTagManagerDlg>([](CTagManagerDlg& manager) { manager.reject(); });
    screen->TagManagerAction()->trigger();
    expectChoices("Priority", "Important");

    const auto rename = [](CTagManagerDlg& manager, const char* button, const QString& name) {
        WhenModal<CNameDlg>([name](CNameDlg& dialog) {
            dialog.NameEdit()->setText(name);
            dialog.accept();
        });
        QTest::mouseClick(manager.Button(button), Qt::LeftButton);
    };
    WhenModal<CTagManagerDlg>([&rename](CTagManagerDlg& manager) {
        manager.TagList()->setCurrentRow(0); // Important
        rename(manager, "renameTag", "Vital");
        rename(manager, "renameTag", "Urgent");
        rename(manager, "renameGroup", "Urgency");
        manager.accept();
    });
    screen->TagManagerAction()->trigger();
    expectChoices("Urgency", "Urgent");
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
