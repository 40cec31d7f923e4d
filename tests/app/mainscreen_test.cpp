#include "app/memorycheck.h"
#include "app/parlantographerdlg.h"
#include "app/recordbutton.h"
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
#include "store/pimsource.h"
#include "store/settingsstore.h"
#include "store/storage.h"
#include "store/tagcatalogue.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

class CFakePim : public MPimSource
{
public:
    std::vector<SPimTask> Tasks() const override { return tasks; }
    std::vector<SPimContact> Contacts() const override { return contacts; }
    std::vector<SPimTask> tasks;
    std::vector<SPimContact> contacts;
};

// A main screen over a temporary home, with recorded message boxes, a hand-moved clock
// and free space chosen by the test.
class MainScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        WriteMounts(true);
        SStorageEnvironment environment;
        environment.programFolder = home.path() + "/";
        environment.deviceDataFolder = data;
        environment.cards = [this] {
            return QList<SStorageCard>{{"CARD", cardFolder}};
        };
        storage = std::make_unique<CStorage>(settings, environment);
    }

    void Open()
    {
        screen = std::make_unique<CParlantographerDlg>(
            CParlantographerDlg::SContext{settings, *storage, pim, sink, memory, mountTable});
        screen->RecordButton()->SetClock([this] { return now; });
        screen->RecordButton()->SetFreeBytesProvider([this] { return freeBytes; });
        screen->resize(480, 640);
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        screen->Relayout();
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

    void TapItem(int slot, const QString& text)
    {
        const int row = static_cast<int>(screen->Slot(slot)->Items().indexOf(text));
        ASSERT_GE(row, 0) << text.toStdString();
        CSlotListView* view = screen->Slot(slot)->ListView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualItemRect(view->item(row)).center());
    }

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
    CSettingsStore settings{home.filePath("settings.ini")};
    std::unique_ptr<CStorage> storage;
    CFakePim pim;
    CRecordingSink sink;
    CMemoryCheck memory{[] {
        return std::optional<std::uint64_t>(1ull << 30);
    }};
    std::int64_t now = 100000;
    double freeBytes = 1e9;
    std::unique_ptr<CParlantographerDlg> screen;
};

