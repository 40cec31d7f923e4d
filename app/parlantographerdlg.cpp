#include "app/parlantographerdlg.h"

#include "app/logger.h"
#include "app/mainlayout.h"
#include "app/memorycheck.h"
#include "app/messagesink.h"
#include "app/mountwatcher.h"
#include "app/recordbutton.h"
#include "app/screensaverinhibitor.h"
#include "app/settings.h"
#include "app/showalldlg.h"
#include "audio/audiomanager.h"
#include "audio/player.h"
#include "audio/recorder.h"
#include "audio/tagger.h"
#include "audio/timeleft.h"
#include "browser/findrecorddlg.h"
#include "browser/messageboxprompts.h"
#include "browser/tagmanagerdlg.h"
#include "controls/backgroundwidget.h"
#include "controls/drawnicons.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"
#include "platform/freespace.h"
#include "platform/wavebackend.h"
#include "store/locationlist.h"
#include "store/pimsource.h"
#include "store/pimstore.h"
#include "store/recordcatalogue.h"
#include "store/recordinfo.h"
#include "store/recordingsession.h"
#include "store/settingsstore.h"
#include "store/storage.h"
#include "store/tagcatalogue.h"
#include "store/taggroupactions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <exception>

namespace {

const QString kNone = QStringLiteral("None");
const QString kTask = QStringLiteral("Task");
const QString kContacts = QStringLiteral("Contacts");
const QString kLocation = QStringLiteral("Location");
const QString kDeviceMemory = QStringLiteral("Device memory");
const QString kProduct = QStringLiteral("Parlantographer");

// Shows the wait cursor for as long as it lives.
class CWaitCursor
{
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// The browser's messages go to the main screen's sink, so they are shown (or recorded)
// like every other message of the program; its questions are asked in a message box.
class CSinkPrompts : public CMessageBoxPrompts
{
public:
    explicit CSinkPrompts(MMessageSink& sink) : m_sink(sink) {}
    void Tell(EPromptIcon icon, const QString& caption, const QString& text,
              QWidget* owner) override
    {
        EMessageIcon sinkIcon = EMessageIcon::Information;
        if (icon == EPromptIcon::Exclamation)
            sinkIcon = EMessageIcon::Exclamation;
        else if (icon == EPromptIcon::Stop)
            sinkIcon = EMessageIcon::Stop;
        m_sink.Show(sinkIcon, caption.isEmpty() ? kProduct : caption, text, owner);
    }

private:
    MMessageSink& m_sink;
};

} // namespace

QString CParlantographerDlg::FreeSpaceText()
{
    return QStringLiteral(
        "The program requires at least 1 MB of free memory to continue with recording.");
}

QString CParlantographerDlg::FreeSpaceCaption()
{
    return QStringLiteral("Not enough memory to continue operation");
}

QString CParlantographerDlg::DeviceStoppedText()
{
    return tr("The audio input stopped while recording (the device was removed or failed).\n"
              "The record holds what was captured until then.");
}

QString CParlantographerDlg::InputFallbackText(const QString& device)
{
    return tr("The input device \"%1\" is not present; recording from the default input.")
        .arg(device);
}

QString CParlantographerDlg::CardRemovedText()
{
    return QStringLiteral("The storage card has been removed while recording.\nThe record is "
                          "being recorded may be corrupted!");
}

CParlantographerDlg::CParlantographerDlg(SContext context, QWidget* parent)
    : QMainWindow(parent), m_context(std::move(context))
{
    {
        CLogger log("CParlantographerDlg::CParlantographerDlg");
        m_audio = std::make_unique<CAudioManager>();
        m_audio->ApplyFormat(m_context.settings.Format());
        m_session = std::make_unique<CRecordingSession>(*m_audio);
        // Empty names follow the sound server's default device.
        m_audio->GetRecorder().SetDeviceName(m_context.settings.InputDevice().toStdString());
        m_audio->GetPlayer().SetDeviceName(m_context.settings.OutputDevice().toStdString());
        m_catalogue = std::make_unique<CTagCatalogue>(m_context.storage.ProgramFolder());
        m_locations = std::make_unique<CLocationList>(m_context.storage.ProgramFolder());

        setWindowTitle(kProduct);
        setWindowIcon(DrawnIcons::AppIcon());
        m_central = new CBackgroundWidget(this);
        setCentralWidget(m_central);
        m_central->installEventFilter(this);
        BuildSlots();

        m_recordButton = new CRecordButton(m_central);
        m_recordButton->SetFreeBytesProvider([this] { return FreeBytesOfChosenStorage(); });
        m_recordButton->SetRateProvider([this] {
            return CAudioManager::GetBytesPerSecond(m_audio->CodecIndex(), m_audio->Quality());
        });
        m_recordButton->SetElapsedProvider([this] {
            return static_cast<std::int64_t>(m_session->CapturedSamples() / m_audio->SampleRate());
        });
        connect(m_recordButton, &CRecordButton::RecordCommand, this,
                &CParlantographerDlg::OnRecord);
        connect(m_recordButton, &CRecordButton::Refreshed, this,
                &CParlantographerDlg::CheckRecording);

        m_mountWatcher = new CMountWatcher(m_context.mountTable, 1000, this);
        connect(m_mountWatcher, &CMountWatcher::VolumeRemoved, this,
                &CParlantographerDlg::OnVolumeRemoved);
        m_inhibitor = new CScreenSaverInhibitor(this);

        resize(480, 640);
    }
    // Initialisation traces as an outermost scope of its own, not inside construction.
    OnInitDialog();
}

CParlantographerDlg::~CParlantographerDlg()
{
    if (m_recording)
        StopAndSave();
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
    }
}

