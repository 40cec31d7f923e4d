#pragma once

#include "browser/pageservices.h"

#include <QDBusConnection>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class CMprisService;
class CPeaksCache;
class CPropertyAll;
class CSessionPlaybackControl;
class CSettingsStore;
class CShowInFolder;
class QAction;
class QTimer;
class QToolButton;

// The records beside the recorder, in a window wide enough for both: the records browser's
// page of all records (period, search, list, summary, player, Edit, Rename, Delete) over a
// model of its own, read once when the pane is made and then changed one record at a time.
// A memo just recorded, and records made, copied or removed in the record folders by anyone,
// show at once; a new one is selected and brought in sight. The pane's menu opens the
// browser window with its other pages.
class CRecordsPane : public QWidget
{
    Q_OBJECT
public:
    struct SContext
    {
        CAudioManager& audio;
        MBrowserPrompts& prompts;
        const MPimSource& pim;
        // The records' waveforms, kept from one selection to the next.
        CPeaksCache& peaks;
        // Reads every record of the record folders; called once, as the pane is made.
        std::function<RecordList()> readRecords;
        // The record folders, watched while the pane lives. Empty: not watched.
        std::function<QStringList()> recordFolders = {};
        // The program folder, whose tag catalogue the information editor offers.
        QString programFolder = {};
        // Where the playback speed and the export's folder and format are kept, and the
        // recording format imports take; none: nothing is kept.
        CSettingsStore* settings = nullptr;
        // The chosen storage's data folder, where files dropped on the list are imported;
        // nullopt while its card is absent. None: drops are not taken.
        std::function<std::optional<QString>()> dataFolder = {};
        // The desktop's bus: the playback shows there as a media player, and "Show in Folder"
        // asks the file manager there. Not connected: neither, without a word.
        QDBusConnection bus = QDBusConnection::sessionBus();
        std::function<QDateTime()> now = [] {
            return QDateTime::currentDateTime();
        };
    };

    explicit CRecordsPane(SContext context, QWidget* parent = nullptr);
    ~CRecordsPane() override;

    CPropertyAll* Page() const { return m_page; }
    CPlaybackSession& Session() { return *m_session; }
    const CRecordBrowser& Records() const { return m_records; }
    // The menu item that opens the browser window; its owner connects it.
    QAction* BrowserAction() const { return m_browserAction; }
    QToolButton* MenuButton() const { return m_menuButton; }

    // Puts the keyboard in the record list.
    void FocusList();
    // Stops what plays, for a recording or another window's playback.
    void StopPlayback();
    // A memo just made: reads it alone, lists it, selects it and brings it in sight.
    void ShowRecorded(const std::filesystem::path& path);
    // Reads the files of the record folders that changed; a record that appeared is selected
    // unless a playback goes on. Put off while the pane is disabled (a recording runs) or a
    // dialog is open, as they work on the records as they were.
    void RefreshFromFolders();

private:
    void BuildMediaPlayer();

    SContext m_context;
    CRecordBrowser m_records;
    std::unique_ptr<CPlaybackSession> m_session;
    std::unique_ptr<SPageServices> m_services;
    CShowInFolder* m_showInFolder;
    std::unique_ptr<CSessionPlaybackControl> m_control;
    CMprisService* m_mpris = nullptr;
    CPropertyAll* m_page = nullptr;
    QToolButton* m_menuButton = nullptr;
    QAction* m_browserAction = nullptr;
    // Retries a refresh that was put off.
    QTimer* m_putOff = nullptr;
};
