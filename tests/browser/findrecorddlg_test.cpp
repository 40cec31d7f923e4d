#include "browser/chooseperioddlg.h"
#include "browser/editrecordinfodlg.h"
#include "browser/playbackbar.h"
#include "browser/playbacksession.h"
#include "browser/propertyall.h"
#include "browser/propertycontacts.h"
#include "browser/propertytags.h"
#include "browser/propertytasks.h"
#include "browser/recordsummary.h"
#include "browser/renamerecord.h"
#include "browsertestsupport.h"
#include "store/recordrename.h"
#include "support/casename.h"
#include "support/tap.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <chrono>

namespace {

const QByteArray kAnn = Info("Priority", "Important", "Call back", "Ann Lee");
const QByteArray kBo = Info("Priority", "Normal", "", "Bo Chan");

// What a user does to leave the record that plays.
enum class ELeave
{
    OtherTab,
    OtherPeriod,
    OtherRecord,
};

struct SLeave
{
    const char* name;
    ELeave way;
};

class LeavingThePlayback : public BrowserTest, public ::testing::WithParamInterface<SLeave>
{
};

TEST_P(LeavingThePlayback, StopsIt)
{
    Record("01042027_080000.wav", kAnn, 5);
    Record("01032027_080000.wav", kBo, 5);
    Open();
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Space);
    ASSERT_TRUE(browser->Session().IsPlaying()) << prompts.told.join('|').toStdString();
    EXPECT_EQ(Page().PlayButton()->text(), "Stop");
    EXPECT_EQ(Page().PlaybackBar()->TotalText(), "0:05");

    switch (GetParam().way) {
    case ELeave::OtherTab:
        ClickTab(CFindRecordDlg::ETab::Tags);
        EXPECT_EQ(browser->CurrentPage(), browser->TagsPage());
        break;
    case ELeave::OtherPeriod:
        Choose(browser->AllPage()->PeriodList(), "Today");
        break;
    case ELeave::OtherRecord:
        QTest::keyClick(Page().RecordListWidget(), Qt::Key_Down);
        break;
    }
    EXPECT_FALSE(browser->Session().IsPlaying());
    EXPECT_TRUE(audio.GetPlayer().WaitUntilStopped(std::chrono::seconds(2)));
    for (CBrowserPage* page : {static_cast<CBrowserPage*>(browser->AllPage()),
                               static_cast<CBrowserPage*>(browser->TagsPage())})
        EXPECT_EQ(page->PlayButton()->text(), "Play");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Browser, LeavingThePlayback,
                         ::testing::Values(SLeave{"for_another_tab", ELeave::OtherTab},
                                           SLeave{"for_another_period", ELeave::OtherPeriod},
                                           SLeave{"for_another_record", ELeave::OtherRecord}),
                         testsupport::SByName());

// The end of a record reaches the window later than the playback thread sees it: a
// notice that arrives after the user stopped, or after another record started, must
// neither restart nor stop anything.
TEST_F(BrowserTest, AnEndOfPlaybackThatCrossesTheUsersStopChangesNothing)
{
    Record("01032027_080000.wav", kAnn, 0.1);
    Record("01042027_080000.wav", kBo, 5);
    Open();
    QPushButton* play = Page().PlayButton();
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(browser->Session().IsPlaying());
    // The short record plays out; its end notice waits in the queue.
    ASSERT_TRUE(audio.GetPlayer().WaitUntilStopped(std::chrono::seconds(5)));
    QTest::mouseClick(play, Qt::LeftButton);
    EXPECT_FALSE(browser->Session().IsPlaying());
    QTest::qWait(50);
    EXPECT_FALSE(browser->Session().IsPlaying());
    EXPECT_EQ(play->text(), "Play");

    // Again, but the user starts the long record before the notice arrives.
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(audio.GetPlayer().WaitUntilStopped(std::chrono::seconds(5)));
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Down);
    QTest::mouseClick(play, Qt::LeftButton);
    QTest::qWait(100);
    EXPECT_TRUE(browser->Session().IsPlaying());
    EXPECT_EQ(browser->Session().Path(), Native(data + "01042027_080000.wav"));
    EXPECT_EQ(play->text(), "Stop");

    // A record that plays to its end leaves the window idle by itself.
    browser->Session().Stop();
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Up);
    QTest::mouseClick(play, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !browser->Session().IsPlaying(); }, 5000));
    EXPECT_EQ(play->text(), "Play");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}

TEST_F(BrowserTest, TheSliderPlaysOnFromWhereItIsMoved)
{
    Record("01042027_080000.wav", kAnn, 20);
    Open();
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Space);
    ASSERT_TRUE(browser->Session().IsPlaying());
    QSlider* slider = Page().PlaybackBar()->Slider();
    slider->setSliderDown(true);
    slider->setSliderPosition(slider->maximum() / 2);
    slider->setSliderDown(false);
    EXPECT_TRUE(browser->Session().IsPlaying()) << prompts.told.join('|').toStdString();
    EXPECT_GE(browser->Session().ElapsedSamples(), 10u * 8000);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Page().PlaybackBar()->ElapsedText().startsWith("0:1"); }, 2000));
}

