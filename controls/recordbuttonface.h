#pragma once

#include <QString>
#include <vector>

class QPainter;
class QRect;

// Draws the record button: a green border, a vertical gradient, and in the middle a
// round image (a red dot when idle, a stop square while recording); while recording,
// also a progress strip along the bottom and the time text above its right end.
// The drawing is a pure function of its inputs so that it can be composed off screen.
namespace RecordButtonFace {

enum class EImage
{
    Idle,
    Recording,
};

struct SFace
{
    EImage image = EImage::Idle;
    bool enabled = true;
    bool pressed = false;
    bool focused = false;
    bool showProgress = false;
    // 0..1, the share of the bar that is filled.
    double progress = 0.0;
    QString timeText;
    QString caption;
    int scale = 1;
    // The input level, 0..1, drawn as a meter while recording; negative: no meter.
    double level = -1.0;
    // A line under the caption while recording (no sound reaches the input, say).
    QString hint;
    // Recording, but paused: the face says so and the waveform stands still.
    bool paused = false;
    // The input's peaks (0..1) of the last seconds, oldest first, drawn as a waveform that
    // scrolls to the left beside the level meter while recording; `trailWindows` is how many
    // windows the waveform's width holds.
    std::vector<float> trail;
    std::size_t trailWindows = 0;
};

void Paint(QPainter& painter, const QRect& area, const SFace& face);

// The strip of the progress bar along the bottom, inside the border, 10 high.
QRect ProgressStrip(const QRect& area);
// The level meter: a vertical strip along the left edge, above the progress strip.
QRect LevelStrip(const QRect& area);
// The band of the waveform: from beside the level meter to the right edge, across the
// middle of the image, which stands in front of it.
QRect TrailBand(const QRect& area, int scale, bool recording);
// Where the pause button goes on the recording face: the top right corner.
QRect PauseButtonRect(const QRect& area, int scale);
// Diameter of the round image for a button of that size.
int ImageDiameter(const QRect& area, int scale);

} // namespace RecordButtonFace
