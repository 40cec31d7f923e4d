#include "app/parlantographerdlg.h"

#include "app/logger.h"
#include "app/mainfocus.h"
#include "app/mainlayout.h"
#include "app/memorycheck.h"
#include "app/recordbutton.h"
#include "app/recordingcontroller.h"
#include "app/settings.h"
#include "app/showalldlg.h"
#include "app/sinkprompts.h"
#include "app/waitcursor.h"
#include "audio/audiomanager.h"
#include "audio/player.h"
#include "audio/recorder.h"
#include "audio/tagger.h"
#include "browser/findrecorddlg.h"
#include "browser/recordspane.h"
#include "browser/tagmanagerdlg.h"
#include "controls/backgroundwidget.h"
#include "controls/drawnicons.h"
#include "controls/glyphbutton.h"
#include "controls/headerbutton.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"
#include "store/locationlist.h"
#include "store/nativepath.h"
#include "store/peakscache.h"
#include "store/recordcatalogue.h"
#include "store/renametrail.h"
#include "store/settingsstore.h"
#include "store/slotitems.h"
#include "store/slotkind.h"
#include "store/slotrules.h"
#include "store/storage.h"
#include "store/tagcatalogue.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>
#include <utility>

namespace {

const QString kProduct = QStringLiteral("Parlantographer");
// A synchronised account sends its changes in a burst: the slots are refilled once for it.
constexpr int kPimRefillDelayMs = 100;

// The scalable icon installed with the program; drawn when SVG cannot be read here.
QIcon AppIcon()
{
    const QString id = QString::fromLatin1(PARLANTOGRAPHER_APP_ID);
    const QIcon svg(QStringLiteral(":/icons/%1.svg").arg(id));
    if (!svg.availableSizes().isEmpty() || !svg.pixmap(32).isNull())
        return QIcon::fromTheme(id, svg);
    return QIcon::fromTheme(id, DrawnIcons::AppIcon());
}

} // namespace

CParlantographerDlg::CParlantographerDlg(SContext context, QWidget* parent)
    : QMainWindow(parent), m_context(std::move(context))
{
    {
        CLogger log("CParlantographerDlg::CParlantographerDlg");
        CAudioManager& audio = m_context.audio;
        audio.ApplyFormat(m_context.settings.Format());
        // Empty names follow the sound server's default device.
        audio.GetRecorder().SetDeviceName(m_context.settings.InputDevice().toStdString());
        audio.GetPlayer().SetDeviceName(m_context.settings.OutputDevice().toStdString());
        m_catalogue = std::make_unique<CTagCatalogue>(m_context.storage.ProgramFolder());
        m_locations = std::make_unique<CLocationList>(m_context.storage.ProgramFolder());
        m_peaks = std::make_unique<CPeaksCache>(audio);

        setWindowTitle(kProduct);
        setWindowIcon(AppIcon());
        m_central = new CBackgroundWidget(this);
        setCentralWidget(m_central);
        // The smallest designed screen: below it no slot would show, and a desktop window
        // always shows at least the first slot above the record button.
        m_central->setMinimumSize(MainLayout::kMinimumWidth, MainLayout::kMinimumHeight);
        m_central->installEventFilter(this);
        BuildSlots();

        m_recordButton = new CRecordButton(m_central);
        m_focus = new CMainFocus(
            m_slots, m_recordButton, [this](int slot) { return IsSlotVisible(slot); }, this);
        m_recording = std::make_unique<CRecordingController>(CRecordingController::SContext{
            audio, m_context.settings, m_context.storage, m_context.sink, *m_recordButton, *this,
            [this] { return SlotSelections(); }, m_context.mountTable});
        connect(m_recording.get(), &CRecordingController::RecordingChanged, this,
                &CParlantographerDlg::OnRecordingChanged);
        m_prompts = std::make_unique<CSinkPrompts>(m_context.sink);

        m_pimRefill = new QTimer(this);
        m_pimRefill->setSingleShot(true);
        m_pimRefill->setInterval(kPimRefillDelayMs);
        connect(m_pimRefill, &QTimer::timeout, this, &CParlantographerDlg::OnPimChanged);
        // Called on the source's own thread: only a queued start crosses to this one.
        m_context.pim.SetChangeHandler([timer = m_pimRefill] {
            QMetaObject::invokeMethod(
                timer,
                [timer] {
                    if (!timer->isActive())
                        timer->start();
                },
                Qt::QueuedConnection);
        });

        resize(480, 640);
    }
    // Initialisation traces as an outermost scope of its own, not inside construction.
    OnInitDialog();
}

