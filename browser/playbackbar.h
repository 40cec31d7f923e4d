#pragma once

#include <QList>
#include <QWidget>
#include <cstdint>

class CPositionSlider;
class QAction;
class QActionGroup;
class QLabel;
class QSlider;
class QToolButton;

// Elapsed time, a position slider and the total time of the record that plays, the buttons
// that skip 10 seconds back and forward, and the speed. A click on the slider's groove or a
// drag of its handle asks for the playback to go on from there; so does a step of the keys.
// The skips and the speeds are also actions with keys, listed in the speed button's menu;
// the page they belong to adds them (Actions) so that the keys work wherever its focus is.
class CPlaybackBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSkipSeconds = 10;

    explicit CPlaybackBar(QWidget* parent = nullptr);

    // Shows a position; ignored while the user holds the slider.
    void SetProgress(std::uint64_t elapsedSamples, std::uint64_t totalSamples,
                     std::uint32_t sampleRate);
    // Back to 0:00 of nothing.
    void Reset();
    // Shows `speed` as the one chosen.
    void SetSpeed(double speed);
    // The position and the skips work while a record plays; the speed may be chosen always.
    void SetPlaying(bool playing);

    QSlider* Slider() const;
    QString ElapsedText() const;
    QString TotalText() const;
    QToolButton* SkipBackButton() const { return m_back; }
    QToolButton* SkipForwardButton() const { return m_forward; }
    QToolButton* SpeedButton() const { return m_speed; }
    // Back, forward, slower, faster: the actions with keys.
    QList<QAction*> Actions() const;

    // "m:ss", or "h:mm:ss" from an hour on.
    static QString FormatTime(std::uint64_t samples, std::uint32_t sampleRate);
    // "1.25×".
    static QString SpeedText(double speed);

signals:
    void SeekRequested(std::uint64_t sample);
    void SkipRequested(int seconds);
    void SpeedRequested(double speed);

private:
    void BuildSpeedMenu();
    void OnSliderReleased();
    // The offered speed `steps` steps from the one chosen.
    void StepSpeed(int steps);

    QLabel* m_elapsed;
    CPositionSlider* m_slider;
    QLabel* m_total;
    QToolButton* m_back;
    QToolButton* m_forward;
    QToolButton* m_speed;
    QAction* m_backAction = nullptr;
    QAction* m_forwardAction = nullptr;
    QAction* m_slowerAction = nullptr;
    QAction* m_fasterAction = nullptr;
    QActionGroup* m_speeds = nullptr;
    double m_chosenSpeed = 1.0;
    std::uint32_t m_sampleRate = 8000;
};
