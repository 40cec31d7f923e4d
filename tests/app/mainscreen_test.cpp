#include "app/memorycheck.h"
#include "app/parlantographerdlg.h"
#include "app/recordbutton.h"
#include "app/recordingcontroller.h"
#include "app/showalldlg.h"
#include "app/signalwatcher.h"
#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "controls/glyphbutton.h"
#include "controls/headerbutton.h"
#include "controls/inplaceedit.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"
#include "recordingsink.h"
#include "store/recordingsession.h"
#include "store/settingsstore.h"
#include "store/storage.h"
#include "store/tagcatalogue.h"
#include "support/casename.h"
#include "support/fakepimsource.h"
#include "support/qtsupport.h"
#include "support/tap.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A main screen over a temporary home, with recorded message boxes, a hand-moved clock
// and free space chosen by the test.
class MainScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        WriteMounts(true);
    }

    // Opens the window as the program does: the layout it gets is the one it shows.
    void Open(QSize size = {480, 640})
    {
        screen = std::make_unique<CParlantographerDlg>(
            CParlantographerDlg::SContext{audio, settings, storage, pim, sink, memory, mountTable});
        screen->RecordButton()->SetClock([this] { return now; });
        screen->RecordButton()->SetFreeBytesProvider([this] { return freeBytes; });
        screen->resize(size);
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    }

    void OpenForKeys()
    {
        Open();
        screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
        screen->RecordButton()->setFocus();
    }

    // A key to whatever has the focus, as the keyboard would send it.
    void Press(Qt::Key key, int times = 1, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        for (int i = 0; i < times; ++i) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, key, modifiers);
        }
    }

    void Press(std::initializer_list<Qt::Key> keys)
    {
        for (const Qt::Key key : keys)
            Press(key);
    }

    void SetSlots(const QStringList& kinds)
    {
        for (int i = 0; i < kinds.size(); ++i)
            settings.SetSlot(i, kinds[i]);
    }

    void WriteMounts(bool withCard)
    {
        QFile file(mountTable);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("/dev/sda1 / ext4 rw 0 0\n");
        if (withCard)
            file.write(("/dev/sdb1 " + cardFolder + " vfat rw 0 0\n").toUtf8());
    }

    // A tap on the record button `ms` after the previous one.
    void TapRecordAfter(std::int64_t ms)
    {
        now += ms;
        QTest::mouseClick(screen->RecordButton(), Qt::LeftButton);
    }

    void StartRecording()
    {
        TapRecordAfter(2000);
        ASSERT_TRUE(screen->IsRecording()) << sink.Texts().join('|').toStdString();
    }

    void TapItem(int slot, const QString& text) { TapText(screen->Slot(slot)->ListView(), text); }

    QStringList Records() const { return QDir(data).entryList(QDir::Files, QDir::Name); }

    QString InfoOf(const QString& path) // up to the padding after the text
    {
        return QString::fromUtf8(
            screen->AudioManager().GetTagger().ReadRecordInfo(path.toStdString()).c_str());
    }

    QString InfoOfOnlyRecord()
    {
        const QStringList records = Records();
        EXPECT_EQ(records.size(), 1);
        return records.size() == 1 ? InfoOf(data + records.first()) : QString();
    }

    QTemporaryDir home;
    QString data = home.path() + "/Data/";
    QString cardFolder = home.path() + "/media/CARD";
    QString mountTable = home.filePath("mounts");
    CAudioManager audio;
    CSettingsStore settings{home.filePath("settings.ini")};
    CStorage storage{settings, {home.path() + "/", data, [this] {
                                    return QList<SStorageCard>{{"CARD", cardFolder}};
                                }}};
    CFakePimSource pim;
    CRecordingSink sink;
    std::uint64_t availableMemory = 1ull << 30;
    CMemoryCheck memory{[this] {
        return std::optional<std::uint64_t>(availableMemory);
    }};
    std::int64_t now = 100000;
    double freeBytes = 1e9;
    std::unique_ptr<CParlantographerDlg> screen;
};

template <typename Param>
class MainScreenWith : public MainScreenTest, public ::testing::WithParamInterface<Param>
{
};