TEST_F(BrowserTest, DeletingTheLastRecordOfAPeriodLeavesThePlaceholderAndTheOthers)
{
    Record("01042027_080000.wav", kAnn);
    Record("12312026_100000.wav", kBo);
    Open();
    Choose(browser->AllPage()->PeriodList(), "Today");
    ASSERT_EQ(Page().ListedNames(), QStringList{"01042027_080000.wav"});

    prompts.answer = false;
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Delete);
    EXPECT_TRUE(QFile::exists(data + "01042027_080000.wav"));

    prompts.answer = true;
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Delete);
    EXPECT_EQ(prompts.asked, QStringList(2, CBrowserPage::DeleteQuestion(EDisposal::Trash)));
    EXPECT_FALSE(QFile::exists(data + "01042027_080000.wav"));
    EXPECT_TRUE(QFile::exists(home.filePath("share/Trash/files/01042027_080000.wav")));
    EXPECT_EQ(Page().ListedNames(), QStringList{"No records"});
    EXPECT_EQ(Page().Summary()->PlainText(), CRecordSummary::NothingText());

    // The placeholder is no record: the buttons say so and touch nothing.
    QTest::mouseClick(Page().PlayButton(), Qt::LeftButton);
    QTest::mouseClick(Page().EditButton(), Qt::LeftButton);
    QTest::mouseClick(Page().RenameButton(), Qt::LeftButton);
    QTest::mouseClick(Page().DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.told,
              (QStringList{"Can't play it!", "This item has no attached info.",
                           "Can not rename this item.", "Can not delete this item."}));
    Choose(browser->AllPage()->PeriodList(), "All");
    EXPECT_EQ(Page().ListedNames(), QStringList{"12312026_100000.wav"});
}

TEST_F(BrowserTest, ARefusedRenameShowsWhyAndLeavesTheFileAlone)
{
    Record("01042027_080000.wav", kAnn);
    Record("Meeting.wav", kBo);
    Open();
    const QString path = data + "01042027_080000.wav";
    const QByteArray before = ReadAll(path);
    WhenModal<CRenameRecord>([&](CRenameRecord& dialog) {
        EXPECT_EQ(dialog.NameEdit()->text(), "01042027_080000");
        EXPECT_EQ(dialog.Extension(), ".wav");
        for (const char* name : {".hidden", "Meeting"}) {
            dialog.NameEdit()->setText(name);
            dialog.accept();
            EXPECT_TRUE(dialog.isVisible()) << name;
        }
        dialog.NameEdit()->setText("Lunch");
        dialog.accept();
    });
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_F2);

    // The rules are the store's; one of them, and a name already taken, shown by the dialog.
    EXPECT_EQ(prompts.told,
              (QStringList{RecordRename::NameRefusal(".hidden").value_or("<accepted>"),
                           RecordRename::kMsgExists}));
    EXPECT_EQ(ReadAll(data + "Lunch.wav"), before);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(Page().RecordListWidget()->currentItem()->text(), "Lunch.wav");
    EXPECT_TRUE(Page().Summary()->PlainText().contains("Ann Lee"));
}

TEST_F(BrowserTest, ACustomPeriodListsItsDaysAndCancelKeepsWhatWasShown)
{
    Record("12202026_080000.wav", kAnn);
    Record("12282026_080000.wav", kBo);
    Record("01042027_080000.wav", kAnn);
    Open();
    QComboBox* period = browser->AllPage()->PeriodList();
    WhenModal<CChoosePeriodDlg>([&](CChoosePeriodDlg& dialog) {
        dialog.FromEdit()->setDate(QDate(2027, 1, 3));
        dialog.ToEdit()->setDate(QDate(2026, 12, 25));
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        dialog.FromEdit()->setDate(QDate(2026, 12, 25));
        dialog.ToEdit()->setDate(QDate(2027, 1, 3));
        dialog.accept();
    });
    Choose(period, "Custom");
    EXPECT_EQ(prompts.told, QStringList{CChoosePeriodDlg::OrderMessage()});
    EXPECT_EQ(Page().ListedNames(), QStringList{"12282026_080000.wav"});

    // The range survives a refresh and is offered again; Cancel keeps it.
    ClickTab(CFindRecordDlg::ETab::All);
    EXPECT_EQ(Page().ListedNames(), QStringList{"12282026_080000.wav"});
    WhenModal<CChoosePeriodDlg>([](CChoosePeriodDlg& dialog) {
        EXPECT_EQ(dialog.FromEdit()->date(), QDate(2026, 12, 25));
        dialog.reject();
    });
    Choose(period, "Current month");
    QTest::keyClick(period, Qt::Key_Down); // "Custom", then Cancel
    EXPECT_EQ(period->currentText(), "Current month");
    EXPECT_EQ(Page().ListedNames(), QStringList{"01042027_080000.wav"});
}

