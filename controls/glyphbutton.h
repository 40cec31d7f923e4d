#pragma once

#include "controls/drawnicons.h"

#include <QAbstractButton>

// A small square button that shows one icon with distinct normal, hovered, pressed and
// disabled faces; the slots' scroll, clear and show-all buttons. The glyph is drawn in the
// program's green made readable on the face's colour, so a dark palette keeps an enabled
// button looking enabled.
class CGlyphButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit CGlyphButton(DrawnIcons::EGlyph glyph, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    void SetGlyph(DrawnIcons::EGlyph glyph);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    DrawnIcons::EGlyph m_glyph;
    bool m_hovered = false;
};
