#include "controls/headerbutton.h"

#include "controls/theme.h"

#include <QPainter>

CHeaderButton::CHeaderButton(QWidget* parent) : QAbstractButton(parent)
{
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setFocusPolicy(Qt::TabFocus);
}

void CHeaderButton::SetAddable(bool addable)
{
    m_addable = addable;
    setCursor(addable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setToolTip(addable ? tr("Add a new item") : QString());
    update();
}

QSize CHeaderButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(text()) + 40, metrics.height() + 10};
}

QSize CHeaderButton::minimumSizeHint() const
{
    return {40, fontMetrics().height() + 10};
}

void CHeaderButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
    if (isEnabled()) {
        gradient.setColorAt(0, isDown() ? Theme::AccentDark() : Theme::Border());
        gradient.setColorAt(1, Theme::AccentDark());
    } else {
        gradient.setColorAt(0, Theme::DisabledFill());
        gradient.setColorAt(1, Theme::DisabledFill().darker(108));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawRoundedRect(frame, 4, 4);

    const int pad = 8;
    QRect textArea = rect().adjusted(pad, 0, -pad, 0);
    const QColor ink = isEnabled() ? QColor(Qt::white) : Theme::DisabledText();
    if (m_addable) {
        const int side = height() / 2;
        const QRectF plus(width() - pad - side, (height() - side) / 2.0, side, side);
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(plus.center().x(), plus.top()),
                   QPointF(plus.center().x(), plus.bottom()));
        p.drawLine(QPointF(plus.left(), plus.center().y()),
                   QPointF(plus.right(), plus.center().y()));
        textArea.setRight(static_cast<int>(plus.left()) - pad);
    }
    p.setPen(ink);
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, textArea.width());
    p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft, shown);
    if (hasFocus()) {
        p.setPen(QPen(ink, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 3, 3);
    }
}
