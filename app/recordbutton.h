#pragma once

#include "controls/recordbuttonface.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class CGlyphButton;

// The large button that starts and stops a recording. A tap sends RecordCommand to the
// main screen unless it comes within 2000 ms of the last accepted tap (one double tap
// never starts and stops at once). While recording, the face shows a progress bar and
// "elapsed / left" text refreshed a few times a second, and Refreshed tells the main
// screen to look at the recording (which stops it when space runs low).
class CRecordButton : public QWidget
{
    Q_OBJECT
public:
    static constexpr std::int64_t kGuardMs = 2000;
    // Often enough that the elapsed time shown never lags the record by more than a quarter
    // of a second.
    static constexpr int kTickMs = 250;
    // The level meter's refresh: about 20 times a second.
    static constexpr int kLevelMs = 50;
    // Below this share of full scale the input counts as silent (about -40 dB).
    static constexpr double kSilence = 0.01;
    // Silence this long brings up the hint that names the device.
    static constexpr std::int64_t kSilenceHintMs = 5000;

    using Clock = std::function<std::int64_t()>;
    using FreeBytes = std::function<double()>;
    using Rate = std::function<std::uint32_t()>;
    using Elapsed = std::function<std::int64_t()>;
    using LevelSource = std::function<double()>;
    using DeviceText = std::function<QString()>;
    // The input's peaks of the last `windows` windows, oldest first.
    using Trail = std::function<std::vector<float>(std::size_t windows)>;

    explicit CRecordButton(QWidget* parent = nullptr);

    // A monotonic millisecond clock; the default is the system's steady clock.
    void SetClock(Clock clock) { m_clock = std::move(clock); }
    // Free bytes of the chosen storage; without a provider there are none.
    void SetFreeBytesProvider(FreeBytes provider) { m_freeBytes = std::move(provider); }
    // Nominal bytes per second of the current recording format.
    void SetRateProvider(Rate rate) { m_rate = std::move(rate); }
    // Whole seconds recorded so far; without a provider, the seconds since the start.
    void SetElapsedProvider(Elapsed elapsed) { m_elapsedProvider = std::move(elapsed); }
    // The input level 0..1 for the meter; without it the recording face has no meter.
    void SetLevelProvider(LevelSource level) { m_levelProvider = std::move(level); }
    // What the silence hint calls the input device.
    void SetDeviceTextProvider(DeviceText text) { m_deviceText = std::move(text); }
    // The waveform of the last seconds beside the meter, `windows` peaks wide; without it
    // the recording face has none.
    void SetTrailProvider(std::size_t windows, Trail trail);
    void SetScale(int scale);

    double FreeBytesOfStorage() const { return m_freeBytes ? m_freeBytes() : 0.0; }
    std::uint32_t FreeSpaceInSeconds() const;

    // Start tick := now; bar range := 0 .. seconds left; position := 0.
    void ResetProgress();
    // Recording face, seconds left from the free space, the once-a-second refresh runs.
    void OnStartRecord();
    // Idle face, refresh stopped, bar and text hidden.
    void OnStopRecord();
    // The recording face says "Paused" (or no longer), its waveform stands still and the
    // pause button offers to resume.
    void SetPaused(bool paused);
    bool IsPaused() const { return m_face.paused; }
    // The button on the recording face that pauses and resumes.
    CGlyphButton* PauseButton() const { return m_pauseButton; }
    // What the face says while paused.
    static QString PausedText();

    // A tap as the mouse, the keys and Ctrl+R give it: ignored within the guard time.
    void Tap();
    // One refresh of the level meter as its timer runs it; public for the tests.
    void LevelTick();
    double Level() const { return m_face.level; }
    // The hint under the caption ("No sound from ..."), empty while sound comes in.
    QString Hint() const { return m_face.hint; }
    // One refresh as the timer runs it; public so tests can step time themselves.
    void Tick();

    bool IsRecordingFace() const { return m_face.image == RecordButtonFace::EImage::Recording; }
    std::int64_t SecondsLeft() const { return m_secondsLeft; }
    std::int64_t ElapsedSeconds() const { return m_elapsed; }
    // The bar's upper bound and position, in seconds, never wrapped to 16 bits.
    std::int64_t ProgressMaximum() const { return m_rangeHigh; }
    std::int64_t ProgressPosition() const { return m_position; }
    QString TimeText() const { return m_face.timeText; }
    bool IsProgressShown() const { return m_face.showProgress; }
    bool IsTicking() const { return m_timer.isActive() || m_levelTimer.isActive(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void RecordCommand();
    // The pause button was clicked.
    void PauseCommand();
    // A refresh of the recording face happened.
    void Refreshed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ConfigureProgress();
    std::int64_t Now() const;

    Clock m_clock;
    FreeBytes m_freeBytes;
    Rate m_rate;
    Elapsed m_elapsedProvider;
    LevelSource m_levelProvider;
    DeviceText m_deviceText;
    Trail m_trail;
    CGlyphButton* m_pauseButton;
    QTimer m_timer;
    QTimer m_levelTimer;
    std::int64_t m_soundSeen = 0;
    bool m_tapped = false;
    bool m_keyboardFocus = false;
    std::int64_t m_lastTap = 0;
    std::int64_t m_startTick = 0;
    std::int64_t m_secondsLeft = 0;
    std::int64_t m_secondsLeftAtStart = 0;
    std::int64_t m_elapsed = 0;
    std::int64_t m_rangeHigh = 0;
    std::int64_t m_position = 0;
    RecordButtonFace::SFace m_face;
};
