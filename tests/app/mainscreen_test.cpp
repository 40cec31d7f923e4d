#include "app/showalldlg.h"
#include "app/signalwatcher.h"
#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "controls/glyphbutton.h"
#include "controls/headerbutton.h"
#include "controls/inplaceedit.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"
#include "mainscreenfixture.h"
#include "store/tagcatalogue.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <csignal>

namespace {

void TapItem(CSlotList* slot, const QString& text)
{
    const int row = static_cast<int>(slot->Items().indexOf(text));
    ASSERT_GE(row, 0) << text.toStdString();
    CSlotListView* view = slot->ListView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualItemRect(view->item(row)).center());
}

QString InfoOf(CParlantographerDlg& screen, const QString& path)
{
    const std::string info = screen.AudioManager().GetTagger().ReadRecordInfo(path.toStdString());
    return QString::fromUtf8(info.c_str());
}

TEST_F(MainScreenTest, FirstStartShowsPriorityAndHidesTheOtherSlots)
{
    Open();
    CSlotList* first = screen->Slot(0);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->Kind(), "Priority");
    EXPECT_EQ(first->Items(), (QStringList{"Important", "Normal", "Inessential"}));
    for (int i = 1; i < 4; ++i) {
        EXPECT_FALSE(screen->Slot(i)->isVisible()) << i;
        EXPECT_EQ(settings->Slot(i), "None") << i;
        EXPECT_FALSE(screen->IsSlotVisible(i)) << i;
    }
    EXPECT_EQ(settings->Slot(0), "Priority");
    EXPECT_TRUE(QFile::exists(home.filePath("groups.dat")));
    EXPECT_TRUE(sink.messages.empty());
    // The parts that come later are offered but not yet usable.
    EXPECT_FALSE(screen->TagManagerAction()->isEnabled());
    EXPECT_FALSE(screen->LocationManagerAction()->isEnabled());
    EXPECT_FALSE(screen->PlayerAction()->isEnabled());
    EXPECT_TRUE(screen->SettingsAction()->isEnabled());
}

TEST_F(MainScreenTest, ARecordCarriesTheChosenTagsInItsInformation)
{
    Open();
    TapItem(screen->Slot(0), "Important");
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    EXPECT_FALSE(screen->Slot(0)->isEnabled());
    EXPECT_FALSE(screen->SettingsAction()->isEnabled());
    EXPECT_TRUE(screen->RecordButton()->IsRecordingFace());
    QTest::qWait(300);
    TapRecordAfter(2000);
    ASSERT_FALSE(screen->IsRecording());
    EXPECT_TRUE(screen->Slot(0)->isEnabled());
    EXPECT_FALSE(screen->RecordButton()->IsRecordingFace());

    const QStringList records = Records(home.path() + "/Data");
    ASSERT_EQ(records.size(), 1);
    EXPECT_TRUE(records.first().endsWith(".wav"));
    EXPECT_EQ(InfoOf(*screen, home.path() + "/Data/" + records.first()),
              "*ParlantographerInfo*\n[[Tags]]\n[Priority]\nImportant\n[[Tasks]]\n"
              "[[Contacts]]\n");
    EXPECT_TRUE(sink.messages.empty()) << sink.Texts().join('|').toStdString();
}

TEST_F(MainScreenTest, ASecondTapWithinTheGuardDoesNothing)
{
    Open();
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    TapRecordAfter(1999);
    EXPECT_TRUE(screen->IsRecording());
    TapRecordAfter(1);
    EXPECT_FALSE(screen->IsRecording());
}

