#pragma once

#include "audio/waveformpeaks.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// A record's waveform across the widget's width, one sample range per pixel column: the part
// played in the program's green, the rest in a quieter ink, and a play head between them. A
// press puts the head under the pointer, a drag takes it along, and the release asks to play
// on from exactly there. Until the peaks are known it draws a flat line, so a record whose
// waveform is still being computed is shown at once all the same.
class CWaveformView : public QWidget
{
    Q_OBJECT
public:
    explicit CWaveformView(QWidget* parent = nullptr);

    // The waveform to draw; null while it is not known.
    void SetPeaks(std::shared_ptr<const SWaveformPeaks> peaks);
    const SWaveformPeaks* Peaks() const { return m_peaks.get(); }
    // The sample the play head stands at; nullopt: nothing plays, no head.
    void SetPlayhead(std::optional<std::uint64_t> sample);
    std::optional<std::uint64_t> Playhead() const;

    // The sample under pixel column `x` of `width` columns showing `total` samples, and the
    // column a sample falls in; both stay within the record and the width.
    static std::uint64_t SampleAt(int x, int width, std::uint64_t total);
    static int ColumnOf(std::uint64_t sample, int width, std::uint64_t total);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void SeekRequested(std::uint64_t sample);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect Plot() const;
    std::uint64_t TotalSamples() const { return m_peaks ? m_peaks->totalSamples : 0; }
    // The sample under the pointer at `x` in widget coordinates.
    std::uint64_t SampleUnder(int x) const;

    std::shared_ptr<const SWaveformPeaks> m_peaks;
    // The ranges of the plot's columns, made again when the peaks or the width change.
    std::vector<SWaveformPeaks::SRange> m_columns;
    // How far from silence the loudest column goes, which the plot's half height shows.
    int m_loudest = 1;
    std::optional<std::uint64_t> m_playhead;
    // Where a press or a drag holds the head, until the release.
    std::optional<std::uint64_t> m_held;
};