TEST_F(MainScreenTest, ARecordCarriesTheChosenTagsAndTheSlotsAreLockedMeanwhile)
{
    Open();
    TapItem(0, "Important");
    StartRecording();
    EXPECT_FALSE(screen->Slot(0)->isEnabled());
    EXPECT_FALSE(screen->SettingsAction()->isEnabled());
    TapRecordAfter(2000);
    ASSERT_FALSE(screen->IsRecording());
    EXPECT_TRUE(screen->Slot(0)->isEnabled());
    EXPECT_FALSE(screen->RecordButton()->IsRecordingFace());
    EXPECT_TRUE(Records().value(0).endsWith(".wav"));
    EXPECT_EQ(InfoOfOnlyRecord(), "*ParlantographerInfo*\n[[Tags]]\n[Priority]\nImportant\n"
                                  "[[Tasks]]\n[[Contacts]]\n");
    EXPECT_TRUE(sink.messages.empty()) << sink.Texts().join('|').toStdString();
}

TEST_F(MainScreenTest, TooLittleFreeSpaceRefusesToStartAndStopsARecording)
{
    Open();
    freeBytes = 999999;
    TapRecordAfter(2000);
    EXPECT_FALSE(screen->IsRecording());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, CRecordingController::FreeSpaceText());
    EXPECT_TRUE(Records().isEmpty());

    freeBytes = 1000000;
    TapItem(0, "Normal");
    StartRecording();
    screen->RecordButton()->Tick();
    EXPECT_TRUE(screen->IsRecording());
    freeBytes = 999999;
    screen->RecordButton()->Tick();
    EXPECT_FALSE(screen->IsRecording());
    EXPECT_TRUE(InfoOfOnlyRecord().contains("[Priority]\nNormal\n"));
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[1].text, CRecordingController::FreeSpaceText());
}

struct SEnding
{
    const char* name;
    void (*end)(CParlantographerDlg&);
};

using EndingWhileRecording = MainScreenWith<SEnding>;

TEST_P(EndingWhileRecording, SavesTheRecordWithItsInformation)
{
    Open();
    CSignalWatcher watcher;
    QObject::connect(&watcher, &CSignalWatcher::Terminated, screen.get(),
                     [this](int) { screen->OnAppExit(); });
    TapItem(0, "Inessential");
    StartRecording();
    QTest::qWait(200);
    GetParam().end(*screen);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !screen->isVisible(); }, 3000));
    EXPECT_FALSE(screen->IsRecording());
    EXPECT_TRUE(InfoOfOnlyRecord().contains("[Priority]\nInessential\n"));
}

void EndByTheExitCommand(CParlantographerDlg& screen)
{
    screen.OnAppExit();
}
void EndByClosing(CParlantographerDlg& screen)
{
    screen.close();
}
void EndBySignal(CParlantographerDlg&)
{
    std::raise(SIGTERM);
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingWhileRecording,
                         ::testing::Values(SEnding{"by_the_exit_command", EndByTheExitCommand},
                                           SEnding{"by_closing_the_window", EndByClosing},
                                           SEnding{"by_a_termination_signal", EndBySignal}),
                         testsupport::SByName());

TEST_F(MainScreenTest, RemovingTheCardStopsARecordingOnTheCardOnly)
{
    ASSERT_TRUE(QDir().mkpath(cardFolder));
    settings.SetStorage("Device memory");
    Open();
    StartRecording();
    screen->Recording().OnVolumeRemoved(cardFolder);
    EXPECT_TRUE(screen->IsRecording());
    TapRecordAfter(2000);
    ASSERT_FALSE(screen->IsRecording());

    settings.SetStorage("CARD");
    StartRecording();
    const QString path = screen->Recording().CurrentPath();
    EXPECT_TRUE(path.startsWith(cardFolder)) << path.toStdString();
    WriteMounts(false); // the mount table is how the screen learns of it
    EXPECT_TRUE(QTest::qWaitFor([this] { return !screen->IsRecording(); }, 3000));
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages.back().text,
              CRecordingSession::EndMessage(ERecordingEnd::VolumeRemoved));
    EXPECT_TRUE(InfoOf(path).startsWith("*ParlantographerInfo*"));
}

