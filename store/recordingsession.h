#pragma once

#include "store/recordinfo.h"
#include "store/reservedfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CAudioManager;
struct SRecordPath;

// Why a recording ended; Running while it should go on.
enum class ERecordingEnd
{
    Running,
    LimitReached,  // the requested number of samples was captured
    LowSpace,      // the storage fell below the recording reserve
    VolumeRemoved, // the folder of the record went away (a card was pulled)
    DeviceLost,    // the input device was unplugged or removed
    DeviceStopped, // the capture stopped by itself (the device failed)
    WriteFailed    // the record could not be written further (the storage is full)
};

// Why a recording did not start.
enum class EStartRefusal
{
    None,
    NoRoom,     // less than the reserve is free
    NoPath,     // no record name could be made or created
    NameTaken,  // a fixed name exists already
    EngineError // the recorder refused (no device, a device error)
};

// One recording from the start to the finished record, with every rule that the window
// and the command line share: the free-space check, an exclusive record path, start and
// stop, the information written into the file at both ends, and the ends that come from
// outside (the sample limit, low space, a removed volume, a removed or failed device).
// The input device is the recorder's own setting (CRecorder::SetDeviceName).
//
// Everything runs on the controlling thread; Check is cheap enough to call a few times a
// second.
class CRecordingSession
{
public:
    struct SRequest
    {
        // The record's information area, as ComposeInfo gives it (or any text that fits).
        QByteArray info;
        // A path for the new record; asked again when the name it gave is taken meanwhile
        // (another recording in the same second), unless `fixedName`.
        std::function<SRecordPath()> nextPath;
        bool fixedName = false;
        // Free bytes of the storage the record goes to.
        std::function<double()> freeBytes;
        // 0: no limit; otherwise the recording ends by itself after that many samples.
        std::uint64_t sampleLimit = 0;
    };

    struct SStart
    {
        EStartRefusal refusal = EStartRefusal::None;
        QString message; // what to tell the user when refused
        // Started, but on the default input: the recorder's chosen device is not present.
        bool fellBackToDefault = false;
        bool Ok() const { return refusal == EStartRefusal::None; }
    };

    static constexpr const char* kMsgLowSpace = QT_TRANSLATE_NOOP(
        "CRecordingSession",
        "The program requires at least 1 MB of free memory to continue with recording.");
    static constexpr const char* kMsgWriteFailed = QT_TRANSLATE_NOOP(
        "CRecordingSession",
        "The record could not be written further (is the storage full?). It holds what was "
        "written until then.");

    static constexpr const char* kMsgVolumeRemoved = QT_TRANSLATE_NOOP(
        "CRecordingSession", "The storage card has been removed while recording.\nThe record is "
                             "being recorded may be corrupted!");
    static constexpr const char* kMsgDeviceStopped = QT_TRANSLATE_NOOP(
        "CRecordingSession",
        "The audio input stopped while recording (the device was removed or failed).\nThe record "
        "holds what was captured until then.");

    static constexpr const char* kMsgDeleted = QT_TRANSLATE_NOOP(
        "CRecordingSession", "The record was deleted by another program while it was being "
                             "recorded.");

    // What to tell the user of a recording that ended by itself: the window shows it, the
    // command line prints it. Empty while it runs and when it ended at its own limit.
    static QString EndMessage(ERecordingEnd end);

    explicit CRecordingSession(CAudioManager& audio);
    // Stops and saves a recording still running.
    ~CRecordingSession();
    CRecordingSession(const CRecordingSession&) = delete;
    CRecordingSession& operator=(const CRecordingSession&) = delete;

    // The information area of the selected slot items; nullopt when it does not fit
    // (RecordInfo::kMsgDoesNotFit says so).
    static std::optional<QByteArray>
    ComposeInfo(const QList<RecordInfo::SSlotSelection>& selections);

    // Checks the free space, creates the record's file exclusively and starts the
    // recorder with the information already in the header, so that a recording cut short
    // by a crash is still a record with its information. Nothing is left on disk when it
    // is refused. The recorder is given a sample limit at the reserve: the free space is
    // measured against what is written, not only when Check happens to look, so a
    // recording faster than real time stops in time too. While it records, the file is
    // held open and locked (CReservedFile): every delete, rename and information edit takes
    // it as in use, and the recording reaches the file itself, never another one that takes
    // its name.
    SStart Start(const SRequest& request);
    // Whether the recording should end now, and why.
    ERecordingEnd Check() const;
    // Waits up to `timeout` for the sample limit, then Check.
    ERecordingEnd Wait(std::chrono::milliseconds timeout) const;
    // Stops the recorder, which finalises the file, and writes the information into it
    // (the file recorded into, whatever its name has become).
    // The engine's message when that failed. The session is idle afterwards either way.
    std::optional<QString> Stop();

    // Pauses the recording: nothing captured until Resume goes into the record, the device
    // stays open and Check watches the ends as before. A record that was paused keeps its
    // start as its date: its modification time is set at the stop to the start plus the
    // audio's length, as it would be without the pause. False when not recording or paused.
    bool Pause();
    // False when not paused.
    bool Resume();
    bool IsPaused() const;

    bool IsRecording() const { return m_reserved != nullptr; }
    // The record being made, or the last one made, by the name it was created under.
    QString Path() const { return m_path; }
    std::uint64_t CapturedSamples() const;

private:
    void KeepStartAsDate(const std::string& file) const;

    CAudioManager& m_audio;
    std::unique_ptr<CReservedFile> m_reserved;
    QString m_path;
    QString m_folder;
    QByteArray m_info;
    std::function<double()> m_freeBytes;
    bool m_spaceLimited = false; // the recorder's sample limit is the free space's
    std::chrono::system_clock::time_point m_startedAt;
    bool m_wasPaused = false;
};