TEST_F(MainScreenTest, TooLittleFreeSpaceRefusesToStart)
{
    Open();
    freeBytes = 999999;
    TapRecordAfter(0);
    EXPECT_FALSE(screen->IsRecording());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].caption, "Not enough memory to continue operation");
    EXPECT_EQ(sink.messages[0].text,
              "The program requires at least 1 MB of free memory to continue with recording.");
    EXPECT_TRUE(Records(home.path() + "/Data").isEmpty());

    freeBytes = 1000000;
    TapRecordAfter(2000);
    EXPECT_TRUE(screen->IsRecording());
    // Stopping with exactly the reserve left saves, then still warns.
    TapRecordAfter(2000);
    EXPECT_FALSE(screen->IsRecording());
    EXPECT_EQ(Records(home.path() + "/Data").size(), 1);
    EXPECT_EQ(sink.messages.size(), 2u);
}

TEST_F(MainScreenTest, RunningOutOfSpaceStopsSavesAndExplains)
{
    Open();
    TapItem(screen->Slot(0), "Normal");
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    freeBytes = 999999;
    screen->RecordButton()->Tick();
    EXPECT_FALSE(screen->IsRecording());
    const QStringList records = Records(home.path() + "/Data");
    ASSERT_EQ(records.size(), 1);
    EXPECT_TRUE(InfoOf(*screen, home.path() + "/Data/" + records.first()).contains("\nNormal\n"));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, CParlantographerDlg::FreeSpaceText());
}

TEST_F(MainScreenTest, ExitDuringARecordingSavesItWithItsInformation)
{
    Open();
    TapItem(screen->Slot(0), "Inessential");
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    QTest::qWait(200);
    screen->OnAppExit();
    EXPECT_FALSE(screen->IsRecording());
    EXPECT_FALSE(screen->isVisible());
    const QStringList records = Records(home.path() + "/Data");
    ASSERT_EQ(records.size(), 1);
    EXPECT_TRUE(InfoOf(*screen, home.path() + "/Data/" + records.first())
                    .contains("[Priority]\nInessential\n"));
}

TEST_F(MainScreenTest, ClosingTheWindowWhileRecordingSavesToo)
{
    Open();
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    screen->close();
    EXPECT_FALSE(screen->IsRecording());
    const QStringList records = Records(home.path() + "/Data");
    ASSERT_EQ(records.size(), 1);
    EXPECT_TRUE(InfoOf(*screen, home.path() + "/Data/" + records.first())
                    .startsWith("*ParlantographerInfo*\n"));
}

TEST_F(MainScreenTest, ATerminationSignalSavesTheRecordingThroughTheExitPath)
{
    Open();
    CSignalWatcher watcher;
    QObject::connect(&watcher, &CSignalWatcher::Terminated, screen.get(),
                     [this](int) { screen->OnAppExit(); });
    TapItem(screen->Slot(0), "Important");
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !screen->isVisible(); }, 3000));
    EXPECT_FALSE(screen->IsRecording());
    const QStringList records = Records(home.path() + "/Data");
    ASSERT_EQ(records.size(), 1);
    EXPECT_TRUE(InfoOf(*screen, home.path() + "/Data/" + records.first()).contains("Important"));
}

TEST_F(MainScreenTest, RemovingTheCardStopsARecordingOnTheCardOnly)
{
    ASSERT_TRUE(QDir().mkpath(cardFolder));
    settings->SetStorage("Device memory");
    Open();
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    screen->OnVolumeRemoved(cardFolder);
    EXPECT_TRUE(screen->IsRecording()); // recording to device memory: ignored
    TapRecordAfter(2000);
    ASSERT_FALSE(screen->IsRecording());

    settings->SetStorage("CARD");
    TapRecordAfter(2000);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    const QString path = screen->CurrentRecordPath();
    EXPECT_TRUE(path.startsWith(cardFolder)) << path.toStdString();
    screen->OnVolumeRemoved(cardFolder);
    EXPECT_FALSE(screen->IsRecording());
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages.back().text,
              "The storage card has been removed while recording.\nThe record is being recorded "
              "may be corrupted!");
    EXPECT_TRUE(InfoOf(*screen, path).startsWith("*ParlantographerInfo*"));
}