void CParlantographerDlg::BuildMenu()
{
    using DrawnIcons::EGlyph;
    m_menu = menuBar()->addMenu(tr("Menu"));
    m_settingsAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::Settings), tr("Settings"));
    m_tagManagerAction = m_menu->addAction(tr("Tag Manager"));
    m_locationManagerAction = m_menu->addAction(tr("Location Manager"));
    m_playerMenuAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::Player), tr("Player"));
    m_menu->addSeparator();
    m_aboutAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::About), tr("About"));
    m_menu->addSeparator();
    m_exitAction = m_menu->addAction(DrawnIcons::Icon(EGlyph::Exit), tr("Exit"));
    m_exitAction->setShortcut(QKeySequence::Quit);
    m_playerAction = menuBar()->addAction(tr("Player"));

    m_locationManagerAction->setEnabled(false);
    // On the menu item, so the menu shows it; one key for both ways in.
    m_playerMenuAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));

    connect(m_settingsAction, &QAction::triggered, this, &CParlantographerDlg::OpenSettings);
    connect(m_aboutAction, &QAction::triggered, this, &CParlantographerDlg::OpenAbout);
    connect(m_tagManagerAction, &QAction::triggered, this, &CParlantographerDlg::OpenTagManager);
    connect(m_playerAction, &QAction::triggered, this, &CParlantographerDlg::OpenBrowser);
    connect(m_playerMenuAction, &QAction::triggered, this, &CParlantographerDlg::OpenBrowser);
    connect(m_exitAction, &QAction::triggered, this, &CParlantographerDlg::OnAppExit);
}

void CParlantographerDlg::OnInitDialog()
{
    CLogger log("CParlantographerDlg::OnInitDialog");
    if (!m_context.settings.WriteFirstStartSlots())
        m_context.sink.Show(EMessageIcon::Stop, QStringLiteral("Error"),
                            QString::fromLatin1(CSettingsStore::kWriteFailedMessage), this);
    // Without a catalogue the tag-group slots stay empty; the program still records.
    m_catalogue->EnsureDefaultGroups();
    BuildMenu();
    log.Write("before SetControls");
    m_recordButton->OnStopRecord();
    log.Write("after SetControls");
    log.Write("before FillSlots");
    FillSlots(true);
    log.Write("after FillSlots");
    m_recordButton->setFocus(Qt::OtherFocusReason);
}

std::array<QString, 4> CParlantographerDlg::Kinds() const
{
    std::array<QString, 4> kinds;
    for (std::size_t i = 0; i < 4; ++i)
        kinds[i] = m_slots[i]->Kind();
    return kinds;
}

int CParlantographerDlg::LayoutHeight() const
{
    // The designed heights count the whole visible desktop, menu bar included.
    return m_central->height() + (menuBar()->isVisible() ? menuBar()->height() : 0);
}

bool CParlantographerDlg::IsSlotVisible(int index) const
{
    return MainLayout::IsSlotVisible(index, LayoutHeight(), Kinds());
}