TEST_F(MainScreenTest, ASlotOutOfSightAddsNothingToTheRecord)
{
    SetSlots({"Priority", "Contacts", "Task", "None"});
    pim.contacts = {{"Ann", "", "Lee"}, {"", "", "Chan"}};
    pim.tasks = {{"Write report", {}}};
    Open(QSize(480, 520)); // two rows: the task slot is out of sight
    ASSERT_FALSE(screen->IsSlotVisible(2));
    TapItem(1, "Ann Lee");
    TapItem(1, "Chan");
    screen->Slot(2)->SetSelectionStates({true});
    StartRecording();
    TapRecordAfter(2000);
    EXPECT_EQ(InfoOfOnlyRecord(), "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\n[[Contacts]]\n"
                                  "Ann Lee\nChan\n");
}

TEST_F(MainScreenTest, InformationThatDoesNotFitRecordsNothing)
{
    CTagCatalogue catalogue(home.path() + "/");
    ASSERT_TRUE(catalogue.EnsureDefaultGroups());
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(catalogue.AddTag("Priority", QString(120, QChar('a' + i))), ECatalogueResult::Ok);
    Open();
    screen->Slot(0)->SetSelectionStates(QList<bool>(screen->Slot(0)->Items().size(), true));
    TapRecordAfter(2000);
    EXPECT_FALSE(screen->IsRecording());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Impossible to add this amount of information to the record.");
    EXPECT_TRUE(Records().isEmpty());
}

struct SRepair
{
    const char* name;
    QStringList stored;
    QStringList shown; // also what is stored afterwards
};

using StoredSlotKinds = MainScreenWith<SRepair>;

TEST_P(StoredSlotKinds, AreRepairedStoredAndShownAtStartUp)
{
    SetSlots(GetParam().stored);
    Open();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(screen->Slot(i)->Kind(), GetParam().shown[i]) << i;
        EXPECT_EQ(settings.Slot(i), GetParam().shown[i]) << i;
        EXPECT_EQ(screen->IsSlotVisible(i), GetParam().shown[i] != "None") << i;
        EXPECT_EQ(screen->Slot(i)->isVisible(), GetParam().shown[i] != "None") << i;
    }
    EXPECT_TRUE(sink.messages.empty()) << sink.Texts().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, StoredSlotKinds,
                         ::testing::Values(
                             // the first start: only the first slot shows something
                             SRepair{"nothing_stored", {}, {"Priority", "None", "None", "None"}},
                             // one slot per kind: a second task slot would give a record two tasks
                             SRepair{"repeated_kinds",
                                     {"Task", "Contacts", "Task", "Contacts"},
                                     {"Task", "Contacts", "None", "None"}}),
                         testsupport::SByName());

TEST_F(MainScreenTest, ShowAllWritesBackOnOkAndNotOnCancel)
{
    Open();
    TapItem(0, "Normal");
    const QStringList all{"Important", "Normal", "Inessential"};
    for (const auto& [ok, selected] : {std::pair{false, QStringList{"Normal"}}, {true, all}}) {
        QTimer::singleShot(0, [ok = ok] {
            auto* dialog = qobject_cast<CShowAllDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QTest::mouseClick(dialog->SelectAllButton(), Qt::LeftButton);
            ok ? dialog->accept() : dialog->reject();
        });
        QTest::mouseClick(screen->Slot(0)->ShowAllButton(), Qt::LeftButton);
        EXPECT_EQ(screen->Slot(0)->SelectedItems(), selected) << (ok ? "OK" : "Cancel");
    }
}

struct SFirstLayout
{
    const char* name;
    QSize size;
    int slotsShown;
};

using FirstLayout = MainScreenWith<SFirstLayout>;

// Wider than 720 px (and narrower than the records pane needs) the slots and the button form
// a centred column.
TEST_P(FirstLayout, CountsTheMenuBarWithoutALaterResizeAndCentresTheColumn)
{
    SetSlots({"Priority", "Contacts", "Task", "Location"});
    Open(GetParam().size);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(screen->Slot(i)->isVisible(), i < GetParam().slotsShown) << i;
    // Nothing is laid out below the window's bottom edge.
    EXPECT_LE(screen->RecordButton()->geometry().bottom(), screen->centralWidget()->height());
    const QRect slot = screen->Slot(0)->geometry();
    EXPECT_LE(slot.width(), 720);
    EXPECT_NEAR(slot.center().x(), screen->centralWidget()->width() / 2, 2);
    EXPECT_EQ(screen->RecordButton()->geometry().left(), slot.left());
}

