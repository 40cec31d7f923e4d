#include "app/recordingcontroller.h"

#include "app/logger.h"
#include "app/mountwatcher.h"
#include "app/recordbutton.h"
#include "app/screensaverinhibitor.h"
#include "app/waitcursor.h"
#include "audio/audiomanager.h"
#include "audio/leveltrail.h"
#include "audio/recorder.h"
#include "audio/timeleft.h"
#include "platform/wavebackend.h"
#include "store/recordingsession.h"
#include "store/settingsstore.h"
#include "store/storage.h"
#include "store/storagepaths.h"

#include <QApplication>
#include <QWidget>

namespace {

const QString kProduct = QStringLiteral("Parlantographer");
// The recording face's waveform shows this much of the recording.
constexpr std::uint32_t kTrailMs = 5000;

} // namespace

QString CRecordingController::FreeSpaceText()
{
    return CRecordingSession::EndMessage(ERecordingEnd::LowSpace);
}

QString CRecordingController::FreeSpaceCaption()
{
    return tr("Not enough memory to continue operation");
}

QString CRecordingController::InputFallbackText(const QString& device)
{
    return tr("The input device \"%1\" is not present; recording from the default input.")
        .arg(device);
}

CRecordingController::CRecordingController(SContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)),
      m_session(std::make_unique<CRecordingSession>(m_context.audio)),
      m_inhibitor(new CScreenSaverInhibitor(this)),
      m_mountWatcher(new CMountWatcher(m_context.mountTable, 1000, this))
{
    CAudioManager& audio = m_context.audio;
    CRecordButton& button = m_context.button;
    button.SetFreeBytesProvider([this] { return m_context.storage.FreeBytes(); });
    button.SetRateProvider(
        [&audio] { return CAudioManager::GetBytesPerSecond(audio.CodecIndex(), audio.Quality()); });
    button.SetElapsedProvider([this, &audio] {
        return static_cast<std::int64_t>(m_session->CapturedSamples() / audio.SampleRate());
    });
    button.SetLevelProvider(
        [&audio] { return static_cast<double>(audio.GetRecorder().InputLevel()); });
    button.SetDeviceTextProvider([this] { return InputDeviceText(); });
    button.SetTrailProvider(kTrailMs / CLevelTrail::kWindowMs, [&audio](std::size_t windows) {
        return audio.GetRecorder().RecentPeaks(windows);
    });
    connect(&button, &CRecordButton::PauseCommand, this, &CRecordingController::TogglePause);
    connect(&button, &CRecordButton::RecordCommand, this, &CRecordingController::OnRecord);
    connect(&button, &CRecordButton::Refreshed, this, &CRecordingController::Check);
    connect(m_mountWatcher, &CMountWatcher::VolumeRemoved, this,
            &CRecordingController::OnVolumeRemoved);
}

CRecordingController::~CRecordingController()
{
    if (!m_recording)
        return;
    CLogger log("CRecordingController::~CRecordingController");
    m_inhibitor->Release();
    if (const std::optional<QString> error = m_session->Stop()) {
        log.Write("the recording was not saved: %s", error->toUtf8().constData());
        qWarning("The recording %s was not saved: %s", qUtf8Printable(m_path),
                 qUtf8Printable(*error));
    }
}

void CRecordingController::Show(EMessageIcon icon, const QString& caption, const QString& text)
{
    m_context.sink.Show(icon, caption, text, &m_context.window);
}

void CRecordingController::ShowFreeSpace()
{
    Show(EMessageIcon::Information, FreeSpaceCaption(), FreeSpaceText());
}

QString CRecordingController::InputDeviceText() const
{
    const CRecorder& recorder = m_context.audio.GetRecorder();
    const std::string chosen = recorder.FellBackToDefault() ? std::string() : recorder.DeviceName();
    for (const SWaveDeviceInfo& device :
         m_context.audio.GetWaveBackend().Devices(EWaveDirection::Input)) {
        if (chosen.empty() ? device.isDefault : device.name == chosen)
            return QString::fromStdString(device.description.empty() ? device.name
                                                                     : device.description);
    }
    return QString::fromStdString(chosen);
}

void CRecordingController::RecordIfIdle()
{
    if (!m_recording)
        OnRecord();
}

