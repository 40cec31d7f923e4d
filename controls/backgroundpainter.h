#pragma once

class QColor;
class QPainter;
class QRect;

// Paints the common background of the program's screens behind their controls.
class MBackgroundPainter
{
public:
    virtual ~MBackgroundPainter() = default;
    virtual void PaintBackground(QPainter& painter, const QRect& area) const = 0;
};

// The shared look: a quiet vertical gradient in the greens of the record button.
class CBackgroundPainter : public MBackgroundPainter
{
public:
    void PaintBackground(QPainter& painter, const QRect& area) const override;
    // A panel framed in the program's green on the lists' base, as the lists are drawn, for
    // what a widget draws inside it; returns the base. Leaves the painter antialiased.
    static QColor PaintPanel(QPainter& painter, const QRect& area);
};