INSTANTIATE_TEST_SUITE_P(Sizes, FirstLayout,
                         ::testing::Values(SFirstLayout{"small_phone_240x320", {240, 320}, 2},
                                           // a desktop window never loses its first slot
                                           SFirstLayout{"tiny_200x100", {200, 100}, 1},
                                           SFirstLayout{"wide_900x800", {900, 800}, 4}),
                         testsupport::SByName());

TEST_F(MainScreenTest, UpAndDownVisitEveryVisiblePositionAndSkipEmptyLists)
{
    SetSlots({"Priority", "None", "Contacts", "None"}); // no contacts: an empty list
    OpenForKeys();
    CSlotList* first = screen->Slot(0);
    CSlotList* third = screen->Slot(2);
    const QList<QWidget*> expected{first->HeaderButton(),  first->ListView(),
                                   first->ShowAllButton(), first->ClearButton(),
                                   third->HeaderButton(),  third->ShowAllButton(),
                                   third->ClearButton(),   screen->RecordButton()};
    const auto visit = [&](Qt::Key key) {
        QList<QWidget*> visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            Press(key);
            visited << QApplication::focusWidget();
        }
        return visited;
    };
    EXPECT_EQ(visit(Qt::Key_Down), expected);
    QList<QWidget*> reversed(expected.rbegin() + 1, expected.rend());
    reversed << screen->RecordButton();
    EXPECT_EQ(visit(Qt::Key_Up), reversed);
    // Tab still works the usual way.
    screen->RecordButton()->setFocus();
    Press(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), screen->RecordButton());
}

TEST_F(MainScreenTest, ATagATaskAndAContactChosenAndRecordedWithTheKeyboardAlone)
{
    SetSlots({"Priority", "Contacts", "Task", "None"});
    pim.contacts = {{"Ann", "", "Lee"}, {"", "", "Chan"}};
    pim.tasks = {{"Call back", {}}, {"Write report", {}}};
    OpenForKeys();
    // Into a list, Return for its item mode (the mark on the first), Down, Return, and out.
    Press({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return, Qt::Key_Down, Qt::Key_Return, Qt::Key_Left});
    // Past show all and clear to the next list; Return twice chooses "Ann Lee".
    Press(Qt::Key_Down, 4);
    Press({Qt::Key_Return, Qt::Key_Return, Qt::Key_Right});
    Press(Qt::Key_Down, 4);
    Press({Qt::Key_Return, Qt::Key_Down, Qt::Key_Return, Qt::Key_Left}); // "Write report"
    EXPECT_EQ(screen->Slot(0)->SelectedItems(), QStringList{"Normal"});
    EXPECT_EQ(screen->Slot(1)->SelectedItems(), QStringList{"Ann Lee"});
    EXPECT_EQ(screen->Slot(2)->SelectedItems(), QStringList{"Write report"});

    // Ctrl+R meets the button's guard: one within two seconds is ignored, as a tap would be.
    for (const auto& [after, recording] : {std::pair{2000, true}, {1000, true}, {1000, false}}) {
        now += after;
        Press(Qt::Key_R, 1, Qt::ControlModifier);
        ASSERT_EQ(screen->IsRecording(), recording) << sink.Texts().join('|').toStdString();
    }
    EXPECT_EQ(InfoOfOnlyRecord(), "*ParlantographerInfo*\n[[Tags]]\n[Priority]\nNormal\n"
                                  "[[Tasks]]\nWrite report\n[[Contacts]]\nAnn Lee\n");
}