TEST_F(MainScreenTest, FirstStartShowsPriorityAndHidesTheOtherSlots)
{
    Open();
    EXPECT_TRUE(screen->Slot(0)->isVisible());
    EXPECT_EQ(screen->Slot(0)->Kind(), "Priority");
    EXPECT_EQ(screen->Slot(0)->Items(), (QStringList{"Important", "Normal", "Inessential"}));
    EXPECT_EQ(settings.Slot(0), "Priority");
    for (int i = 1; i < 4; ++i) {
        EXPECT_FALSE(screen->Slot(i)->isVisible()) << i;
        EXPECT_FALSE(screen->IsSlotVisible(i)) << i;
        EXPECT_EQ(settings.Slot(i), "None") << i;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(MainScreenTest, ARecordCarriesTheChosenTagsAndIgnoresATapWithinTheGuard)
{
    Open();
    TapItem(0, "Important");
    StartRecording();
    EXPECT_FALSE(screen->Slot(0)->isEnabled());
    EXPECT_FALSE(screen->SettingsAction()->isEnabled());
    QTest::qWait(300);
    TapRecordAfter(1999);
    EXPECT_TRUE(screen->IsRecording());
    TapRecordAfter(1);
    ASSERT_FALSE(screen->IsRecording());
    EXPECT_TRUE(screen->Slot(0)->isEnabled());
    EXPECT_FALSE(screen->RecordButton()->IsRecordingFace());
    ASSERT_EQ(Records().size(), 1);
    EXPECT_TRUE(Records().first().endsWith(".wav"));
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
    EXPECT_EQ(sink.messages[0].caption, "Not enough memory to continue operation");
    EXPECT_EQ(sink.messages[0].text,
              "The program requires at least 1 MB of free memory to continue with recording.");
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
    EXPECT_EQ(sink.messages[1].text, CParlantographerDlg::FreeSpaceText());
}

enum class EEnd
{
    Exit,
    Close,
    Terminate
};

class EndingWhileRecording : public MainScreenTest, public ::testing::WithParamInterface<EEnd>
{
};

TEST_P(EndingWhileRecording, SavesTheRecordWithItsInformation)
{
    Open();
    CSignalWatcher watcher;
    QObject::connect(&watcher, &CSignalWatcher::Terminated, screen.get(),
                     [this](int) { screen->OnAppExit(); });
    TapItem(0, "Inessential");
    StartRecording();
    QTest::qWait(200);
    switch (GetParam()) {
    case EEnd::Exit:
        screen->OnAppExit();
        break;
    case EEnd::Close:
        screen->close();
        break;
    case EEnd::Terminate:
        std::raise(SIGTERM);
        break;
    }
    EXPECT_TRUE(QTest::qWaitFor([this] { return !screen->isVisible(); }, 3000));
    EXPECT_FALSE(screen->IsRecording());
    EXPECT_TRUE(InfoOfOnlyRecord().contains("[Priority]\nInessential\n"));
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingWhileRecording,
                         ::testing::Values(EEnd::Exit, EEnd::Close, EEnd::Terminate));

TEST_F(MainScreenTest, RemovingTheCardStopsARecordingOnTheCardOnly)
{
    ASSERT_TRUE(QDir().mkpath(cardFolder));
    settings.SetStorage("Device memory");
    Open();
    StartRecording();
    screen->OnVolumeRemoved(cardFolder);
    EXPECT_TRUE(screen->IsRecording());
    TapRecordAfter(2000);
    ASSERT_FALSE(screen->IsRecording());

    settings.SetStorage("CARD");
    StartRecording();
    const QString path = screen->CurrentRecordPath();
    EXPECT_TRUE(path.startsWith(cardFolder)) << path.toStdString();
    WriteMounts(false); // the mount table is how the screen learns of it
    EXPECT_TRUE(QTest::qWaitFor([this] { return !screen->IsRecording(); }, 3000));
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages.back().text,
              "The storage card has been removed while recording.\nThe record is being recorded "
              "may be corrupted!");
    EXPECT_TRUE(InfoOf(path).startsWith("*ParlantographerInfo*"));
}

TEST_F(MainScreenTest, RefillingKeepsItemsOnceAndSelectionsInPlace)
{
    Open();
    TapItem(0, "Normal");
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

TEST_F(MainScreenTest, OnlyVisibleSlotsContributeAndTaskSlotsHoldOneChoice)
{
    settings.SetSlot(1, "Contacts");
    settings.SetSlot(2, "Task");
    settings.SetSlot(3, "None");
    pim.contacts = {{"Ann", "", "Lee"}, {"", "", "Chan"}, {"", "", ""}, {"Ann", "", "Lee"}};
    pim.tasks = {{"  Call back ", {}}, {"Write report", {}}, {"Call back", {}}};
    Open();
    EXPECT_EQ(screen->Slot(1)->Items(), (QStringList{"Ann Lee", "Chan"}));
    EXPECT_EQ(screen->Slot(2)->Items(), (QStringList{"Call back", "Write report"}));
    TapItem(2, "Call back");
    TapItem(2, "Write report");
    TapItem(1, "Ann Lee");
    TapItem(1, "Chan");
    StartRecording();
    const QString all = screen->CurrentRecordPath();
    TapRecordAfter(2000);
    EXPECT_EQ(InfoOf(all), "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\nWrite report\n"
                           "[[Contacts]]\nAnn Lee\nChan\n");

    screen->resize(480, 520); // two rows: the task slot goes out of sight
    QTest::qWait(50);
    ASSERT_FALSE(screen->IsSlotVisible(2));
    StartRecording();
    const QString twoRows = screen->CurrentRecordPath();
    TapRecordAfter(2000);
    EXPECT_EQ(InfoOf(twoRows), "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\n[[Contacts]]\n"
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

TEST_F(MainScreenTest, TypingANewTagAddsItFirstToItsGroupAndRefusesBadNames)
{
    Open();
    CSlotList* slot = screen->Slot(0);
    QTest::mouseClick(slot->HeaderButton(), Qt::LeftButton);
    ASSERT_TRUE(slot->IsEditing());
    QTest::keyClicks(slot->InPlaceEdit(), " Urgent ");
    QTest::keyClick(slot->InPlaceEdit(), Qt::Key_Return);
    EXPECT_FALSE(slot->IsEditing());
    EXPECT_EQ(CTagCatalogue(home.path() + "/").ListTagsOfGroup("Priority"),
              (QStringList{"Urgent", "Important", "Normal", "Inessential"}));
    EXPECT_TRUE(slot->Items().contains("Urgent"));

    QTest::mouseClick(slot->HeaderButton(), Qt::LeftButton);
    QTest::keyClicks(slot->InPlaceEdit(), "[bad]");
    QTest::keyClick(slot->InPlaceEdit(), Qt::Key_Return);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, CTagCatalogue::Message(ECatalogueResult::InvalidName, false));
}

TEST_F(MainScreenTest, ASlotWhoseGroupVanishedIsRepaired)
{
    settings.SetSlot(0, "Gone");
    settings.SetSlot(1, "Also gone");
    settings.SetSlot(2, "Task");
    Open();
    EXPECT_EQ(screen->Slot(0)->Kind(), "Priority");
    EXPECT_EQ(settings.Slot(0), "Priority");
    EXPECT_EQ(screen->Slot(1)->Kind(), "None");
    EXPECT_EQ(settings.Slot(1), "None");
    EXPECT_EQ(settings.Slot(2), "Task");
}

TEST_F(MainScreenTest, ShowAllWritesBackOnOkAndNotOnCancel)
{
    Open();
    TapItem(0, "Normal");
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

} // namespace