TEST_F(MainScreenTest, TheMountTableReportsARemovedCard)
{
    ASSERT_TRUE(QDir().mkpath(cardFolder));
    settings->SetStorage("CARD");
    Open();
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    WriteMounts(false);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !screen->IsRecording(); }, 3000));
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages.back().text, CParlantographerDlg::CardRemovedText());
}

TEST_F(MainScreenTest, RefillingKeepsItemsOnceAndSelectionsInPlace)
{
    Open();
    TapItem(screen->Slot(0), "Normal");
    CTagCatalogue catalogue(home.path() + "/");
    ASSERT_EQ(catalogue.AddTag("Priority", "Urgent"), ECatalogueResult::Ok);
    screen->FillSlots(false);
    screen->FillSlots(false);
    EXPECT_EQ(screen->Slot(0)->Items(),
              (QStringList{"Important", "Normal", "Inessential", "Urgent"}));
    EXPECT_EQ(screen->Slot(0)->SelectedItems(), QStringList{"Normal"});
    screen->FillSlots(true);
    EXPECT_TRUE(screen->Slot(0)->SelectedItems().isEmpty());
}

TEST_F(MainScreenTest, SlotsListTheirKindsAndTaskSlotsHoldOneChoice)
{
    settings->SetSlot(0, "Priority");
    settings->SetSlot(1, "Contacts");
    settings->SetSlot(2, "Task");
    settings->SetSlot(3, "None");
    pim.contacts = {{"Ann", "", "Lee"}, {"", "", "Chan"}, {"", "", ""}, {"Ann", "", "Lee"}};
    pim.tasks = {{"  Call back ", {}}, {"Write report", {}}, {"Call back", {}}};
    Open();
    EXPECT_EQ(screen->Slot(1)->Items(), (QStringList{"Ann Lee", "Chan"}));
    EXPECT_EQ(screen->Slot(2)->Items(), (QStringList{"Call back", "Write report"}));
    EXPECT_FALSE(screen->Slot(3)->isVisible());
    TapItem(screen->Slot(2), "Call back");
    TapItem(screen->Slot(2), "Write report");
    TapItem(screen->Slot(1), "Ann Lee");
    TapItem(screen->Slot(1), "Chan");
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    TapRecordAfter(2000);
    const QStringList records = Records(home.path() + "/Data");
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(InfoOf(*screen, home.path() + "/Data/" + records.first()),
              "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\nWrite report\n[[Contacts]]\n"
              "Ann Lee\nChan\n");
}

TEST_F(MainScreenTest, HiddenSlotsContributeNothing)
{
    settings->SetSlot(0, "Priority");
    settings->SetSlot(1, "Contacts");
    settings->SetSlot(2, "None");
    settings->SetSlot(3, "Task");
    pim.tasks = {{"Call back", {}}};
    Open();
    TapItem(screen->Slot(3), "Call back");
    screen->resize(480, 520); // two rows: slot 4 goes out of sight
    QTest::qWait(50);
    ASSERT_FALSE(screen->IsSlotVisible(3));
    TapRecordAfter(0);
    ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    TapRecordAfter(2000);
    const QStringList records = Records(home.path() + "/Data");
    ASSERT_EQ(records.size(), 1);
    EXPECT_FALSE(InfoOf(*screen, home.path() + "/Data/" + records.first()).contains("Call back"));
}

TEST_F(MainScreenTest, InformationThatDoesNotFitRecordsNothing)
{
    CTagCatalogue catalogue(home.path() + "/");
    ASSERT_TRUE(catalogue.EnsureDefaultGroups());
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(catalogue.AddTag("Priority", QString(120, QChar('a' + i))), ECatalogueResult::Ok);
    Open();
    QList<bool> all(screen->Slot(0)->Items().size(), true);
    screen->Slot(0)->SetSelectionStates(all);
    TapRecordAfter(0);
    EXPECT_FALSE(screen->IsRecording());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Impossible to add this amount of information to the record.");
    EXPECT_TRUE(Records(home.path() + "/Data").isEmpty());
}

