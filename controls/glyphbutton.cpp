#include "controls/glyphbutton.h"

#include "controls/theme.h"

#include <QPainter>

CGlyphButton::CGlyphButton(DrawnIcons::EGlyph glyph, QWidget* parent)
    : QAbstractButton(parent), m_glyph(glyph)
{
    // Always the drawn glyph: the desktop themes' symbolic icons are grey and would make
    // an enabled slot button look disabled.
    setIcon(DrawnIcons::Drawn(glyph));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void CGlyphButton::SetGlyph(DrawnIcons::EGlyph glyph)
{
    m_glyph = glyph;
    setIcon(DrawnIcons::Drawn(glyph));
    update();
}

QSize CGlyphButton::sizeHint() const
{
    const int side = fontMetrics().height() + 10;
    return {side, side};
}

void CGlyphButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = Theme::ListBase();
    QColor edge = Theme::Border();
    if (!isEnabled()) {
        fill = Theme::DisabledFill();
        edge = Theme::DisabledText();
    } else if (isDown()) {
        fill = Theme::GradientTop();
    } else if (m_hovered) {
        fill = Theme::GradientBottom();
    }
    p.setPen(QPen(edge, 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(frame, 4, 4);

    const int side = qMin(width(), height()) * 2 / 3;
    const QColor ink = isEnabled() ? Theme::Ink(fill) : Theme::DisabledText();
    p.drawPixmap((width() - side) / 2, (height() - side) / 2,
                 DrawnIcons::Glyph(m_glyph, ink, side, devicePixelRatioF()));
    if (hasFocus()) {
        p.setPen(QPen(Theme::Ink(fill), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 3, 3);
    }
}

void CGlyphButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CGlyphButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