// What matches is the record browser's; here, that typing reaches it.
TEST_F(BrowserTest, TypingNarrowsTheList)
{
    Record("01042027_070000.wav", kBo);
    Record("01042027_080000.wav", kAnn);
    Open();
    // The space belongs to the text: it must not start a playback.
    QTest::keyClicks(Page().SearchField(), "ann l");
    EXPECT_FALSE(browser->Session().IsPlaying());
    EXPECT_EQ(Page().SearchField()->text(), "ann l");
    EXPECT_EQ(Page().ListedNames(), QStringList{"01042027_080000.wav"});
}

TEST_F(BrowserTest, TheTagsPageListsTheRecordsOfEveryMarkedTag)
{
    Record("01022027_080000.wav", kAnn);
    Record("01032027_080000.wav", kBo);
    Record("01042027_080000.wav", Info("Priority", "", "", ""));
    Open();
    ClickTab(CFindRecordDlg::ETab::Tags);
    CPropertyTags* tags = browser->TagsPage();
    EXPECT_EQ(tags->ListedNames(), (QStringList{"01022027_080000.wav", "01032027_080000.wav"}));
    ASSERT_TRUE(tags->TapTag("Priority", "Normal"));
    EXPECT_EQ(tags->ListedNames(), QStringList{"01032027_080000.wav"});
    ASSERT_TRUE(tags->TapTag("Priority", "Important"));
    EXPECT_EQ(tags->ListedNames(), QStringList{"No Records"});
}

TEST_F(BrowserTest, TheContactsAndTasksPagesListTheRecordsOfTheChoice)
{
    Record("01022027_080000.wav", Info("", "", "Call back", "Ann Lee\nBo Chan"));
    Record("01032027_080000.wav", kBo);
    Record("01042027_080000.wav", Info("", "", "call back", ""));
    Open();

    ClickTab(CFindRecordDlg::ETab::Contacts);
    CPropertyContacts* contacts = browser->ContactsPage();
    QListWidget* people = contacts->ContactList();
    TapText(people, "Ann Lee");
    EXPECT_EQ(contacts->ListedNames(), QStringList{"01022027_080000.wav"});
    QTest::mouseClick(contacts->ClearButton(), Qt::LeftButton);
    EXPECT_TRUE(contacts->ChosenContacts().isEmpty());

    // Tasks match ignoring case, as the list merges them; a second tap lets the task go.
    ClickTab(CFindRecordDlg::ETab::Tasks);
    CPropertyTasks* tasks = browser->TasksPage();
    TapText(tasks->TaskList(), "Call back");
    EXPECT_EQ(tasks->ListedNames(), (QStringList{"01022027_080000.wav", "01042027_080000.wav"}));
    TapText(tasks->TaskList(), "Call back");
    EXPECT_TRUE(tasks->ChosenTask().isEmpty());
    EXPECT_EQ(tasks->ListedNames(), (QStringList{"01022027_080000.wav", "01042027_080000.wav"}));
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}

// "Edit" opens the editor on the selected record of the page, and the page shows what was
// saved once it closes.
TEST_F(BrowserTest, EditChangesTheSelectedRecordAndThePageShowsIt)
{
    Record("01032027_080000.wav", kBo);
    Record("01042027_080000.wav", kBo);
    ASSERT_TRUE(WriteAll(home.filePath("groups.dat"), "[Priority]\nImportant\nNormal\n"));
    Open(home.path());
    CBrowserPage& page = Page();
    ASSERT_TRUE(page.EditButton()->isEnabled());
    page.RecordListWidget()->setCurrentRow(1);
    const QString selected = page.RecordListWidget()->currentItem()->text();

    WhenModal<CEditRecordInfoDlg>([&selected](CEditRecordInfoDlg& editor) {
        EXPECT_EQ(editor.FileNameText(), selected);
        EXPECT_TRUE(editor.NextButton()->isEnabled());
        editor.SelectCategory("Priority");
        TapText(editor.Values(), "Important");
        editor.accept();
    });
    QTest::mouseClick(page.EditButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.asked, QStringList{"Do You want to save changes to current record?"});
    EXPECT_EQ(page.RecordListWidget()->currentItem()->text(), selected);
    const int index = browser->Records().IndexOfPath(Native(data + selected));
    ASSERT_GE(index, 0);
    EXPECT_TRUE(browser->Records().Record(index).info.contains("[Priority]\nImportant\nNormal\n"));
}

} // namespace