QString CParlantographerDlg::RepairedKind(int slot, const QString& kind)
{
    // The group was deleted or renamed. The first slot always shows something; the
    // others are put out of use. Either way the repair is stored, so no slot keeps
    // naming a kind that does not exist.
    const QString repaired = TagGroupActions::RepairedSlotKind(*m_catalogue, slot, kind);
    if (repaired != kind)
        m_context.settings.SetSlot(slot, repaired);
    return repaired;
}

void CParlantographerDlg::FillSlots(bool reset)
{
    CLogger log("CParlantographerDlg::FillSlots");
    for (int i = 0; i < 4; ++i) {
        const QString kind = RepairedKind(i, m_context.settings.Slot(i));
        CSlotList* slot = m_slots[static_cast<std::size_t>(i)];
        const bool changed = slot->Kind() != kind;
        slot->SetKind(kind);
        FillTags(i, kind, reset || changed);
    }
    Relayout();
}

void CParlantographerDlg::FillTags(int slot, const QString& kind, bool reset)
{
    CLogger log("CParlantographerDlg::FillTags");
    CSlotList* list = m_slots[static_cast<std::size_t>(slot)];
    if (reset) {
        log.Write("before ResetContent");
        list->ClearItems();
        log.Write("after ResetContent");
    }
    if (kind.isEmpty() || kind == kNone)
        return;
    QStringList items;
    const CPimStore pim(m_context.pim);
    if (kind == kTask) {
        log.Write("before FillTasks");
        pim.FillTasks(items);
        log.Write("after FillTasks");
    } else if (kind == kLocation) {
        log.Write("before FillLocations");
        items = m_locations->FillLocations();
        log.Write("after FillLocations");
    } else if (kind == kContacts) {
        log.Write("before FillContacts");
        pim.FillContacts(items);
        log.Write("after FillContacts");
    } else {
        m_catalogue->AddTagsOfGroup(items, kind);
    }
    for (const QString& item : std::as_const(items)) {
        if (!item.isEmpty())
            list->AddItemIfAbsent(item);
    }
    log.Write("before RefreshWindow");
    list->RefreshRows();
    log.Write("after RefreshWindow");
}

void CParlantographerDlg::Relayout()
{
    CLogger log("CParlantographerDlg::ReallocWnds");
    const int reserve = menuBar()->isVisible() ? menuBar()->height() : 0;
    const int width = m_central->width();
    const int height = m_central->height() + reserve;
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
}

bool CParlantographerDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_central && event->type() == QEvent::Resize)
        Relayout();
    return QMainWindow::eventFilter(watched, event);
}

void CParlantographerDlg::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Coming back from another program may bring new contacts, tasks or tags: add them
    // without disturbing what is listed and selected.
    if (event->type() == QEvent::ActivationChange && !m_recording && !m_closing)
        FillSlots(false);
}

double CParlantographerDlg::FreeBytesOfChosenStorage() const
{
    const std::optional<QString> folder = m_context.storage.DataFolder();
    if (!folder)
        return 0.0; // the chosen card is absent: nothing to record onto
    // The data folder is created by the first recording; until then its nearest
    // existing parent is on the same file system.
    QString path = QDir::cleanPath(*folder);
    while (!QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return 0.0;
        path = parent;
    }
    return FreeBytesAt(path.toStdString());
}

void CParlantographerDlg::OnRecord()
{
    CLogger log("CParlantographerDlg::OnRecord");
    const double freeBytes = m_recordButton->FreeBytesOfStorage();
    const bool room = TimeLeft::HasRoomToRecord(freeBytes);
    if (room)
        m_recordButton->ResetProgress();
    else if (!m_recording)
        m_context.sink.Show(EMessageIcon::Information, FreeSpaceCaption(), FreeSpaceText(), this);

    if (m_recording) {
        const bool saved = StopAndSave();
        // Stopping with exactly the reserve left still warns: the next start would fail.
        if (saved && freeBytes <= TimeLeft::kReserveBytes)
            m_context.sink.Show(EMessageIcon::Information, FreeSpaceCaption(), FreeSpaceText(),
                                this);
    } else if (room) {
        StartRecording();
    }
}

