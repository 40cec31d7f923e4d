#pragma once

#include "browser/pageservices.h"

#include <QDBusConnection>
#include <QDialog>
#include <array>
#include <memory>

class CBrowserPage;
class CMprisService;
class CPeaksCache;
class CSessionPlaybackControl;
class CShowInFolder;
class CPropertyAll;
class CPropertyContacts;
class CPropertyTags;
class CPropertyTasks;
class CSettingsStore;
class QTabWidget;
class QTimer;

// The records browser, "Records": the tabs "All", "Tasks", "Contacts" and "Tags", each a
// page that finds records its own way. It keeps its own model of the records the caller read
// (CRecordBrowser): a rename, a delete or an edit changes that record alone, and F5 and the
// changes made outside the browser (the record folders are watched) read again only the files
// whose status changed. Showing a tab stops the playback and refreshes the page from the
// records already read. From 720 pixels wide on, the pages put their list and the record's
// summary side by side.
class CFindRecordDlg : public QDialog
{
    Q_OBJECT
public:
    struct SContext
    {
        CAudioManager& audio;
        MBrowserPrompts& prompts;
        const MPimSource& pim;
        // The list as the caller built it just before opening the browser.
        const RecordList& records;
        // Builds the list again and returns it: a refresh without `recordFolders` reads every
        // record again through it.
        std::function<const RecordList&()> rebuildRecords;
        std::function<QDateTime()> now = [] {
            return QDateTime::currentDateTime();
        };
        // The program folder, whose tag catalogue the information editor offers.
        QString programFolder = {};
        // The record folders; while the browser is open they are watched, and a change made
        // there by anyone refreshes the page shown, reading only the files that changed.
        // Empty: not watched.
        std::function<QStringList()> recordFolders = {};
        // Where the playback speed and the export's folder and format are remembered, and the
        // recording format imports take; none: nothing is kept.
        CSettingsStore* settings = nullptr;
        // The records' waveforms, kept beyond the browser by its caller; none: the browser
        // keeps them while it is open.
        CPeaksCache* peaks = nullptr;
        // The chosen storage's data folder, where files dropped on a list are imported;
        // nullopt while its card is absent. None: drops are not taken.
        std::function<std::optional<QString>()> dataFolder = {};
        // The desktop's bus: the playback shows there as a media player, and "Show in Folder"
        // asks the file manager there. Not connected: neither, without a word.
        QDBusConnection bus = QDBusConnection::sessionBus();
        // "Show in Folder"; none: the file manager on `bus`, else the folder opened.
        std::function<void(const QString& path)> showInFolder = {};
    };

    // How long the record folders must stay quiet before a change refreshes the page.
    static constexpr int kSettleMs = 250;

    static constexpr int kWideFrom = 720;
    enum class ETab
    {
        All,
        Tasks,
        Contacts,
        Tags,
    };

    explicit CFindRecordDlg(SContext context, QWidget* parent = nullptr);
    ~CFindRecordDlg() override;

    // Shows a tab as a tap on it does: stops the playback, refreshes the page.
    void SelectTab(ETab tab);
    // Brings the records up to the record folders after they changed outside the browser; the
    // page shown keeps its selection, and a playback goes on. Put off while a dialog of the
    // browser is open.
    void RefreshFromFolders();

    QTabWidget* Tabs() const { return m_tabs; }
    CPropertyAll* AllPage() const { return m_all; }
    CPropertyTasks* TasksPage() const { return m_tasks; }
    CPropertyContacts* ContactsPage() const { return m_contacts; }
    CPropertyTags* TagsPage() const { return m_tags; }
    CBrowserPage* CurrentPage() const;
    CPlaybackSession& Session() { return *m_session; }
    CMprisService& MediaPlayer() { return *m_mpris; }
    const CRecordBrowser& Records() const { return m_records; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Puts the playback on the desktop's bus as a media player.
    void BuildMediaPlayer();
    // Brings the records up to the record folders; true when a record changed.
    bool RefreshRecords();
    void OnTabChanged(int index);
    void OnTabClicked(int index);
    CBrowserPage* Page(int index) const;

    SContext m_context;
    std::unique_ptr<CPlaybackSession> m_session;
    std::unique_ptr<CPeaksCache> m_ownPeaks;
    std::unique_ptr<CSessionPlaybackControl> m_control;
    CMprisService* m_mpris = nullptr;
    CShowInFolder* m_showInFolder = nullptr;
    // Retries a refresh that a dialog of the browser put off.
    QTimer* m_putOff = nullptr;
    CRecordBrowser m_records;
    std::unique_ptr<SPageServices> m_services;
    QTabWidget* m_tabs;
    CPropertyAll* m_all = nullptr;
    CPropertyTasks* m_tasks = nullptr;
    CPropertyContacts* m_contacts = nullptr;
    CPropertyTags* m_tags = nullptr;
    std::array<CBrowserPage*, 4> m_pages{};
};
