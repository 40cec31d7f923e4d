#include "controls/recordbuttonface.h"

#include "controls/theme.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace RecordButtonFace {

QRect ProgressStrip(const QRect& area)
{
    // Clear of the 4-pixel border and its rounded corners.
    return QRect(QPoint(area.left() + 14, area.bottom() - 23),
                 QPoint(area.right() - 14, area.bottom() - 14));
}

QRect LevelStrip(const QRect& area)
{
    return QRect(QPoint(area.left() + 14, area.top() + 14),
                 QPoint(area.left() + 23, ProgressStrip(area).top() - 8));
}

int ImageDiameter(const QRect& area, int scale)
{
    const int designed = 78 * qMax(1, scale);
    // The same size idle and recording, leaving room below for the time and the bar.
    const int room = qMin(area.width() - 20, area.height() - 90);
    return qMax(24, qMin(designed, room));
}

namespace {

// The image's centre: lifted while recording, to leave room for the time text and the bar.
QPointF ImageCentre(const QRect& area, int scale, bool recording)
{
    const int diameter = ImageDiameter(area, scale);
    const qreal lift = recording ? qMin<qreal>(24.0, (area.height() - diameter) / 4.0) : 0;
    return {area.center().x() + 0.5, area.center().y() + 0.5 - lift};
}

} // namespace

QRect TrailBand(const QRect& area, int scale, bool recording)
{
    const int diameter = ImageDiameter(area, scale);
    const int height =
        qMax(12, qMin(diameter + 16 * scale, ProgressStrip(area).top() - 40 - area.top()));
    const int centre = qRound(ImageCentre(area, scale, recording).y());
    return QRect(QPoint(LevelStrip(area).right() + 10, centre - height / 2),
                 QPoint(area.right() - 14, centre + height / 2));
}

QRect PauseButtonRect(const QRect& area, int scale)
{
    const int side = qBound(20, 30 * qMax(1, scale), qMax(20, area.height() / 4));
    return QRect(area.right() - 13 - side, area.top() + 14, side, side);
}

namespace {

void PaintBody(QPainter& p, const QRect& area, const SFace& face)
{
    const QRectF outer = QRectF(area).adjusted(2, 2, -2, -2);
    QLinearGradient gradient(outer.topLeft(), outer.bottomLeft());
    if (face.enabled) {
        gradient.setColorAt(0,
                            face.pressed ? Theme::GradientTop().darker(110) : Theme::GradientTop());
        gradient.setColorAt(1, Theme::GradientBottom());
    } else {
        gradient.setColorAt(0, Theme::DisabledFill());
        gradient.setColorAt(1, Theme::DisabledFill().lighter(104));
    }
    p.setPen(QPen(face.enabled ? Theme::Border() : Theme::DisabledText(), 4));
    p.setBrush(gradient);
    p.drawRoundedRect(outer, 8, 8);
}

void PaintImage(QPainter& p, const QRect& area, const SFace& face)
{
    const int diameter = ImageDiameter(area, face.scale);
    const qreal r = diameter / 2.0;
    const QPointF centre = ImageCentre(area, face.scale, face.showProgress);

    QRadialGradient ring(centre - QPointF(r * 0.3, r * 0.3), r * 1.4);
    ring.setColorAt(0, Qt::white);
    ring.setColorAt(1, QColor(0xDD, 0xE6, 0xE1));
    p.setPen(QPen(face.enabled ? Theme::Border() : Theme::DisabledText(), qMax(2.0, r * 0.06)));
    p.setBrush(ring);
    p.drawEllipse(centre, r, r);

    const QColor ink = face.enabled ? Theme::RecordRed() : Theme::DisabledText();
    const QColor inkDark =
        face.enabled ? Theme::RecordRedDark() : Theme::DisabledText().darker(120);
    QRadialGradient fill(centre - QPointF(r * 0.2, r * 0.25), r);
    fill.setColorAt(0, ink.lighter(125));
    fill.setColorAt(1, inkDark);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    if (face.image == EImage::Idle) {
        p.drawEllipse(centre, r * 0.62, r * 0.62);
    } else {
        const qreal side = r * 0.9;
        p.drawRoundedRect(QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side),
                          side * 0.12, side * 0.12);
    }
}

void PaintProgress(QPainter& p, const QRect& area, const SFace& face)
{
    const QRectF strip = QRectF(ProgressStrip(area));
    p.setPen(QPen(Theme::Border(), 1));
    p.setBrush(Theme::ListBase());
    p.drawRoundedRect(strip, 3, 3);
    const double share = qBound(0.0, face.progress, 1.0);
    if (share > 0) {
        QRectF filled = strip.adjusted(1, 1, -1, -1);
        filled.setWidth(filled.width() * share);
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::Accent());
        p.drawRoundedRect(filled, 2, 2);
    }
    if (!face.timeText.isEmpty()) {
        const QFont plain = p.font();
        QFont font = p.font();
        font.setBold(true);
        if (face.scale > 1)
            font.setPointSizeF(font.pointSizeF() * 1.3);
        p.setFont(font);
        const QFontMetrics metrics(font);
        const int textWidth = metrics.horizontalAdvance(face.timeText);
        const QRect textArea(static_cast<int>(strip.right()) - textWidth,
                             static_cast<int>(strip.top()) - 6 - metrics.height(), textWidth,
                             metrics.height());
        p.setPen(Theme::Palette(QPalette::ButtonText));
        p.drawText(textArea, Qt::AlignRight | Qt::AlignVCenter, face.timeText);
        p.setFont(plain);
    }
}