CParlantographerDlg::~CParlantographerDlg()
{
    m_context.pim.SetChangeHandler({});
    // Closing saved the recording already; a window destroyed without closing saves it now.
    m_recording.reset();
    // Its playback ends while the prompts it reports to still exist.
    delete m_pane;
}

CSlotList* CParlantographerDlg::Slot(int index) const
{
    return index >= 0 && index < 4 ? m_slots[static_cast<std::size_t>(index)] : nullptr;
}

void CParlantographerDlg::BuildSlots()
{
    for (int i = 0; i < 4; ++i) {
        auto* slot = new CSlotList(m_central);
        m_slots[static_cast<std::size_t>(i)] = slot;
        connect(slot, &CSlotList::HeaderClicked, this, [this, i] { OnHeaderClicked(i); });
        connect(slot, &CSlotList::ShowAllClicked, this, [this, i] { OpenShowAll(i); });
        connect(slot, &CSlotList::EditFinished, this,
                [this, i](const QString& text) { OnEditFinished(i, text); });
        slot->ListView()->setAccessibleName(tr("Slot %1 items").arg(i + 1));
        slot->ShowAllButton()->setAccessibleName(tr("Slot %1: show all items").arg(i + 1));
        slot->ClearButton()->setAccessibleName(tr("Slot %1: clear the selection").arg(i + 1));
        slot->ScrollUpButton()->setAccessibleName(tr("Slot %1: scroll up").arg(i + 1));
        slot->ScrollDownButton()->setAccessibleName(tr("Slot %1: scroll down").arg(i + 1));
    }
}

void CParlantographerDlg::BuildMenu()
{
    using DrawnIcons::EGlyph;
    m_menu = menuBar()->addMenu(tr("&Menu"));
    m_settingsAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::Settings), tr("&Settings..."));
    m_tagManagerAction = m_menu->addAction(tr("&Tag Manager"));
    m_locationManagerAction = m_menu->addAction(tr("&Location Manager"));
    m_playerMenuAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::Player), tr("&Player"));
    m_recordAction = m_menu->addAction(tr("&Record / Stop"));
    m_pauseAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::Pause), tr("P&ause / Resume"));
    m_menu->addSeparator();
    m_aboutAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::About), tr("&About"));
    m_menu->addSeparator();
    m_exitAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::Exit), tr("E&xit"));
    m_exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_settingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_recordAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_pauseAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_pauseAction->setCheckable(true);
    m_pauseAction->setEnabled(false);
    m_playerAction = menuBar()->addAction(tr("P&layer"));

    m_locationManagerAction->setEnabled(false);
    // On the menu item, so the menu shows it; one key for both ways in.
    m_playerMenuAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));

    connect(m_settingsAction, &QAction::triggered, this, &CParlantographerDlg::OpenSettings);
    connect(m_aboutAction, &QAction::triggered, this, &CParlantographerDlg::OpenAbout);
    connect(m_tagManagerAction, &QAction::triggered, this, &CParlantographerDlg::OpenTagManager);
    connect(m_playerAction, &QAction::triggered, this, &CParlantographerDlg::OpenBrowser);
    connect(m_playerMenuAction, &QAction::triggered, this, &CParlantographerDlg::OpenBrowser);
    connect(m_exitAction, &QAction::triggered, this, &CParlantographerDlg::OnAppExit);
    // The key goes through the record button's tap, so it keeps the 2-second guard.
    connect(m_recordAction, &QAction::triggered, m_recordButton, &CRecordButton::Tap);
    // The action's own check follows the recording, not the key.
    connect(m_pauseAction, &QAction::triggered, this, [this] {
        m_recording->TogglePause();
        m_pauseAction->setChecked(m_recording->IsPaused());
    });
    connect(m_recording.get(), &CRecordingController::PausedChanged, m_pauseAction,
            &QAction::setChecked);
}