// Ctrl+P and the face's button pause and resume; the face and the menu say which, and a
// stop during a pause saves the record as any stop does.
TEST_F(MainScreenTest, APauseIsToggledByItsKeyAndButtonAndEndsWithTheRecording)
{
    OpenForKeys();
    EXPECT_FALSE(screen->PauseAction()->isEnabled());
    StartRecording();
    CRecordButton* button = screen->RecordButton();
    ASSERT_TRUE(button->PauseButton()->isVisible());
    Press(Qt::Key_P, 1, Qt::ControlModifier);
    EXPECT_TRUE(screen->Recording().IsPaused());
    EXPECT_TRUE(button->IsPaused());
    EXPECT_TRUE(screen->PauseAction()->isChecked());
    Press(Qt::Key_P, 1, Qt::ControlModifier);
    EXPECT_FALSE(screen->Recording().IsPaused());
    EXPECT_FALSE(screen->PauseAction()->isChecked());
    QTest::mouseClick(button->PauseButton(), Qt::LeftButton);
    EXPECT_TRUE(screen->Recording().IsPaused());
    EXPECT_TRUE(screen->PauseAction()->isChecked());

    TapRecordAfter(2000);
    ASSERT_FALSE(screen->IsRecording());
    EXPECT_FALSE(button->IsPaused());
    EXPECT_FALSE(button->PauseButton()->isVisible());
    EXPECT_FALSE(screen->PauseAction()->isEnabled());
    EXPECT_FALSE(screen->PauseAction()->isChecked());
    EXPECT_TRUE(InfoOfOnlyRecord().startsWith("*ParlantographerInfo*"));
}

// A source that follows its store tells of changes; one that cannot read its store says so.
TEST_F(MainScreenTest, ChangesTheSourceTellsOfAreAddedAfterARecordingAndItsProblemIsSaidOnce)
{
    SetSlots({"Priority", "Contacts", "Task", "None"});
    pim.contacts = {{"Ann", "", "Lee"}};
    pim.problem = "The desktop's contacts and tasks cannot be reached: no bus";
    Open();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !sink.messages.empty(); }, 1000));
    EXPECT_TRUE(sink.messages[0].text.startsWith(pim.problem + "\n"))
        << sink.Texts()[0].toStdString();

    TapItem(1, "Ann Lee");
    StartRecording();
    pim.contacts.push_back({"Bo", "", "Chan"});
    pim.handler();
    QTest::qWait(300);
    EXPECT_EQ(screen->Slot(1)->Items(), QStringList{"Ann Lee"}); // the slots are locked
    TapRecordAfter(2000);
    ASSERT_FALSE(screen->IsRecording());
    EXPECT_TRUE(QTest::qWaitFor([this] { return screen->Slot(1)->Items().size() == 2; }, 5000));
    EXPECT_EQ(screen->Slot(1)->SelectedItems(), QStringList{"Ann Lee"});
    pim.handler();
    QTest::qWait(300);
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(MainScreenTest, ReturnOnTheHeaderTypesATagFirstInItsGroupAndOnClearClearsTheSlot)
{
    OpenForKeys();
    CSlotList* slot = screen->Slot(0);
    TapItem(0, "Normal");
    Press(Qt::Key_Down); // the header
    Press(Qt::Key_Return);
    ASSERT_TRUE(slot->IsEditing());
    QTest::keyClicks(slot->InPlaceEdit(), "Urgent");
    QTest::keyClick(slot->InPlaceEdit(), Qt::Key_Return);
    EXPECT_EQ(CTagCatalogue(home.path() + "/").ListTagsOfGroup("Priority"),
              (QStringList{"Urgent", "Important", "Normal", "Inessential"}));
    slot->HeaderButton()->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Return); // an edit again, which Down leaves for the list
    ASSERT_TRUE(slot->IsEditing());
    Press(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), slot->ListView());
    EXPECT_FALSE(slot->IsEditing());
    slot->HeaderButton()->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Return); // a refused name is said so
    QTest::keyClicks(slot->InPlaceEdit(), "[bad]");
    QTest::keyClick(slot->InPlaceEdit(), Qt::Key_Return);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, CTagCatalogue::Message(ECatalogueResult::InvalidName, false));
    // Every edit refilled the slot: no item twice, the choice kept and the typed tag added.
    EXPECT_EQ(slot->Items(), (QStringList{"Important", "Normal", "Inessential", "Urgent"}));
    EXPECT_EQ(slot->SelectedItems(), (QStringList{"Normal", "Urgent"}));
    slot->ClearButton()->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Return);
    EXPECT_TRUE(slot->SelectedItems().isEmpty());
    TapItem(0, "Normal");
    screen->FillSlots(true); // a refill that resets drops the choice
    EXPECT_TRUE(slot->SelectedItems().isEmpty());
}

