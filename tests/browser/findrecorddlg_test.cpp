#include "audio/tagger.h"
#include "browser/chooseperioddlg.h"
#include "browser/editrecordinfodlg.h"
#include "browser/mprisservice.h"
#include "browser/playbackbar.h"
#include "browser/playbacksession.h"
#include "browser/positionslider.h"
#include "browser/propertyall.h"
#include "browser/propertycontacts.h"
#include "browser/propertytags.h"
#include "browser/propertytasks.h"
#include "browser/recordspane.h"
#include "browser/recordsummary.h"
#include "browser/renamerecord.h"
#include "browsertestsupport.h"
#include "controls/waveformview.h"
#include "privatebus.h"
#include "store/peakscache.h"
#include "store/recordrename.h"
#include "support/casename.h"
#include "support/tap.h"

#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMimeData>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
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
    EXPECT_EQ(Page().PlayButton()->text(), "Pause");
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
    EXPECT_EQ(play->text(), "Pause");

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

// A click on the position bar's groove plays on from the point clicked; the keys skip ten
// seconds either way and step the speed, which the settings keep for the next browser.
TEST_F(BrowserTest, TheBarSeeksToTheClickTheKeysSkipAndTheSpeedIsKept)
{
    Record("01042027_080000.wav", kAnn, 30);
    ASSERT_TRUE(settings.SetPlaybackSpeed(1.5));
    Open();
    EXPECT_EQ(browser->Session().Speed(), 1.5);
    QListView* list = Page().RecordListWidget();
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(browser->Session().IsPlaying());
    auto* slider = static_cast<CPositionSlider*>(Page().PlaybackBar()->Slider());
    int x = 0;
    while (x < slider->width() && slider->ValueAt(x) < slider->maximum() * 3 / 4)
        ++x;
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(x, slider->height() / 2));
    const auto seconds = [&] {
        return static_cast<double>(browser->Session().ElapsedSamples()) / 8000;
    };
    EXPECT_NEAR(seconds(), 22.5, 0.5);
    QTest::keyClick(list, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_NEAR(seconds(), 12.5, 0.6);
    QTest::keyClick(list, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_NEAR(seconds(), 22.5, 0.7);
    QTest::keyClick(list, Qt::Key_BracketRight, Qt::ControlModifier);
    EXPECT_EQ(browser->Session().Speed(), 2.0);
    EXPECT_EQ(audio.GetPlayer().Speed(), 2.0);
    EXPECT_EQ(settings.PlaybackSpeed(), 2.0);
    EXPECT_EQ(Page().PlaybackBar()->SpeedButton()->text(), u"2\u00D7"_qs);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}

// The selected record's waveform comes from a worker, the selection never waiting for it,
// and follows the selection; a click on it plays from the point clicked, and seeks there
// while it plays.
TEST_F(BrowserTest, TheWaveformFollowsTheSelectionAndPlaysFromTheClick)
{
    Record("01042027_080000.wav", kAnn, 20);
    Record("01042027_090000.wav", kBo, 8);
    Open();
    CWaveformView* waveform = Page().Waveform();
    const auto shows = [&](double seconds) {
        return QTest::qWaitFor(
            [&] {
                return waveform->Peaks() && waveform->Peaks()->totalSamples ==
                                                static_cast<std::uint64_t>(seconds * 8000);
            },
            2000);
    };
    ASSERT_TRUE(shows(20));
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Down);
    EXPECT_TRUE(shows(8));
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Up);
    EXPECT_TRUE(waveform->Peaks() && waveform->Peaks()->totalSamples == 20 * 8000)
        << "kept, so shown at once";

    const auto seconds = [&] {
        return static_cast<double>(browser->Session().ElapsedSamples()) / 8000;
    };
    const auto at = [&](double share) {
        return QPoint(static_cast<int>(share * waveform->width()), waveform->height() / 2);
    };
    QTest::mouseClick(waveform, Qt::LeftButton, {}, at(0.75));
    ASSERT_TRUE(browser->Session().IsPlaying());
    EXPECT_NEAR(seconds(), 15, 0.5);
    QTest::mouseClick(waveform, Qt::LeftButton, {}, at(0.25));
    EXPECT_NEAR(seconds(), 5, 0.5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return waveform->Playhead().value_or(0) > 5 * 8000; }, 2000));
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}

