#include "controls/backgroundpainter.h"

#include "controls/theme.h"

#include <QLinearGradient>
#include <QPainter>

void CBackgroundPainter::PaintBackground(QPainter& painter, const QRect& area) const
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, Theme::BackgroundTop());
    gradient.setColorAt(1.0, Theme::BackgroundBottom());
    painter.fillRect(area, gradient);
}

QColor CBackgroundPainter::PaintPanel(QPainter& painter, const QRect& area)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor base = Theme::ListBase();
    painter.setPen(QPen(Theme::Border(), 1));
    painter.setBrush(base);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    return base;
}