void CParlantographerDlg::StartRecording()
{
    QList<RecordInfo::SSlotSelection> selections;
    for (int i = 0; i < 4; ++i) {
        const CSlotList* slot = m_slots[static_cast<std::size_t>(i)];
        selections.append({slot->Kind(), slot->Items(), slot->SelectionStates(), IsSlotVisible(i)});
    }
    const std::optional<QByteArray> area = CRecordingSession::ComposeInfo(selections);
    if (!area) {
        m_context.sink.Show(EMessageIcon::Exclamation, kProduct,
                            QString::fromLatin1(RecordInfo::kMsgDoesNotFit), this);
        return;
    }
    CRecordingSession::SRequest request;
    request.info = *area;
    request.nextPath = [this] {
        return m_context.storage.MakeRecordPath(m_audio->CodecIndex());
    };
    request.freeBytes = [this] {
        return m_recordButton->FreeBytesOfStorage();
    };
    const CRecordingSession::SStart start = m_session->Start(request);
    switch (start.refusal) {
    case EStartRefusal::None:
        break;
    case EStartRefusal::NoRoom:
        m_context.sink.Show(EMessageIcon::Information, FreeSpaceCaption(), FreeSpaceText(), this);
        return;
    case EStartRefusal::NoPath:
    case EStartRefusal::NameTaken:
        m_context.sink.Show(EMessageIcon::Stop, QStringLiteral("Error"), start.message, this);
        return;
    case EStartRefusal::EngineError:
        ShowEngineError(start.message);
        return;
    }
    m_recordPath = m_session->Path();
    m_inhibitor->Inhibit(tr("Recording a voice memo"));
    m_recordButton->OnStartRecord();
    SetControlsEnabled(false);
    if (start.fellBackToDefault)
        m_context.sink.Show(EMessageIcon::Information, kProduct,
                            InputFallbackText(m_context.settings.InputDevice()), this);
}

bool CParlantographerDlg::StopAndSave()
{
    // The screen is idle again before any message shows: a message box runs an event
    // loop, and a recording face still ticking there could ask to stop a second time.
    std::optional<QString> error;
    {
        const CWaitCursor wait;
        error = m_session->Stop();
    }
    m_recordButton->OnStopRecord();
    m_inhibitor->Release();
    SetControlsEnabled(true);
    // After an engine error the screen stays idle: the recorder is stopped or unusable
    // either way, and a locked screen would help nobody.
    if (error)
        ShowEngineError(*error);
    return !error;
}

void CParlantographerDlg::CheckRecording()
{
    if (!m_recording)
        return;
    switch (m_session->Check()) {
    case ERecordingEnd::Running:
    case ERecordingEnd::LimitReached: // the window sets no limit
        return;
    case ERecordingEnd::LowSpace:
        if (StopAndSave())
            m_context.sink.Show(EMessageIcon::Information, FreeSpaceCaption(), FreeSpaceText(),
                                this);
        return;
    case ERecordingEnd::VolumeRemoved:
        StopAndSave();
        m_context.sink.Show(EMessageIcon::Exclamation, kProduct, CardRemovedText(), this);
        return;
    case ERecordingEnd::DeviceLost:
    case ERecordingEnd::DeviceStopped:
        StopAndSave();
        m_context.sink.Show(EMessageIcon::Exclamation, kProduct, DeviceStoppedText(), this);
        return;
    case ERecordingEnd::WriteFailed:
        StopAndSave();
        m_context.sink.Show(EMessageIcon::Exclamation, kProduct,
                            QString::fromLatin1(CRecordingSession::kMsgWriteFailed), this);
        return;
    }
}

void CParlantographerDlg::SetControlsEnabled(bool enabled)
{
    m_recording = !enabled;
    for (CSlotList* slot : m_slots)
        slot->setEnabled(enabled);
    for (QAction* action : {m_settingsAction, m_tagManagerAction, m_aboutAction, m_exitAction,
                            m_playerAction, m_playerMenuAction})
        action->setEnabled(enabled);
}

void CParlantographerDlg::ShowEngineError(const QString& text)
{
    m_context.sink.Show(EMessageIcon::Stop, QStringLiteral("Exception"), text, this);
}

void CParlantographerDlg::OnAppExit()
{
    CLogger log("CParlantographerDlg::OnAppExit");
    if (m_recording)
        StopAndSave();
    m_closing = true;
    close();
}