void CParlantographerDlg::OnInitDialog()
{
    CLogger log("CParlantographerDlg::OnInitDialog");
    if (!m_context.settings.WriteFirstStartSlots())
        m_context.sink.Show(EMessageIcon::Stop, tr("Error"),
                            m_context.settings.WriteFailureMessage(), this);
    // Without a catalogue the tag-group slots stay empty; the program still records.
    m_catalogue->EnsureDefaultGroups();
    BuildMenu();
    log.Write("before SetControls");
    SetControls();
    log.Write("after SetControls");
    log.Write("before FillSlots");
    FillSlots(true);
    log.Write("after FillSlots");
    m_recordButton->setFocus(Qt::OtherFocusReason);
    // Once the window shows, so that the message has its window behind it.
    QTimer::singleShot(0, this, &CParlantographerDlg::ReportPimProblem);
}

void CParlantographerDlg::OnPimChanged()
{
    if (IsRecording()) {
        m_pimChangedMeanwhile = true;
        return;
    }
    if (m_closing)
        return;
    FillSlots(false);
    ReportPimProblem();
}

void CParlantographerDlg::ReportPimProblem()
{
    if (m_pimProblemReported || m_closing)
        return;
    const QString problem = m_context.pim.Problem();
    if (problem.isEmpty())
        return;
    m_pimProblemReported = true;
    std::fprintf(stderr, "parlantographer: %s\n", qPrintable(problem));
    m_context.sink.Show(EMessageIcon::Exclamation, tr("Contacts and Tasks"),
                        problem + QStringLiteral("\n\n") +
                            tr("Settings, \"Contacts and tasks from\", chooses where they come "
                               "from."),
                        this);
}

std::array<QString, 4> CParlantographerDlg::StoredKinds() const
{
    std::array<QString, 4> kinds;
    for (std::size_t i = 0; i < kinds.size(); ++i)
        kinds[i] = m_context.settings.Slot(static_cast<int>(i));
    return kinds;
}

std::array<QString, 4> CParlantographerDlg::Kinds() const
{
    std::array<QString, 4> kinds;
    for (std::size_t i = 0; i < 4; ++i)
        kinds[i] = m_slots[i]->Kind();
    return kinds;
}

int CParlantographerDlg::MenuReserve() const
{
    // The menu bar sits above the central widget. Its own visibility is not set yet when
    // the window lays itself out for the first show, but the central widget has already
    // been placed below it, so its top says how much the bar takes.
    return qMax(0, m_central->y());
}

int CParlantographerDlg::LayoutHeight() const
{
    // The designed heights count the whole visible desktop, menu bar included.
    return m_central->height() + MenuReserve();
}

bool CParlantographerDlg::IsSlotVisible(int index) const
{
    return MainLayout::IsSlotVisible(index, LayoutHeight(), Kinds());
}

QString CParlantographerDlg::RepairedKind(int slot, const QString& kind, const QStringList& earlier,
                                          const QStringList& groups)
{
    // The repair is stored, so no slot keeps naming a kind that cannot be shown.
    const QString repaired = SlotRules::Repaired(slot, kind, earlier, groups);
    if (repaired != kind)
        m_context.settings.SetSlot(slot, repaired);
    return repaired;
}

void CParlantographerDlg::FillSlots(bool reset)
{
    CLogger log("CParlantographerDlg::FillSlots");
    const QStringList groups = m_catalogue->ListGroups();
    QStringList earlier;
    for (int i = 0; i < 4; ++i) {
        const QString kind = RepairedKind(i, m_context.settings.Slot(i), earlier, groups);
        earlier << kind;
        CSlotList* slot = m_slots[static_cast<std::size_t>(i)];
        const bool changed = slot->Kind() != kind;
        slot->SetKind(kind);
        // The header reads as its kind, and says when a tap on it takes a new item.
        slot->HeaderButton()->setAccessibleName(
            CSlotKind(kind).CanAddItems() ? tr("%1: add an item").arg(kind) : kind);
        FillTags(i, kind, reset || changed);
    }
    Relayout();
}

