#pragma once

#include "store/pimorigin.h"
#include "store/recordinfo.h"

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class CAudioManager;
class CBackgroundWidget;
class CLocationList;
class CMainFocus;
class CMemoryCheck;
class CPeaksCache;
class CRecordButton;
class CRecordingController;
class CRecordsPane;
class CSinkPrompts;
class CSettingsStore;
class CSlotList;
class CStorage;
class CTagCatalogue;
class MMessageSink;
class MPimSource;
class QAction;
class QKeyEvent;
class QMenu;
class QTimer;

// The main screen: four information slots above the record button, and the menu; from
// MainLayout::kPaneFrom wide, the records pane beside them.
// It drives a recording from tap to file: free-space check, composing the record's
// information from the visible slots, naming the file, starting and stopping the
// recorder, and writing the information into the file when the recording ends, also
// when the window closes, a signal ends the program, or the storage card goes away.
// Contacts and tasks changed in their store while the window is open are added to the
// slots when the source tells of them (after the recording, when one runs); a store that
// cannot be read is reported once, in a message and on stderr.
class CParlantographerDlg : public QMainWindow
{
    Q_OBJECT
public:
    // What the main screen works with; everything must outlive it.
    struct SContext
    {
        // The engine; the screen applies the stored format and devices to it.
        CAudioManager& audio;
        CSettingsStore& settings;
        CStorage& storage;
        MPimSource& pim;
        MMessageSink& sink;
        CMemoryCheck& memory;
        // Where the mount table is read (tests give a file of their own).
        QString mountTable = QStringLiteral("/proc/self/mounts");
        // Called after the settings dialog stored new values, before the slots refill.
        std::function<void()> settingsApplied = {};
        // Where contacts and tasks come from while no choice is stored (none: the folder).
        std::function<EPimOrigin()> pimDefault = {};
    };

    explicit CParlantographerDlg(SContext context, QWidget* parent = nullptr);
    ~CParlantographerDlg() override;

    // Refills every slot from its kind; with `reset` the lists are emptied first,
    // otherwise only new items are added and selections stay.
    void FillSlots(bool reset);
    // Ends the program, saving a running recording first.
    void OnAppExit();
    // Lays the slots and the record button out again for the current size.
    void Relayout();

    // The recording flow: start, stop, and the ends that come from outside.
    CRecordingController& Recording() { return *m_recording; }
    bool IsRecording() const;
    // Slot `index` shows items and contributes to the record's information.
    bool IsSlotVisible(int index) const;

    CSlotList* Slot(int index) const;
    CRecordButton* RecordButton() const { return m_recordButton; }
    // The records pane; nullptr until the window was first wide enough for it.
    CRecordsPane* RecordsPane() const { return m_pane; }
    bool IsPaneShown() const { return m_paneShown; }
    CAudioManager& AudioManager() { return m_context.audio; }
    QAction* SettingsAction() const { return m_settingsAction; }
    QAction* TagManagerAction() const { return m_tagManagerAction; }
    QAction* LocationManagerAction() const { return m_locationManagerAction; }
    QAction* PlayerAction() const { return m_playerAction; }
    QAction* PlayerMenuAction() const { return m_playerMenuAction; }
    QAction* AboutAction() const { return m_aboutAction; }
    QAction* ExitAction() const { return m_exitAction; }
    QAction* RecordAction() const { return m_recordAction; }
    QAction* PauseAction() const { return m_pauseAction; }
    // The keyboard positions Up and Down move through (public for the tests).
    QList<QWidget*> FocusPositions() const;
    QMenu* Menu() const { return m_menu; }

    // The dialogs, public so that tests and the menu reach them the same way.
    void OpenSettings();
    void OpenShowAll(int slot);
    void OpenAbout();
    // The tag manager; the slots are refilled after it closes.
    void OpenTagManager();
    // "Player", Ctrl+B: the records pane's list where the pane shows, else the browser window.
    void OpenBrowser();
    // The records browser window over a freshly built record list, with all its pages.
    void OpenBrowserWindow();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Gives the controls their starting state.
    void SetControls();
    void OnInitDialog();
    void BuildMenu();
    void BuildSlots();
    void FillTags(int slot, const QString& kind, bool reset);
    QString RepairedKind(int slot, const QString& kind, const QStringList& earlier,
                         const QStringList& groups);
    void OnHeaderClicked(int slot);
    void OnEditFinished(int slot, const QString& text);
    void SetControlsEnabled(bool enabled);
    // What the slots give a record: each slot's kind, items, choices and visibility.
    QList<RecordInfo::SSlotSelection> SlotSelections() const;
    void OnPimChanged();
    void ReportPimProblem();
    std::array<QString, 4> Kinds() const;
    // The kinds as the settings hold them (before FillSlots repairs what it must).
    std::array<QString, 4> StoredKinds() const;
    int MenuReserve() const;
    void PlacePane(const QRect& area);
    void OnRecordingChanged(bool recording);
    int LayoutHeight() const;

    SContext m_context;
    std::unique_ptr<CTagCatalogue> m_catalogue;
    std::unique_ptr<CLocationList> m_locations;
    std::unique_ptr<CRecordingController> m_recording;
    // The records' waveforms, kept from one opening of the browser to the next.
    std::unique_ptr<CPeaksCache> m_peaks;
    CBackgroundWidget* m_central = nullptr;
    // The pane's messages and questions, through the sink as every other message.
    std::unique_ptr<CSinkPrompts> m_prompts;
    CRecordsPane* m_pane = nullptr;
    bool m_paneShown = false;
    std::array<CSlotList*, 4> m_slots{};
    CRecordButton* m_recordButton = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_settingsAction = nullptr;
    QAction* m_tagManagerAction = nullptr;
    QAction* m_locationManagerAction = nullptr;
    QAction* m_playerMenuAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_playerAction = nullptr;
    QAction* m_recordAction = nullptr;
    QAction* m_pauseAction = nullptr;
    CMainFocus* m_focus = nullptr;
    // Gathers the contacts-and-tasks source's change notices into one refill.
    QTimer* m_pimRefill = nullptr;
    bool m_pimChangedMeanwhile = false;
    bool m_pimProblemReported = false;
    bool m_closing = false;
};