void CRecordingController::OnRecord()
{
    CLogger log("CRecordingController::OnRecord");
    const double freeBytes = m_context.button.FreeBytesOfStorage();
    const bool room = TimeLeft::HasRoomToRecord(freeBytes);
    if (room)
        m_context.button.ResetProgress();
    else if (!m_recording)
        ShowFreeSpace();

    if (m_recording) {
        const bool saved = Stop();
        // Stopping with exactly the reserve left still warns: the next start would fail.
        if (saved && freeBytes <= TimeLeft::kReserveBytes)
            ShowFreeSpace();
    } else if (room) {
        Start();
    }
}

void CRecordingController::Start()
{
    const std::optional<QByteArray> area = CRecordingSession::ComposeInfo(m_context.selections());
    if (!area) {
        Show(EMessageIcon::Exclamation, kProduct,
             QCoreApplication::translate("RecordInfo", RecordInfo::kMsgDoesNotFit));
        return;
    }
    CRecordingSession::SRequest request;
    request.info = *area;
    request.nextPath = [this] {
        return m_context.storage.MakeRecordPath(m_context.audio.CodecIndex());
    };
    request.freeBytes = [this] {
        return m_context.button.FreeBytesOfStorage();
    };
    const CRecordingSession::SStart start = m_session->Start(request);
    switch (start.refusal) {
    case EStartRefusal::None:
        break;
    case EStartRefusal::NoRoom:
        ShowFreeSpace();
        return;
    case EStartRefusal::NoPath:
    case EStartRefusal::NameTaken:
        Show(EMessageIcon::Stop, tr("Error"), start.message);
        return;
    case EStartRefusal::EngineError:
        Show(EMessageIcon::Stop, tr("Exception"), start.message);
        return;
    }
    m_path = m_session->Path();
    m_inhibitor->Inhibit(tr("Recording a voice memo"));
    m_context.button.OnStartRecord();
    m_recording = true;
    emit RecordingChanged(true);
    if (start.fellBackToDefault)
        Show(EMessageIcon::Information, kProduct,
             InputFallbackText(m_context.settings.InputDevice()));
}

bool CRecordingController::Stop()
{
    if (!m_recording)
        return true;
    // The screen is idle again before any message shows: a message box runs an event
    // loop, and a recording face still ticking there could ask to stop a second time.
    std::optional<QString> error;
    {
        const CWaitCursor wait;
        error = m_session->Stop();
    }
    m_context.button.OnStopRecord();
    m_inhibitor->Release();
    m_recording = false;
    emit RecordingChanged(false);
    // After an engine error the screen stays idle: the recorder is stopped or unusable
    // either way, and a locked screen would help nobody.
    if (error)
        Show(EMessageIcon::Stop, tr("Exception"), *error);
    return !error;
}

void CRecordingController::Check()
{
    if (!m_recording)
        return;
    const ERecordingEnd end = m_session->Check();
    if (end == ERecordingEnd::Running || end == ERecordingEnd::LimitReached) // no limit here
        return;
    const bool saved = Stop();
    // Out of room: the reason is worth a word only once the record is safe; the other ends
    // are said either way, as the record may hold less than the user thinks.
    if (end == ERecordingEnd::LowSpace) {
        if (saved)
            ShowFreeSpace();
        return;
    }
    Show(EMessageIcon::Exclamation, kProduct, CRecordingSession::EndMessage(end));
}

void CRecordingController::OnVolumeRemoved(const QString& mountPoint)
{
    CLogger log("CRecordingController::OnVolumeRemoved");
    log.Write("%s", mountPoint.toUtf8().constData());
    if (!m_recording || m_context.settings.Storage() == StoragePaths::kDeviceMemory)
        return;
    Stop();
    Show(EMessageIcon::Exclamation, kProduct,
         CRecordingSession::EndMessage(ERecordingEnd::VolumeRemoved));
}

bool CRecordingController::IsPaused() const
{
    return m_recording && m_session->IsPaused();
}

void CRecordingController::TogglePause()
{
    if (!m_recording)
        return;
    const bool paused = m_session->IsPaused() ? !m_session->Resume() : m_session->Pause();
    m_context.button.SetPaused(paused);
    emit PausedChanged(paused);
}

void CRecordingController::Close()
{
    Stop();
    m_mountWatcher->blockSignals(true);
}
