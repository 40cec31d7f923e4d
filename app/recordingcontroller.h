#pragma once

#include "app/messagesink.h"
#include "store/recordinfo.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class CAudioManager;
class CMountWatcher;
class CRecordButton;
class CRecordingSession;
class CScreenSaverInhibitor;
class CSettingsStore;
class CStorage;
class QWidget;

// The main screen's recording, from the record button's tap to the finished record: the
// free-space rule of a start and a stop, the information of the slots composed at the start,
// the messages of a refused start or of an end, the screen saver held off meanwhile, and the
// ends that come from outside (the record button's refresh finding that the session must
// end, a storage card pulled out while the record goes to it).
class CRecordingController : public QObject
{
    Q_OBJECT
public:
    struct SContext
    {
        CAudioManager& audio;
        CSettingsStore& settings;
        CStorage& storage;
        MMessageSink& sink;
        CRecordButton& button;
        // Owns the messages.
        QWidget& window;
        // What the visible slots give the record, asked at each start.
        std::function<QList<RecordInfo::SSlotSelection>()> selections;
        // Where the mount table is read.
        QString mountTable;
    };

    explicit CRecordingController(SContext context, QObject* parent = nullptr);
    // Saves a recording still running; a failure goes to the log, as no message may open now.
    ~CRecordingController() override;

    // The record button's command: starts a recording, or stops and saves the one running.
    void OnRecord();
    // Starts a recording unless one runs (the launcher's "New Recording").
    void RecordIfIdle();
    // Stops and saves the recording; false when the engine failed (its error has been
    // shown). Idle afterwards either way; nothing when idle.
    bool Stop();
    // Ends the recording when the session says it must, with the message that explains it.
    void Check();
    // A file system went away: the recording stops when its record goes to a card.
    void OnVolumeRemoved(const QString& mountPoint);
    // The window closes: a recording is saved and no volume is watched any longer.
    void Close();
    // Pauses a recording that runs, or resumes one that is paused (the pause button, Ctrl+P).
    void TogglePause();

    bool IsRecording() const { return m_recording; }
    bool IsPaused() const;
    // The record being made, or the last one made.
    QString CurrentPath() const { return m_path; }
    CRecordingSession& Session() { return *m_session; }

    // The free-space message, shown when a recording cannot start or ran out of room.
    static QString FreeSpaceText();
    static QString FreeSpaceCaption();
    static QString InputFallbackText(const QString& device);

signals:
    // A recording started or ended; sent before any message about it shows.
    void RecordingChanged(bool recording);
    // A recording was paused or resumed (a stop ends a pause without this).
    void PausedChanged(bool paused);

private:
    void Start();
    void Show(EMessageIcon icon, const QString& caption, const QString& text);
    void ShowFreeSpace();
    // What people call the input a recording uses: the chosen device's description, or
    // the default's when none is chosen or the chosen one is absent.
    QString InputDeviceText() const;

    SContext m_context;
    std::unique_ptr<CRecordingSession> m_session;
    CScreenSaverInhibitor* m_inhibitor;
    CMountWatcher* m_mountWatcher;
    QString m_path;
    bool m_recording = false;
};