// Records copied in from outside, also into a record folder that appears only later, show
// up without F5; the selected record stays selected and the playback goes on.
TEST_F(BrowserTest, RecordsMadeOutsideAppearByThemselves)
{
    const QString card = home.path() + "/CARD/Data/";
    folders << card;
    Record("01032027_080000.wav", kAnn, 5);
    Record("01042027_080000.wav", kBo);
    Open();
    QListView* list = Page().RecordListWidget();
    SetCurrentRow(list, static_cast<int>(Page().ListedNames().indexOf("01032027_080000.wav")));
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(browser->Session().IsPlaying());

    Record("01022027_080000.wav", kBo);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Page().ListedNames().size() == 3; }, 5000));
    ASSERT_TRUE(QDir().mkpath(card));
    ASSERT_TRUE(WriteAll(card + "01052027_080000.wav", Wav(kAnn, 800)));
    EXPECT_TRUE(QTest::qWaitFor([this] { return Page().ListedNames().size() == 4; }, 5000));
    EXPECT_EQ(Page().SelectedName(), "01032027_080000.wav");
    EXPECT_TRUE(browser->Session().IsPlaying());
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}

// A change made outside to one record (an information edit in place, which keeps the file's
// size and modification time; a file removed) and a delete in the browser each change that
// record's row alone: the selection stays, and no record is read again through the caller.
TEST_F(BrowserTest, OneRecordChangedInsideOrOutsideChangesItsRowOnly)
{
    Record("01022027_080000.wav", kAnn);
    Record("01032027_080000.wav", kBo);
    Record("01042027_080000.wav", kBo);
    Open();
    QListView* list = Page().RecordListWidget();
    SetCurrentRow(list, 1);
    ASSERT_TRUE(Page().Summary()->PlainText().contains("Bo Chan"));

    const QByteArray edited = Info("Priority", "Normal", "", "Cy Dunn");
    audio.GetTagger().WriteRecordInfo(Native(data + "01032027_080000.wav").native(),
                                      edited.constData(), static_cast<std::size_t>(edited.size()));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return Page().Summary()->PlainText().contains("Cy Dunn"); }, 5000));
    ASSERT_TRUE(QFile::remove(data + "01042027_080000.wav"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return Page().ListedNames().size() == 2; }, 5000));
    EXPECT_EQ(Page().SelectedName(), "01032027_080000.wav");

    SetCurrentRow(list, 0);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(Page().ListedNames(), QStringList{"01032027_080000.wav"});
    EXPECT_EQ(rebuilds, 0);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}

// A word longer than the screen is wide, in a tag, a task or a contact, never makes a
// window wider than a 480-pixel screen: the summary wraps it anywhere.
TEST_F(BrowserTest, ALongWordNeverWidensTheWindow)
{
    const QString tag = QString(200, 'T');
    const QString url = "https://example.org/" + QString(180, 'u');
    Record("01042027_080000.wav", Info("Priority", tag, url, QString(120, 'C')));
    Record(QString(200, 'n') + ".wav", kAnn);
    ASSERT_TRUE(WriteAll(home.filePath("groups.dat"), "[Priority]\n" + tag.toUtf8() + "\n"));
    Open(home.path());
    for (const auto tab : {CFindRecordDlg::ETab::All, CFindRecordDlg::ETab::Tasks,
                           CFindRecordDlg::ETab::Contacts, CFindRecordDlg::ETab::Tags}) {
        ClickTab(tab);
        for (int row = 0; row < 2; ++row) {
            SetCurrentRow(Page().RecordListWidget(), row);
            QApplication::processEvents();
            EXPECT_LE(browser->width(), 480) << static_cast<int>(tab) << " " << row;
            EXPECT_LE(browser->minimumSizeHint().width(), 480) << static_cast<int>(tab);
        }
    }
    WhenModal<CEditRecordInfoDlg>([](CEditRecordInfoDlg& editor) {
        for (const QString& category : {QString("Priority"), QString("Tasks")}) {
            editor.SelectCategory(category);
            QApplication::processEvents();
            EXPECT_LE(editor.width(), 480) << category.toStdString();
            EXPECT_LE(editor.minimumSizeHint().width(), 480) << category.toStdString();
        }
        editor.reject();
    });
    QTest::mouseClick(Page().EditButton(), Qt::LeftButton);
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
    EXPECT_EQ(prompts.defaults, QList<EDefaultAnswer>(2, EDefaultAnswer::No)); // Return keeps it
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
    EXPECT_EQ(Page().SelectedName(), "Lunch.wav");
    EXPECT_TRUE(Page().Summary()->PlainText().contains("Ann Lee"));
}