// The hint sits on the time text's line, between the level meter and the time, where it
// never covers the image; so does the caption while recording ("Paused"), in bold.
void PaintHint(QPainter& p, const QRect& area, const SFace& face, const QString& text, bool bold)
{
    const QFont plain = p.font();
    QFont timeFont = plain;
    timeFont.setBold(true);
    if (face.scale > 1)
        timeFont.setPointSizeF(timeFont.pointSizeF() * 1.3);
    const QFontMetrics timeMetrics(timeFont);
    const QRect strip = ProgressStrip(area);
    const int left = LevelStrip(area).right() + 10;
    const int right = strip.right() - timeMetrics.horizontalAdvance(face.timeText) - 12;
    if (right - left < 40)
        return;
    if (bold)
        p.setFont(timeFont);
    const QFontMetrics metrics(p.font());
    const QRect line(left, strip.top() - 6 - timeMetrics.height(), right - left,
                     timeMetrics.height());
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
               metrics.elidedText(text, Qt::ElideRight, line.width()));
    p.setFont(plain);
}

// The newest peak at the right end; each window a bar around the band's middle line.
void PaintTrail(QPainter& p, const QRect& area, const SFace& face)
{
    const QRectF band = QRectF(TrailBand(area, face.scale, true));
    if (face.trailWindows == 0 || band.width() < 20)
        return;
    const qreal step = band.width() / static_cast<qreal>(face.trailWindows);
    const qreal middle = band.center().y();
    const QColor ink = face.paused ? Theme::DisabledText() : Theme::Accent();
    p.setPen(QPen(Theme::Mix(ink, Theme::GradientBottom(), 0.5), 1));
    p.drawLine(QPointF(band.left(), middle), QPointF(band.right(), middle));
    p.setPen(QPen(ink, qMax<qreal>(1.0, step * 0.7), Qt::SolidLine, Qt::FlatCap));
    const std::size_t count = std::min(face.trail.size(), face.trailWindows);
    const std::size_t first = face.trail.size() - count;
    for (std::size_t i = 0; i < count; ++i) {
        const qreal x = band.right() - static_cast<qreal>(count - i) * step + step / 2;
        const qreal half =
            qMax<qreal>(0.5, qBound(0.0f, face.trail[first + i], 1.0f) * band.height() / 2);
        p.drawLine(QPointF(x, middle - half), QPointF(x, middle + half));
    }
}

void PaintLevel(QPainter& p, const QRect& area, const SFace& face)
{
    const QRectF strip = QRectF(LevelStrip(area));
    if (strip.height() < 10)
        return;
    p.setPen(QPen(Theme::Border(), 1));
    p.setBrush(Theme::ListBase());
    p.drawRoundedRect(strip, 3, 3);
    const double share = qBound(0.0, face.level, 1.0);
    if (share <= 0)
        return;
    QRectF filled = strip.adjusted(1, 1, -1, -1);
    filled.setTop(filled.bottom() - filled.height() * share);
    p.setPen(Qt::NoPen);
    // Near the top the input is close to clipping.
    p.setBrush(share > 0.9 ? Theme::RecordRed() : Theme::Accent());
    p.drawRoundedRect(filled, 2, 2);
}

} // namespace

void Paint(QPainter& painter, const QRect& area, const SFace& face)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    PaintBody(painter, area, face);
    // Behind the image: the waveform passes under it.
    if (face.showProgress)
        PaintTrail(painter, area, face);
    PaintImage(painter, area, face);
    if (face.showProgress)
        PaintProgress(painter, area, face);
    if (face.level >= 0)
        PaintLevel(painter, area, face);
    if (face.focused) {
        painter.setPen(QPen(Theme::Palette(QPalette::ButtonText), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(area.left() + 2 + 4, area.top() + 4 + 2),
                               QPoint(area.right() - 6 - 2, area.bottom() - 6 - 2)));
    }
    painter.setPen(Theme::Palette(QPalette::ButtonText));
    if (face.showProgress && !face.caption.isEmpty())
        PaintHint(painter, area, face, face.caption, true);
    else if (!face.hint.isEmpty())
        PaintHint(painter, area, face, face.hint, false);
    else if (!face.caption.isEmpty())
        painter.drawText(area.adjusted(8, 8, -8, -8), Qt::AlignHCenter | Qt::AlignTop,
                         face.caption);
    painter.restore();
}

} // namespace RecordButtonFace
