#pragma once

#include "audio/audiomanager.h"
#include "audio/player.h"
#include "browser/browserpage.h"
#include "browser/browserprompts.h"
#include "browser/findrecorddlg.h"
#include "platform/wavebackend.h"
#include "store/recordcatalogue.h"
#include "store/settingsstore.h"
#include "support/fakepimsource.h"
#include "support/qtsupport.h"
#include "support/scopedenv.h"
#include "support/tap.h"

#include <QApplication>
#include <QComboBox>
#include <QDBusConnection>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Moves the current row of a view as a click on it does.
inline void SetCurrentRow(QAbstractItemView* view, int row)
{
    view->setCurrentIndex(view->model()->index(row, 0));
}

// Keeps the messages and answers the questions of the browser, so nothing blocks.
class CScriptedPrompts : public MBrowserPrompts
{
public:
    void Tell(EPromptIcon, const QString&, const QString& text, QWidget*) override { told << text; }
    bool Ask(const QString&, const QString& text, QWidget*, EDefaultAnswer byDefault) override
    {
        asked << text;
        defaults << byDefault;
        return answer;
    }
    QStringList told;
    QStringList asked;
    // What Return would have answered to each question.
    QList<EDefaultAnswer> defaults;
    bool answer = true;
};

// Acts on the modal dialog of type Dialog once it is open; when it does not open, or
// another one does, the test fails and the other dialog is closed instead of hanging.
template <typename Dialog> void WhenModal(std::function<void(Dialog&)> act)
{
    auto* poll = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            poll->deleteLater();
            poll->stop();
            act(*dialog);
        } else if (modal || ++*tries > 200) {
            poll->deleteLater();
            poll->stop();
            ADD_FAILURE() << "the expected dialog did not open";
            if (modal)
                modal->close();
        }
    });
    poll->start(5);
}

inline QByteArray Info(const QString& tagGroup, const QString& tag, const QString& task,
                       const QString& contact)
{
    QByteArray info = "*ParlantographerInfo*\n[[Tags]]\n";
    if (!tag.isEmpty())
        info += "[" + tagGroup.toUtf8() + "]\n" + tag.toUtf8() + "\n";
    info += "[[Tasks]]\n" + (task.isEmpty() ? QByteArray() : task.toUtf8() + "\n");
    info += "[[Contacts]]\n" + (contact.isEmpty() ? QByteArray() : contact.toUtf8() + "\n");
    return info;
}

// A browser over the records of a temporary data folder, which it watches, on the simulated
// device, with scripted prompts and a clock the test sets. The trash lives in the temporary folder.
class BrowserTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }

    // A WAV record of `seconds` in the data folder.
    void Record(const QString& name, const QByteArray& info, double seconds = 0.1)
    {
        ASSERT_TRUE(WriteAll(data + name, Wav(info, static_cast<int>(seconds * 8000))));
    }

    // `programFolder` holds the tag catalogue the information editor offers.
    void Open(const QString& programFolder = {})
    {
        records = BuildRecordList(folders, audio.GetTagger());
        CFindRecordDlg::SContext context{audio,
                                         prompts,
                                         pim,
                                         records,
                                         [this]() -> const RecordList& {
                                             ++rebuilds;
                                             records = BuildRecordList(folders, audio.GetTagger());
                                             return records;
                                         },
                                         [this] { return now; },
                                         programFolder,
                                         [this] { return folders; },
                                         &settings};
        context.dataFolder = [this] {
            return std::optional<QString>(data);
        };
        context.bus = bus;
        context.showInFolder = [this](const QString& path) {
            shownInFolder << path;
        };
        browser = std::make_unique<CFindRecordDlg>(std::move(context));
        browser->resize(480, 640);
        browser->show();
        browser->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(browser.get()));
    }

    void ClickTab(CFindRecordDlg::ETab tab)
    {
        QTabBar* bar = browser->Tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(static_cast<int>(tab)).center());
    }

    // Steps through a drop-down with the arrow keys, as a user does, to `text`.
    static void Choose(QComboBox* combo, const QString& text)
    {
        const int target = combo->findText(text);
        ASSERT_GE(target, 0) << text.toStdString();
        while (combo->currentIndex() != target)
            QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    }

    CBrowserPage& Page() { return *browser->CurrentPage(); }

    QTemporaryDir home;
    testsupport::CScopedEnv dataHome{"XDG_DATA_HOME", home.filePath("share").toStdString()};
    QString data = home.path() + "/Data/";
    // The record folders the browser reads and watches.
    QStringList folders{data};
    CAudioManager audio;
    CSettingsStore settings{home.filePath("settings.ini")};
    CScriptedPrompts prompts;
    CFakePimSource pim;
    RecordList records;
    // The desktop's bus the browser is given: none unless a test connects one.
    QDBusConnection bus{QString()};
    // What "Show in Folder" was asked to show.
    QStringList shownInFolder;
    // How often the browser read every record again through the caller.
    int rebuilds = 0;
    // A Monday; the week began on Sunday 3 January.
    QDateTime now{QDate(2027, 1, 4), QTime(9, 0)};
    std::unique_ptr<CFindRecordDlg> browser;
};