void CParlantographerDlg::closeEvent(QCloseEvent* event)
{
    // Closing the window by its frame, a signal or the session ends the same way as Exit.
    if (m_recording)
        StopAndSave();
    m_closing = true;
    m_mountWatcher->blockSignals(true);
    event->accept();
}

void CParlantographerDlg::OnVolumeRemoved(const QString& mountPoint)
{
    CLogger log("CParlantographerDlg::OnVolumeRemoved");
    log.Write("%s", mountPoint.toUtf8().constData());
    if (!m_recording || m_context.settings.Storage() == kDeviceMemory)
        return;
    StopAndSave();
    m_context.sink.Show(EMessageIcon::Exclamation, kProduct, CardRemovedText(), this);
}

void CParlantographerDlg::OnHeaderClicked(int slot)
{
    if (!m_recording)
        m_slots[static_cast<std::size_t>(slot)]->OpenInPlaceEdit();
}

void CParlantographerDlg::OnEditFinished(int slot, const QString& text)
{
    const QString kind = m_slots[static_cast<std::size_t>(slot)]->Kind();
    if (!text.isEmpty()) {
        if (kind == kLocation) {
            const QString refusal = CLocationList::Refusal(text);
            if (!refusal.isEmpty())
                m_context.sink.Show(EMessageIcon::Exclamation, kProduct, refusal, this);
            else if (!m_locations->AddLocation(text))
                m_context.sink.Show(EMessageIcon::Exclamation, kProduct,
                                    tr("The location could not be saved."), this);
        } else if (CSlotList::IsAddableKind(kind)) {
            const ECatalogueResult result = m_catalogue->AddTagFirst(kind, text);
            // A tag that is there already is simply there; a refused or unsaved one is
            // said so, rather than vanishing without a word.
            if (result != ECatalogueResult::Ok && result != ECatalogueResult::AlreadyExists &&
                result != ECatalogueResult::EmptyName)
                m_context.sink.Show(EMessageIcon::Exclamation, kProduct,
                                    CTagCatalogue::Message(result, false), this);
        }
    }
    FillSlots(false);
    m_recordButton->setFocus(Qt::OtherFocusReason);
}

void CParlantographerDlg::OpenSettings()
{
    if (m_recording || !m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    CSettings dialog({m_context.settings, *m_audio, m_context.sink, m_catalogue->ListGroups(),
                      [this] { return m_context.storage.StorageList(); },
                      MainLayout::RowsForHeight(LayoutHeight()).count},
                     this);
    if (dialog.exec() == QDialog::Accepted) {
        if (m_context.settingsApplied)
            m_context.settingsApplied();
        FillSlots(true);
    }
    m_context.memory.Check(m_context.sink, this);
}

void CParlantographerDlg::OpenShowAll(int slot)
{
    if (m_recording || !m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    CSlotList* list = m_slots[static_cast<std::size_t>(slot)];
    CShowAllDlg dialog(list->Kind(), list->Items(), list->SelectionStates(), this);
    if (dialog.exec() == QDialog::Accepted)
        list->SetSelectionStates(dialog.States());
}

void CParlantographerDlg::OpenBrowser()
{
    CLogger log("CParlantographerDlg::OnPlayer");
    if (m_recording || !m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    RecordList records;
    const auto build = [this, &records]() -> const RecordList& {
        CWaitCursor wait;
        records = BuildRecordList(m_context.storage.EnumerateRecordFolders(), m_audio->GetTagger());
        return records;
    };
    build();
    CSinkPrompts prompts(m_context.sink);
    CFindRecordDlg browser({*m_audio, prompts, m_context.pim, records, build,
                            [] { return QDateTime::currentDateTime(); },
                            m_context.storage.ProgramFolder()},
                           this);
    browser.resize(size());
    browser.exec();
}

void CParlantographerDlg::OpenTagManager()
{
    CLogger log("CParlantographerDlg::OnTagManager");
    if (m_recording || !m_context.memory.CheckOrWarn(m_context.sink, this))
        return;
    CSinkPrompts prompts(m_context.sink);
    CTagManagerDlg manager({*m_catalogue, m_context.settings, prompts}, this);
    manager.resize(size());
    manager.exec();
    // OK may have renamed or repaired slot kinds, Cancel may have put groups back.
    FillSlots(true);
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
    m_context.memory.CheckOrWarn(m_context.sink, this);
}