// What is typed lands at the end of a long slot: it is chosen and scrolled into sight, also
// when the group had it already.
TEST_F(MainScreenTest, ATypedTagIsChosenAndScrolledIntoSight)
{
    QByteArray catalogue = "[Priority]\n";
    for (int i = 0; i < 30; ++i)
        catalogue += "Tag " + QByteArray::number(i) + "\n";
    ASSERT_TRUE(WriteAll(home.filePath("groups.dat"), catalogue));
    SetSlots({"Priority", "Contacts", "None", "None"});
    Open();
    CSlotList* slot = screen->Slot(0);
    ASSERT_TRUE(slot->ListView()->CanScroll());
    for (const QString& typed : {QString("Urgent"), QString("Tag 25")}) {
        QTest::mouseClick(slot->HeaderButton(), Qt::LeftButton);
        ASSERT_TRUE(slot->IsEditing());
        QTest::keyClicks(slot->InPlaceEdit(), typed);
        QTest::keyClick(slot->InPlaceEdit(), Qt::Key_Return);
        const int row = static_cast<int>(slot->Items().indexOf(typed));
        EXPECT_TRUE(slot->SelectedItems().contains(typed)) << typed.toStdString();
        EXPECT_GE(row, slot->ListView()->TopRow()) << typed.toStdString();
        EXPECT_LT(row, slot->ListView()->TopRow() + slot->ListView()->VisibleRows());
    }
    EXPECT_EQ(slot->SelectedItems(), (QStringList{"Tag 25", "Urgent"}));
}

TEST_F(MainScreenTest, ASecondTaskCannotBeChosenByKeysOrFromOutside)
{
    SetSlots({"Task", "None", "None", "None"});
    pim.tasks = {{"Call back", {}}, {"Write report", {}}, {"Plan trip", {}}};
    OpenForKeys();
    CSlotList* tasks = screen->Slot(0);
    Press(Qt::Key_Down, 2);
    Press(Qt::Key_Return);
    Press(Qt::Key_Space);
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    Press(Qt::Key_A, 1, Qt::ControlModifier);
    EXPECT_EQ(tasks->SelectedItems(), QStringList{"Write report"});
    tasks->SetSelectionStates({true, true, true});
    EXPECT_EQ(tasks->SelectedItems().size(), 1);
}

TEST_F(MainScreenTest, AFailedStopResetsTheButtonBeforeItsMessageAndStopsOnce)
{
    OpenForKeys();
    StartRecording();
    QTest::qWait(300);
    // The information cannot be written into a record that is gone.
    ASSERT_TRUE(QFile::remove(screen->Recording().CurrentPath()));
    bool faceAtMessage = true;
    bool tickingAtMessage = true;
    sink.onShow = [&] {
        faceAtMessage = screen->RecordButton()->IsRecordingFace();
        tickingAtMessage = screen->RecordButton()->IsTicking();
        QTest::qWait(600); // the message box's own event loop
    };
    TapRecordAfter(2000);
    EXPECT_FALSE(screen->IsRecording());
    ASSERT_EQ(sink.messages.size(), 1u) << sink.Texts().join('|').toStdString();
    EXPECT_EQ(sink.messages[0].caption, "Exception");
    EXPECT_FALSE(faceAtMessage);
    EXPECT_FALSE(tickingAtMessage);
}

// No message box opens while the window is being destroyed, nor after the about box.
TEST_F(MainScreenTest, TeardownAndTheAboutBoxLeaveNoMessageBehind)
{
    Open();
    sink.onShow = [this] {
        availableMemory = CMemoryCheck::kWorkingBytes - 1;
    };
    screen->AboutAction()->trigger();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].caption, "About Parlantographer");

    sink.onShow = nullptr;
    sink.messages.clear();
    availableMemory = 1ull << 30;
    StartRecording();
    // The information cannot be written into a record that is gone.
    ASSERT_TRUE(QFile::remove(screen->Recording().CurrentPath()));
    screen.reset();
    EXPECT_TRUE(sink.messages.empty()) << sink.Texts().join('|').toStdString();
}

TEST_F(MainScreenTest, MenusShowMnemonicsAndEveryControlHasAName)
{
    Open();
    for (QWidget* control : screen->FocusPositions())
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
    for (QAction* action : screen->Menu()->actions()) {
        if (!action->isSeparator()) {
            EXPECT_TRUE(action->text().contains('&')) << action->text().toStdString();
        }
    }
}

} // namespace
