#pragma once

#include "controls/recordbuttonface.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

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

    using Clock = std::function<std::int64_t()>;
    using FreeBytes = std::function<double()>;
    using Rate = std::function<std::uint32_t()>;
    using Elapsed = std::function<std::int64_t()>;

    explicit CRecordButton(QWidget* parent = nullptr);

    // A monotonic millisecond clock; the default is the system's steady clock.
    void SetClock(Clock clock) { m_clock = std::move(clock); }
    // Free bytes of the chosen storage; without a provider there are none.
    void SetFreeBytesProvider(FreeBytes provider) { m_freeBytes = std::move(provider); }
    // Nominal bytes per second of the current recording format.
    void SetRateProvider(Rate rate) { m_rate = std::move(rate); }
    // Whole seconds recorded so far; without a provider, the seconds since the start.
    void SetElapsedProvider(Elapsed elapsed) { m_elapsedProvider = std::move(elapsed); }
    void SetScale(int scale);

    double FreeBytesOfStorage() const { return m_freeBytes ? m_freeBytes() : 0.0; }
    std::uint32_t FreeSpaceInSeconds() const;

    // Start tick := now; bar range := 0 .. seconds left; position := 0.
    void ResetProgress();
    // Recording face, seconds left from the free space, the once-a-second refresh runs.
    void OnStartRecord();
    // Idle face, refresh stopped, bar and text hidden.
    void OnStopRecord();

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
    bool IsTicking() const { return m_timer.isActive(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void RecordCommand();
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

private:
    void Tap();
    void ConfigureProgress();
    std::int64_t Now() const;

    Clock m_clock;
    FreeBytes m_freeBytes;
    Rate m_rate;
    Elapsed m_elapsedProvider;
    QTimer m_timer;
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
