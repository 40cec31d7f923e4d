#pragma once

// A dark desktop palette for the widget tests, and a measure of how well what a widget draws
// stands out from its background.

#include "controls/theme.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPalette>

// The application's palette is a dark theme's for as long as it lives.
class CDarkPalette
{
public:
    CDarkPalette() : m_previous(QApplication::palette())
    {
        QPalette dark;
        const QColor window(0x35, 0x35, 0x35);
        const QColor base(0x2A, 0x2A, 0x2A);
        const QColor text(0xEE, 0xEE, 0xEC);
        for (const auto role : {QPalette::Window, QPalette::Button})
            dark.setColor(role, window);
        dark.setColor(QPalette::Base, base);
        dark.setColor(QPalette::AlternateBase, window);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, text);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(QPalette::Disabled, role, QColor(0x91, 0x91, 0x91));
        QApplication::setPalette(dark);
    }
    ~CDarkPalette() { QApplication::setPalette(m_previous); }
    CDarkPalette(const CDarkPalette&) = delete;
    CDarkPalette& operator=(const CDarkPalette&) = delete;

private:
    QPalette m_previous;
};

// The strongest contrast any pixel of `area` has with the colour most of its pixels have (the
// background there): how well the text or glyph drawn in it can be seen.
inline double InkContrast(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    double strongest = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        strongest = std::max(strongest, Theme::Contrast(QColor(it.key()), QColor(background)));
    return strongest;
}