// A name of the longest length shows whole while typed; the name the record has just closes.
TEST_F(BrowserTest, TheRenameFieldShowsAWholeNameAndTheSameNameJustCloses)
{
    Record("01042027_080000.wav", kAnn);
    Open();
    const QByteArray before = ReadAll(data + "01042027_080000.wav");
    bool closed = false;
    WhenModal<CRenameRecord>([&closed](CRenameRecord& dialog) {
        QLineEdit* edit = dialog.NameEdit();
        const QString longest = "Quarterly review with Ann and Bo 01";
        ASSERT_EQ(longest.size(), CRenameRecord::kMaxNameLength);
        const QMargins margins = edit->textMargins() + edit->contentsMargins();
        EXPECT_LE(edit->fontMetrics().horizontalAdvance(longest),
                  edit->width() - margins.left() - margins.right());
        edit->setText("01042027_080000");
        QTest::keyClick(edit, Qt::Key_Return);
        closed = !dialog.isVisible();
        if (!closed)
            dialog.reject();
    });
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_F2);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
    EXPECT_EQ(ReadAll(data + "01042027_080000.wav"), before);
}

// At the smallest designed size no list of a page shows a row cut in half.
TEST_F(BrowserTest, ThePagesListsShowWholeRows)
{
    QByteArray tags = "*ParlantographerInfo*\n[[Tags]]\n[Priority]\n";
    for (int i = 0; i < 20; ++i)
        tags += "Tag " + QByteArray::number(i) + "\n";
    for (int i = 0; i < 30; ++i)
        Record(QString("memo%1.wav").arg(i), tags + "[[Tasks]]\n[[Contacts]]\n");
    Open();
    ClickTab(CFindRecordDlg::ETab::Tags);
    const auto expectWholeRows = [](QAbstractItemView* view, const QModelIndex& first) {
        const int row = view->visualRect(first).height();
        ASSERT_GT(row, 0);
        EXPECT_EQ(view->viewport()->height() % row, 0)
            << view->objectName().toStdString() << ": " << view->viewport()->height() << " / "
            << row;
    };
    QTreeWidget* tree = browser->TagsPage()->TagTree();
    expectWholeRows(tree, tree->model()->index(0, 0));
    QListView* list = Page().RecordListWidget();
    expectWholeRows(list, list->model()->index(0, 0));
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

// A memo dragged out of a record list reaches a file manager as the file itself; the
// placeholder row is no file and does not drag.
TEST_F(BrowserTest, ARecordDraggedOutOfTheListGoesAsItsFile)
{
    Record("Call with Ann.wav", kAnn);
    Open();
    QListView* list = Page().RecordListWidget();
    ASSERT_TRUE(list->dragEnabled());
    QAbstractItemModel* model = list->model();
    ASSERT_TRUE(model->mimeTypes().contains("text/uri-list"));
    const std::unique_ptr<QMimeData> dragged(
        model->mimeData(list->selectionModel()->selectedIndexes()));
    ASSERT_TRUE(dragged);
    EXPECT_EQ(dragged->urls(), QList<QUrl>{QUrl::fromLocalFile(data + "Call with Ann.wav")});

    QTest::keyClicks(Page().SearchField(), "nobody");
    ASSERT_EQ(Page().ListedNames(), QStringList{"No records"});
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsDragEnabled);
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

// In a selector Space marks the item under the cursor; only the record list plays with it.
TEST_F(BrowserTest, SpaceMarksInTheSelectorsAndPlaysInTheRecordList)
{
    Record("01032027_080000.wav", kAnn, 5);
    Record("01042027_080000.wav", kBo, 5);
    Open();
    ClickTab(CFindRecordDlg::ETab::Tags);
    QTreeWidget* tree = browser->TagsPage()->TagTree();
    const QList<QTreeWidgetItem*> normal = tree->findItems("Normal", Qt::MatchRecursive);
    ASSERT_EQ(normal.size(), 1);
    tree->setFocus();
    tree->setCurrentItem(normal.first(), 0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_EQ(browser->TagsPage()->MarkedTags(), (QList<SRecordTag>{{"Priority", "Normal"}}));
    EXPECT_EQ(Page().ListedNames(), QStringList{"01042027_080000.wav"});

    ClickTab(CFindRecordDlg::ETab::Contacts);
    QListWidget* people = browser->ContactsPage()->ContactList();
    people->setFocus();
    people->setCurrentRow(people->row(people->findItems("Bo Chan", Qt::MatchExactly).first()),
                          QItemSelectionModel::NoUpdate);
    QTest::keyClick(people, Qt::Key_Space);
    EXPECT_EQ(browser->ContactsPage()->ChosenContacts(), QStringList{"Bo Chan"});
    EXPECT_FALSE(browser->Session().IsPlaying());

    Page().RecordListWidget()->setFocus();
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Space);
    EXPECT_TRUE(browser->Session().IsPlaying());
    EXPECT_EQ(browser->Session().Path(), Native(data + "01042027_080000.wav"));
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
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

// The period narrows the records as it narrows the tasks, also with no task chosen.
TEST_F(BrowserTest, TheTasksPageWithoutAChoiceListsTheRecordsOfThePeriodsTasks)
{
    pim.tasks = {{"Call back", QDateTime(QDate(2027, 1, 4), QTime(15, 0))},
                 {"Plan trip", QDateTime(QDate(2027, 2, 10), QTime(9, 0))}};
    Record("01022027_080000.wav", Info("", "", "Call back", ""));
    Record("01032027_080000.wav", Info("", "", "Plan trip", ""));
    Record("01042027_080000.wav", Info("", "", "Loose end", ""));
    Open();
    ClickTab(CFindRecordDlg::ETab::Tasks);
    CPropertyTasks* tasks = browser->TasksPage();
    EXPECT_EQ(tasks->ListedNames().size(), 3);
    Choose(tasks->PeriodList(), "Today");
    EXPECT_EQ(tasks->ListedNames(), QStringList{"01022027_080000.wav"});
    TapText(tasks->TaskList(), "Call back");
    TapText(tasks->TaskList(), "Call back");
    EXPECT_EQ(tasks->ListedNames(), QStringList{"01022027_080000.wav"});
    Choose(tasks->PeriodList(), "Next month");
    EXPECT_EQ(tasks->ListedNames(), QStringList{"01032027_080000.wav"});
    Choose(tasks->PeriodList(), "Yesterday");
    EXPECT_EQ(tasks->ListedNames(), QStringList{"No Records"});
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
    SetCurrentRow(page.RecordListWidget(), 1);
    const QString selected = page.SelectedName();

    WhenModal<CEditRecordInfoDlg>([&selected](CEditRecordInfoDlg& editor) {
        EXPECT_EQ(editor.FileNameText(), selected);
        EXPECT_TRUE(editor.NextButton()->isEnabled());
        editor.SelectCategory("Priority");
        TapText(editor.Values(), "Important");
        editor.accept();
    });
    QTest::mouseClick(page.EditButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.asked, QStringList{"Do You want to save changes to current record?"});
    EXPECT_EQ(page.SelectedName(), selected);
    const int index = browser->Records().IndexOfPath(Native(data + selected));
    ASSERT_GE(index, 0);
    EXPECT_TRUE(browser->Records().Record(index).info.contains("[Priority]\nImportant\nNormal\n"));
}

} // namespace

// Space pauses; paused, the position and the bar stay where they were, and Space plays on
// from there.
TEST_F(BrowserTest, ThePlayKeyPausesAndPlaysOnWhereItPaused)
{
    Record("01042027_080000.wav", kAnn, 5);
    Open();
    QListView* list = Page().RecordListWidget();
    CPlaybackSession& session = browser->Session();
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.ElapsedSamples() > 4000; }, 5000));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(session.IsPaused());
    EXPECT_TRUE(audio.GetPlayer().WaitUntilStopped(std::chrono::seconds(2)));
    const std::uint64_t at = session.ElapsedSamples();
    EXPECT_GT(at, 4000u);
    EXPECT_EQ(Page().PlayButton()->text(), "Play");
    EXPECT_TRUE(Page().PlaybackBar()->Slider()->isEnabled());
    QTest::qWait(300);
    EXPECT_EQ(session.ElapsedSamples(), at);

    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(session.IsPlaying());
    EXPECT_GE(session.ElapsedSamples(), at);
    EXPECT_LT(session.ElapsedSamples(), at + 4000);
    EXPECT_EQ(Page().PlayButton()->text(), "Pause");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}

