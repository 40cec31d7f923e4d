#pragma once

#include "controls/backgroundpainter.h"

#include <QWidget>

// A plain container that paints the common background behind its children; the main
// screen's central area and the dialogs' bodies are built on it.
class CBackgroundWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CBackgroundWidget(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CBackgroundPainter m_painter;
};
