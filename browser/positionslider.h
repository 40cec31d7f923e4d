#pragma once

#include <QSlider>

// A horizontal slider whose groove takes the handle to the point clicked, which can then be
// dragged on, as media players' position bars do (a plain slider steps towards the click).
class CPositionSlider : public QSlider
{
    Q_OBJECT
public:
    explicit CPositionSlider(QWidget* parent = nullptr);

    // The value at `x` pixels along the widget.
    int ValueAt(int x) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
