#include "store/recordingsession.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/recorder.h"
#include "audio/tagger.h"
#include "audio/timeleft.h"
#include "store/storage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>

namespace {

// Names taken between the choice and the creation (other recordings starting in the same
// second) make the chooser try again; it gives up after this many.
constexpr int kPathAttempts = 16;

// Samples that fit above the reserve at the recording format's rate. The rates are upper
// bounds for Speex, and the reserve absorbs headers and pages.
std::uint64_t SamplesThatFit(const CAudioManager& audio, double freeBytes)
{
    const double room = freeBytes - TimeLeft::kReserveBytes;
    const std::uint32_t bytesPerSecond =
        CAudioManager::GetBytesPerSecond(audio.CodecIndex(), audio.Quality());
    if (room <= 0 || bytesPerSecond == 0)
        return 0;
    return static_cast<std::uint64_t>(room / bytesPerSecond * audio.SampleRate());
}

} // namespace

CRecordingSession::CRecordingSession(CAudioManager& audio) : m_audio(audio) {}

QString CRecordingSession::EndMessage(ERecordingEnd end)
{
    const char* text = nullptr;
    switch (end) {
    case ERecordingEnd::Running:
    case ERecordingEnd::LimitReached:
        return {};
    case ERecordingEnd::LowSpace:
        text = kMsgLowSpace;
        break;
    case ERecordingEnd::VolumeRemoved:
        text = kMsgVolumeRemoved;
        break;
    case ERecordingEnd::DeviceLost:
    case ERecordingEnd::DeviceStopped:
        text = kMsgDeviceStopped;
        break;
    case ERecordingEnd::WriteFailed:
        text = kMsgWriteFailed;
        break;
    }
    return QCoreApplication::translate("CRecordingSession", text);
}

CRecordingSession::~CRecordingSession()
{
    if (IsRecording())
        Stop();
}

std::optional<QByteArray>
CRecordingSession::ComposeInfo(const QList<RecordInfo::SSlotSelection>& selections)
{
    return RecordInfo::ComposeRecordInfo(selections);
}

CRecordingSession::SStart CRecordingSession::Start(const SRequest& request)
{
    if (IsRecording())
        return {EStartRefusal::EngineError,
                QCoreApplication::translate("CRecordingSession",
                                            "Recorder: A recording is already running")};
    const double freeBytes = request.freeBytes ? request.freeBytes() : 0.0;
    if (!TimeLeft::HasRoomToRecord(freeBytes))
        return {EStartRefusal::NoRoom,
                QCoreApplication::translate("CRecordingSession", kMsgLowSpace)};

    QString path;
    std::unique_ptr<CReservedFile> reserved;
    for (int attempt = 0; attempt < kPathAttempts && !reserved; ++attempt) {
        const SRecordPath candidate = request.nextPath();
        if (!candidate.Ok())
            return {EStartRefusal::NoPath, candidate.error};
        reserved = CReservedFile::Create(QFile::encodeName(candidate.path).toStdString());
        if (reserved) {
            path = candidate.path;
        } else if (request.fixedName || !QFileInfo::exists(candidate.path)) {
            const bool taken = QFileInfo::exists(candidate.path);
            return {taken ? EStartRefusal::NameTaken : EStartRefusal::NoPath,
                    candidate.path +
                        (taken ? QStringLiteral(": the file exists already; nothing recorded")
                               : QStringLiteral(": cannot create the file; nothing recorded"))};
        }
    }
    if (!reserved)
        return {
            EStartRefusal::NoPath,
            QCoreApplication::translate("CRecordingSession", "Cannot create a new record file.")};

    CRecorder& recorder = m_audio.GetRecorder();
    const std::uint64_t fit = std::max<std::uint64_t>(SamplesThatFit(m_audio, freeBytes), 1);
    const bool spaceLimited = request.sampleLimit == 0 || fit < request.sampleLimit;
    recorder.SetSampleLimit(spaceLimited ? fit : request.sampleLimit);
    try {
        recorder.Record(
            reserved->FilePath(),
            std::string(request.info.constData(), static_cast<std::size_t>(request.info.size())));
    } catch (const std::exception& error) {
        reserved->Discard(); // an empty record would only clutter the catalogue
        return {EStartRefusal::EngineError, QString::fromStdString(error.what())};
    }
    m_reserved = std::move(reserved);
    m_startedAt = std::chrono::system_clock::now();
    m_wasPaused = false;
    m_path = path;
    m_folder = QFileInfo(path).absolutePath();
    m_info = request.info;
    m_freeBytes = request.freeBytes;
    m_spaceLimited = spaceLimited;
    SStart started;
    started.fellBackToDefault = recorder.FellBackToDefault();
    return started;
}

