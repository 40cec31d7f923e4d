#include "controls/waveformview.h"

#include "controls/backgroundpainter.h"
#include "controls/theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kSilence = 0x80;
// A quiet record is drawn larger, up to this much, so its shape shows; silence stays flat.
constexpr int kQuietestShown = 16;

int Deviation(const SWaveformPeaks::SRange& range)
{
    return std::max(std::abs(range.high - kSilence), std::abs(range.low - kSilence));
}

} // namespace

CWaveformView::CWaveformView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("waveform"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Click or drag to play from there"));
}

void CWaveformView::SetPeaks(std::shared_ptr<const SWaveformPeaks> peaks)
{
    if (peaks == m_peaks)
        return;
    m_peaks = std::move(peaks);
    m_held.reset();
    m_columns.clear();
    update();
}

void CWaveformView::SetPlayhead(std::optional<std::uint64_t> sample)
{
    if (sample == m_playhead)
        return;
    m_playhead = sample;
    update();
}

std::optional<std::uint64_t> CWaveformView::Playhead() const
{
    return m_held ? m_held : m_playhead;
}

std::uint64_t CWaveformView::SampleAt(int x, int width, std::uint64_t total)
{
    if (width <= 0 || total == 0)
        return 0;
    const auto column = static_cast<std::uint64_t>(std::clamp(x, 0, width));
    return std::min(total, column * total / static_cast<std::uint64_t>(width));
}

int CWaveformView::ColumnOf(std::uint64_t sample, int width, std::uint64_t total)
{
    if (width <= 0 || total == 0)
        return 0;
    const std::uint64_t column =
        std::min(sample, total) * static_cast<std::uint64_t>(width) / total;
    return static_cast<int>(std::min<std::uint64_t>(column, static_cast<std::uint64_t>(width - 1)));
}

QSize CWaveformView::sizeHint() const
{
    return {240, 48};
}

QSize CWaveformView::minimumSizeHint() const
{
    return {60, 48};
}

QRect CWaveformView::Plot() const
{
    return rect().adjusted(3, 3, -3, -3);
}

std::uint64_t CWaveformView::SampleUnder(int x) const
{
    const QRect plot = Plot();
    return SampleAt(x - plot.left(), plot.width(), TotalSamples());
}

void CWaveformView::resizeEvent(QResizeEvent* event)
{
    m_columns.clear();
    QWidget::resizeEvent(event);
}

void CWaveformView::paintEvent(QPaintEvent*)
{
    const QRect plot = Plot();
    if (m_peaks && m_columns.empty() && plot.width() > 0) {
        m_columns = m_peaks->Columns(static_cast<std::size_t>(plot.width()));
        m_loudest = kQuietestShown;
        for (const SWaveformPeaks::SRange& range : m_columns)
            m_loudest = std::max(m_loudest, Deviation(range));
    }

    QPainter p(this);
    const QColor base = CBackgroundPainter::PaintPanel(p, rect());
    p.setRenderHint(QPainter::Antialiasing, false);

    const QColor played = Theme::Readable(Theme::Accent(), base, 3.0);
    const QColor ahead = Theme::Mix(Theme::ListText(), base, 0.55);
    const std::optional<std::uint64_t> head = Playhead();
    const int headColumn =
        head ? ColumnOf(*head, plot.width(), TotalSamples()) : -1; // before every column
    const double middle = plot.top() + plot.height() / 2.0;
    const double scale = plot.height() / 2.0 / m_loudest;
    p.setPen(QPen(ahead, 1));
    p.drawLine(QPointF(plot.left(), middle), QPointF(plot.right(), middle));
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        const SWaveformPeaks::SRange& range = m_columns[c];
        const int x = plot.left() + static_cast<int>(c);
        const double top = middle - (range.high - kSilence) * scale;
        const double bottom = middle - (range.low - kSilence) * scale;
        p.setPen(QPen(static_cast<int>(c) < headColumn ? played : ahead, 1));
        p.drawLine(QPointF(x + 0.5, std::min(top, middle - 0.5)),
                   QPointF(x + 0.5, std::max(bottom, middle + 0.5)));
    }
    if (head && TotalSamples() > 0) {
        const int x = plot.left() + headColumn;
        p.setPen(QPen(Theme::Readable(Theme::RecordRed(), base, 3.0), 2));
        p.drawLine(QPoint(x, rect().top() + 1), QPoint(x, rect().bottom() - 1));
    }
}

void CWaveformView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || TotalSamples() == 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_held = SampleUnder(event->position().toPoint().x());
    update();
}

void CWaveformView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_held) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_held = SampleUnder(event->position().toPoint().x());
    update();
}

void CWaveformView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_held || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const std::uint64_t sample = SampleUnder(event->position().toPoint().x());
    m_held.reset();
    update();
    emit SeekRequested(sample);
}
