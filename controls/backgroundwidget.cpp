#include "controls/backgroundwidget.h"

#include <QPainter>

CBackgroundWidget::CBackgroundWidget(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void CBackgroundWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_painter.PaintBackground(painter, rect());
}