TEST_F(MainScreenTest, TypingANewTagAddsItFirstToItsGroup)
{
    Open();
    QTest::mouseClick(screen->Slot(0)->HeaderButton(), Qt::LeftButton);
    ASSERT_TRUE(screen->Slot(0)->IsEditing());
    QTest::keyClicks(screen->Slot(0)->InPlaceEdit(), " Urgent ");
    QTest::keyClick(screen->Slot(0)->InPlaceEdit(), Qt::Key_Return);
    EXPECT_FALSE(screen->Slot(0)->IsEditing());
    CTagCatalogue catalogue(home.path() + "/");
    EXPECT_EQ(catalogue.ListTagsOfGroup("Priority"),
              (QStringList{"Urgent", "Important", "Normal", "Inessential"}));
    EXPECT_TRUE(screen->Slot(0)->Items().contains("Urgent"));

    QTest::mouseClick(screen->Slot(0)->HeaderButton(), Qt::LeftButton);
    QTest::keyClicks(screen->Slot(0)->InPlaceEdit(), "[bad]");
    QTest::keyClick(screen->Slot(0)->InPlaceEdit(), Qt::Key_Return);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, CTagCatalogue::Message(ECatalogueResult::InvalidName, false));
}

TEST_F(MainScreenTest, ALocationSlotTakesNewLocations)
{
    settings->SetSlot(0, "Priority");
    settings->SetSlot(1, "Location");
    Open();
    QTest::mouseClick(screen->Slot(1)->HeaderButton(), Qt::LeftButton);
    QTest::keyClicks(screen->Slot(1)->InPlaceEdit(), " Office ");
    QTest::keyClick(screen->Slot(1)->InPlaceEdit(), Qt::Key_Return);
    EXPECT_EQ(screen->Slot(1)->Items(), QStringList{"Office"});
    EXPECT_TRUE(screen->Slot(1)->ListView()->IsSingleChoice());
}

TEST_F(MainScreenTest, ASlotWhoseGroupVanishedIsRepaired)
{
    settings->SetSlot(0, "Gone");
    settings->SetSlot(1, "Also gone");
    settings->SetSlot(2, "Task");
    Open();
    EXPECT_EQ(screen->Slot(0)->Kind(), "Priority");
    EXPECT_EQ(settings->Slot(0), "Priority");
    EXPECT_EQ(screen->Slot(1)->Kind(), "None");
    EXPECT_EQ(settings->Slot(1), "None");
    EXPECT_EQ(settings->Slot(2), "Task");
}

TEST_F(MainScreenTest, ShowAllWritesBackOnOkAndNotOnCancel)
{
    Open();
    TapItem(screen->Slot(0), "Normal");
    auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<CShowAllDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QTest::mouseClick(dialog->SelectAllButton(), Qt::LeftButton);
            ok ? dialog->accept() : dialog->reject();
        });
    };
    answer(false);
    QTest::mouseClick(screen->Slot(0)->ShowAllButton(), Qt::LeftButton);
    EXPECT_EQ(screen->Slot(0)->SelectedItems(), QStringList{"Normal"});
    answer(true);
    QTest::mouseClick(screen->Slot(0)->ShowAllButton(), Qt::LeftButton);
    EXPECT_EQ(screen->Slot(0)->SelectedItems(),
              (QStringList{"Important", "Normal", "Inessential"}));
}

TEST_F(MainScreenTest, TheLayoutFollowsTheWindow)
{
    Open();
    screen->resize(1280, 800);
    QTest::qWait(50);
    const QRect button = screen->RecordButton()->geometry();
    EXPECT_GT(button.width(), 1200);
    EXPECT_GT(button.height(), 100);
    EXPECT_EQ(screen->Slot(0)->geometry().height(), 400); // alone: all four rows
}

} // namespace