// The desktop's media keys reach the memo playing in the browser: it shows on the bus with its
// name while it plays or is paused, PlayPause pauses and resumes it as the page's button does,
// and Stop takes it off the bus; the records pane's playback likewise.
TEST_F(BrowserTest, TheDesktopsMediaKeysControlTheMemoPlaying)
{
    CPrivateBus privateBus;
    if (!privateBus.Ok())
        GTEST_SKIP() << "no dbus-daemon";
    bus = privateBus.Connect();
    QDBusConnection desktop = privateBus.Connect();
    const auto call = [&desktop](const QString& interface, const QString& method,
                                 const QVariantList& arguments = {}) {
        return CPrivateBus::Call(desktop, CMprisService::kBusName, CMprisService::kObjectPath,
                                 interface, method, arguments);
    };
    const QString player = QStringLiteral("org.mpris.MediaPlayer2.Player");
    const auto status = [&] {
        return call("org.freedesktop.DBus.Properties", "Get", {player, "PlaybackStatus"})
            .arguments()
            .value(0)
            .value<QDBusVariant>()
            .variant()
            .toString();
    };
    Record("01042027_080000.wav", kAnn, 5);
    Open();
    EXPECT_FALSE(desktop.interface()->isServiceRegistered(CMprisService::kBusName));
    QTest::keyClick(Page().RecordListWidget(), Qt::Key_Space);
    ASSERT_TRUE(desktop.interface()->isServiceRegistered(CMprisService::kBusName));
    EXPECT_EQ(browser->MediaPlayer().Metadata().value("xesam:title").toString(),
              "01042027_080000");

    call(player, "PlayPause");
    EXPECT_TRUE(browser->Session().IsPaused());
    EXPECT_EQ(Page().PlayButton()->text(), "Play");
    EXPECT_EQ(status(), "Paused");
    call(player, "PlayPause");
    EXPECT_TRUE(browser->Session().IsPlaying());
    EXPECT_EQ(status(), "Playing");

    call(player, "Stop");
    EXPECT_FALSE(browser->Session().IsPlaying() || browser->Session().IsPaused());
    EXPECT_FALSE(desktop.interface()->isServiceRegistered(CMprisService::kBusName));
    browser.reset();

    // The records pane beside the recorder shows its playback the same way.
    CPeaksCache peaks(audio);
    CRecordsPane pane(
        {audio, prompts, pim, peaks, [this] { return records; }, {}, {}, nullptr, {}, bus});
    pane.Page()->OnPlay();
    ASSERT_TRUE(desktop.interface()->isServiceRegistered(CMprisService::kBusName));
    call(player, "PlayPause");
    EXPECT_TRUE(pane.Session().IsPaused());
    call(player, "Stop");
    EXPECT_FALSE(desktop.interface()->isServiceRegistered(CMprisService::kBusName));
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}