void CParlantographerDlg::FillTags(int slot, const QString& kind, bool reset)
{
    CLogger log("CParlantographerDlg::FillTags");
    CSlotList* list = m_slots[static_cast<std::size_t>(slot)];
    if (reset) {
        log.Write("before ClearItems");
        list->ClearItems();
        log.Write("after ClearItems");
    }
    const CSlotKind slotKind(kind);
    if (slotKind.IsNone())
        return;
    const char* source = slotKind.IsTask()       ? "FillTasks"
                         : slotKind.IsLocation() ? "FillLocations"
                         : slotKind.IsContacts() ? "FillContacts"
                                                 : "FillTagsOfGroup";
    log.Write("before %s", source);
    const QStringList items = SlotItems::Of(slotKind, {m_context.pim, *m_locations, *m_catalogue});
    log.Write("after %s", source);
    for (const QString& item : items)
        list->AddItemIfAbsent(item);
    log.Write("before RefreshRows");
    list->RefreshRows();
    log.Write("after RefreshRows");
}

void CParlantographerDlg::SetControls()
{
    // The button starts with its idle face; the slots' controls are bound to their lists
    // when the slots are made.
    m_recordButton->OnStopRecord();
}

void CParlantographerDlg::Relayout()
{
    CLogger log("CParlantographerDlg::Relayout");
    const int reserve = MenuReserve();
    const int width = m_central->width();
    const int height = LayoutHeight();
    const MainLayout::SLayout layout = MainLayout::Compute(width, height, Kinds(), reserve);
    for (std::size_t i = 0; i < 4; ++i) {
        CSlotList* slot = m_slots[i];
        if (!layout.shown[i]) {
            slot->hide();
            continue;
        }
        if (slot->geometry() != layout.slotRects[i] || slot->isHidden()) {
            // A list that moves starts again at its first item; one that stays keeps
            // where the user scrolled it.
            slot->setGeometry(layout.slotRects[i]);
            slot->ListView()->ScrollToFirst();
        }
        slot->RefreshRows();
        slot->show();
    }
    m_recordButton->setGeometry(layout.recordButton);
    m_recordButton->SetScale(MainLayout::ScaleFor(width, height));
    PlacePane(layout.pane);
}

void CParlantographerDlg::PlacePane(const QRect& area)
{
    m_paneShown = !area.isEmpty();
    if (!m_paneShown) {
        if (m_pane && !m_pane->isHidden()) {
            // What is not seen does not play on.
            m_pane->StopPlayback();
            m_pane->hide();
        }
        return;
    }
    if (!m_pane) {
        // Made the first time the window is wide enough: a narrow window reads no record.
        CWaitCursor wait;
        m_pane =
            new CRecordsPane({m_context.audio, *m_prompts, m_context.pim, *m_peaks,
                              [this] {
                                  return BuildRecordList(m_context.storage.EnumerateRecordFolders(),
                                                         m_context.audio.GetTagger());
                              },
                              [this] { return m_context.storage.EnumerateRecordFolders(); },
                              m_context.storage.ProgramFolder(), &m_context.settings,
                              [this] {
                                  return m_context.storage.DataFolder();
                              }},
                             m_central);
        m_pane->setEnabled(!IsRecording());
        connect(m_pane->BrowserAction(), &QAction::triggered, this,
                &CParlantographerDlg::OpenBrowserWindow);
    }
    m_pane->setGeometry(area);
    m_pane->show();
}

void CParlantographerDlg::OnRecordingChanged(bool recording)
{
    SetControlsEnabled(!recording);
    if (!m_pane)
        return;
    // A playback would be heard in the memo; the pane waits until the memo is made.
    if (recording)
        m_pane->StopPlayback();
    m_pane->setEnabled(!recording);
    if (!recording && !m_recording->CurrentPath().isEmpty())
        m_pane->ShowRecorded(NativePath::FromText(m_recording->CurrentPath()));
}

bool CParlantographerDlg::IsRecording() const
{
    return m_recording->IsRecording();
}

QList<QWidget*> CParlantographerDlg::FocusPositions() const
{
    return m_focus->Positions();
}

bool CParlantographerDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_central && event->type() == QEvent::Resize)
        Relayout();
    return QMainWindow::eventFilter(watched, event);
}

