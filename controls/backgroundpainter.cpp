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
