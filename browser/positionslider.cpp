#include "browser/positionslider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

CPositionSlider::CPositionSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

int CPositionSlider::ValueAt(int x) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The handle's middle travels from the groove's start plus half a handle to its end
    // less half a handle.
    const int span = groove.width() - handle.width();
    return QStyle::sliderValueFromPosition(
        minimum(), maximum(), x - groove.x() - handle.width() / 2, span, option.upsideDown);
}

void CPositionSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        // The handle comes to the click; the press below then holds it, so the release seeks
        // (and a drag goes on from there).
        if (!handle.contains(event->position().toPoint()))
            setSliderPosition(ValueAt(event->position().toPoint().x()));
    }
    QSlider::mousePressEvent(event);
}