ERecordingEnd CRecordingSession::Check() const
{
    if (!IsRecording())
        return ERecordingEnd::Running;
    CRecorder& recorder = m_audio.GetRecorder();
    if (recorder.WriteFailed())
        return ERecordingEnd::WriteFailed;
    if (recorder.WaitForSampleLimit(std::chrono::milliseconds(0)))
        return m_spaceLimited ? ERecordingEnd::LowSpace : ERecordingEnd::LimitReached;
    if (recorder.DeviceLost())
        return ERecordingEnd::DeviceLost;
    if (recorder.IsStopped())
        return ERecordingEnd::DeviceStopped;
    if (!QFileInfo::exists(m_folder))
        return ERecordingEnd::VolumeRemoved;
    if (!TimeLeft::HasRoomToRecord(m_freeBytes ? m_freeBytes() : 0.0))
        return ERecordingEnd::LowSpace;
    return ERecordingEnd::Running;
}

ERecordingEnd CRecordingSession::Wait(std::chrono::milliseconds timeout) const
{
    if (IsRecording())
        m_audio.GetRecorder().WaitForSampleLimit(timeout);
    return Check();
}

std::optional<QString> CRecordingSession::Stop()
{
    if (!IsRecording())
        return std::nullopt;
    const std::unique_ptr<CReservedFile> reserved = std::move(m_reserved);
    try {
        m_audio.GetRecorder().StopRecording();
        // Into the file recorded, whatever its name has become; the locks are still held,
        // so no edit can have come between.
        const std::string file = reserved->FilePath();
        m_audio.GetTagger().WriteRecordInfo(file, m_audio.GetSuitableCodec(file, reserved->Path()),
                                            m_info.constData(),
                                            static_cast<std::size_t>(m_info.size()));
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    }
    if (m_wasPaused)
        KeepStartAsDate(reserved->FilePath());
    // Written into a file that no longer has a name: the recording is lost, and the user
    // must hear so.
    if (reserved->Deleted())
        return QCoreApplication::translate("CRecordingSession", kMsgDeleted);
    return std::nullopt;
}

bool CRecordingSession::Pause()
{
    if (!IsRecording() || !m_audio.GetRecorder().Pause())
        return false;
    m_wasPaused = true;
    return true;
}

bool CRecordingSession::Resume()
{
    return IsRecording() && m_audio.GetRecorder().Resume();
}

bool CRecordingSession::IsPaused() const
{
    return IsRecording() && m_audio.GetRecorder().IsPaused();
}

// A record's date, where no name or birth tells it, is its modification time less its length:
// with the pause in between, that would be later than the start.
void CRecordingSession::KeepStartAsDate(const std::string& file) const
{
    const auto length = std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::duration<double>(static_cast<double>(CapturedSamples()) /
                                      m_audio.SampleRate()));
    std::error_code error;
    std::filesystem::last_write_time(file, std::chrono::file_clock::from_sys(m_startedAt + length),
                                     error);
    // A file system that keeps no such time dates the record by its end; the record is whole.
}

std::uint64_t CRecordingSession::CapturedSamples() const
{
    return m_audio.GetRecorder().CapturedSamples();
}
