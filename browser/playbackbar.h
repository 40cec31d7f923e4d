#pragma once

#include <QWidget>
#include <cstdint>

class QLabel;
class QSlider;

// Elapsed time, a position slider and the total time of the record that plays. Moving
// the slider asks for the playback to go on from there.
class CPlaybackBar : public QWidget
{
    Q_OBJECT
public:
    explicit CPlaybackBar(QWidget* parent = nullptr);

    // Shows a position; ignored while the user holds the slider.
    void SetProgress(std::uint64_t elapsedSamples, std::uint64_t totalSamples,
                     std::uint32_t sampleRate);
    // Back to 0:00 of nothing.
    void Reset();

    QSlider* Slider() const { return m_slider; }
    QString ElapsedText() const;
    QString TotalText() const;

    // "m:ss", or "h:mm:ss" from an hour on.
    static QString FormatTime(std::uint64_t samples, std::uint32_t sampleRate);

signals:
    void SeekRequested(std::uint64_t sample);

private:
    void OnSliderReleased();

    QLabel* m_elapsed;
    QSlider* m_slider;
    QLabel* m_total;
    std::uint32_t m_sampleRate = 8000;
};