void CParlantographerDlg::keyPressEvent(QKeyEvent* event)
{
    // Up and Down that nothing else took (the in-place edit passes them on) move the
    // focus; the edit ends as it loses it.
    // The pane keeps its keys to itself.
    const bool inPane = m_pane && m_pane->isAncestorOf(QApplication::focusWidget());
    if (!inPane && event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        m_focus->Move(event->key() == Qt::Key_Up ? -1 : 1);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CParlantographerDlg::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Coming back from another program may bring new contacts, tasks or tags: add them
    // without disturbing what is listed and selected.
    if (event->type() == QEvent::ActivationChange && !IsRecording() && !m_closing)
        FillSlots(false);
}

QList<RecordInfo::SSlotSelection> CParlantographerDlg::SlotSelections() const
{
    QList<RecordInfo::SSlotSelection> selections;
    for (int i = 0; i < 4; ++i) {
        const CSlotList* slot = m_slots[static_cast<std::size_t>(i)];
        selections.append({slot->Kind(), slot->Items(), slot->SelectionStates(), IsSlotVisible(i)});
    }
    return selections;
}

void CParlantographerDlg::SetControlsEnabled(bool enabled)
{
    // Pausing is for a recording that runs.
    m_pauseAction->setEnabled(!enabled);
    m_pauseAction->setChecked(false);
    // A disabled slot loses the focus to nowhere; the record button is where the keys
    // are wanted now (Return stops the recording).
    QWidget* focused = QApplication::focusWidget();
    if (!enabled && focused && m_central->isAncestorOf(focused) && focused != m_recordButton)
        m_recordButton->setFocus(Qt::TabFocusReason);
    for (CSlotList* slot : m_slots)
        slot->setEnabled(enabled);
    for (QAction* action : {m_settingsAction, m_tagManagerAction, m_aboutAction, m_exitAction,
                            m_playerAction, m_playerMenuAction})
        action->setEnabled(enabled);
    if (enabled && std::exchange(m_pimChangedMeanwhile, false))
        m_pimRefill->start();
}

void CParlantographerDlg::OnAppExit()
{
    CLogger log("CParlantographerDlg::OnAppExit");
    m_recording->Stop();
    m_closing = true;
    close();
}

void CParlantographerDlg::closeEvent(QCloseEvent* event)
{
    // Closing the window by its frame, a signal or the session ends the same way as Exit.
    m_recording->Close();
    m_closing = true;
    event->accept();
}

void CParlantographerDlg::OnHeaderClicked(int slot)
{
    if (!IsRecording())
        m_slots[static_cast<std::size_t>(slot)]->OpenInPlaceEdit();
}

void CParlantographerDlg::OnEditFinished(int slot, const QString& text)
{
    CSlotList* list = m_slots[static_cast<std::size_t>(slot)];
    const CSlotKind kind(list->Kind());
    bool listed = false;
    if (!text.isEmpty()) {
        if (kind.IsLocation()) {
            const QString refusal = CLocationList::Refusal(text);
            listed = refusal.isEmpty() && m_locations->AddLocation(text);
            if (!refusal.isEmpty())
                m_context.sink.Show(EMessageIcon::Exclamation, kProduct, refusal, this);
            else if (!listed)
                m_context.sink.Show(EMessageIcon::Exclamation, kProduct,
                                    m_locations->WriteFailureMessage(), this);
        } else if (kind.CanAddItems()) {
            const ECatalogueResult result = m_catalogue->AddTagFirst(kind.GroupName(), text);
            // A tag that is there already is simply there; a refused or unsaved one is
            // said so, rather than vanishing without a word.
            listed = result == ECatalogueResult::Ok || result == ECatalogueResult::AlreadyExists;
            if (!listed && result != ECatalogueResult::EmptyName)
                m_context.sink.Show(EMessageIcon::Exclamation, kProduct,
                                    CTagCatalogue::Message(result, false), this);
        }
    }
    QWidget* const next = m_focus->Target();
    FillSlots(false);
    // What was typed is what the user wants on this record: chosen, and in sight.
    if (listed)
        list->Choose(text);
    if (next)
        next->setFocus(Qt::TabFocusReason);
    else
        m_recordButton->setFocus(Qt::OtherFocusReason);
}

void CParlantographerDlg::OpenSettings()
{
    if (IsRecording() || !m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    CSettings dialog({m_context.settings, m_context.audio, m_context.sink,
                      m_catalogue->ListGroups(), [this] { return m_context.storage.StorageList(); },
                      MainLayout::RowsForHeight(LayoutHeight()).count,
                      m_context.pimDefault ? m_context.pimDefault() : EPimOrigin::Folder},
                     this);
    if (dialog.exec() == QDialog::Accepted) {
        if (m_context.settingsApplied)
            m_context.settingsApplied();
        FillSlots(true);
        ReportPimProblem(); // a store newly chosen may be out of reach
    }
    m_context.memory.Check(m_context.sink, this);
}

void CParlantographerDlg::OpenShowAll(int slot)
{
    if (IsRecording() || !m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    CSlotList* list = m_slots[static_cast<std::size_t>(slot)];
    CShowAllDlg dialog(list->Kind(), list->Items(), list->SelectionStates(), this);
    if (dialog.exec() == QDialog::Accepted)
        list->SetSelectionStates(dialog.States());
}

void CParlantographerDlg::OpenBrowser()
{
    if (m_paneShown && m_pane) {
        m_pane->FocusList();
        return;
    }
    OpenBrowserWindow();
}

void CParlantographerDlg::OpenBrowserWindow()
{
    CLogger log("CParlantographerDlg::OpenBrowser");
    if (IsRecording() || !m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    RecordList records;
    const auto build = [this, &records]() -> const RecordList& {
        CWaitCursor wait;
        records = BuildRecordList(m_context.storage.EnumerateRecordFolders(),
                                  m_context.audio.GetTagger());
        return records;
    };
    build();
    CSinkPrompts prompts(m_context.sink);
    CFindRecordDlg browser({m_context.audio, prompts, m_context.pim, records, build,
                            [] { return QDateTime::currentDateTime(); },
                            m_context.storage.ProgramFolder(),
                            [this] { return m_context.storage.EnumerateRecordFolders(); },
                            &m_context.settings, m_peaks.get(),
                            [this] {
                                return m_context.storage.DataFolder();
                            }},
                           this);
    // One playback at a time: the pane's ends before the window's can start.
    if (m_pane)
        m_pane->StopPlayback();
    browser.resize(size());
    browser.exec();
    // What the window changed reaches the pane, which reads only those files.
    if (m_pane)
        m_pane->RefreshFromFolders();
}

void CParlantographerDlg::OpenTagManager()
{
    CLogger log("CParlantographerDlg::OpenTagManager");
    if (IsRecording() || !m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    const QList<QPair<QString, QStringList>> catalogue = m_catalogue->ListAll();
    const std::array<QString, 4> kinds = Kinds();
    std::array<QStringList, 4> chosen;
    for (std::size_t i = 0; i < chosen.size(); ++i)
        chosen[i] = m_slots[i]->SelectedItems();
    CSinkPrompts prompts(m_context.sink);
    CTagManagerDlg manager({*m_catalogue, m_context.settings, prompts}, this);
    manager.resize(size());
    manager.exec();
    // The slots keep their items and choices unless the groups or the slot kinds changed
    // (OK may rename or repair kinds; another program may have changed the catalogue).
    if (m_catalogue->ListAll() == catalogue && StoredKinds() == kinds)
        return;
    FillSlots(true);
    // Every chosen item that is still there is chosen again, under its new name if the
    // tag manager renamed it or its group.
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        CSlotList* slot = m_slots[i];
        if (const auto states =
                manager.Renames().ChoicesNow(kinds[i], chosen[i], slot->Kind(), slot->Items()))
            slot->SetSelectionStates(*states);
    }
}

void CParlantographerDlg::OpenAbout()
{
    if (!m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    m_context.sink.Show(EMessageIcon::Information, tr("About Parlantographer"),
                        tr("Parlantographer %1\n\nRecords voice memos and keeps their tags, "
                           "task and contacts inside each record.")
                            .arg(QStringLiteral(PARLANTOGRAPHER_VERSION)),
                        this);
    // After the box, as after every dialog, only a critical shortage is worth a word.
    m_context.memory.Check(m_context.sink, this);
}
