#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

// The colours every screen shares, so that the main screen, its slots and the dialogs
// read as one product. The greens are those of the record button's face; everything
// behind text comes from the desktop's palette, and the greens drawn on it are made
// readable against it (Ink), so a dark theme stays readable.
namespace Theme {

inline QColor Palette(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active)
{
    return QGuiApplication::palette().color(group, role);
}
// `a` with a share `t` (0..1) of `b`.
inline QColor Mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - t) + b.redF() * t),
                            static_cast<float>(a.greenF() * (1 - t) + b.greenF() * t),
                            static_cast<float>(a.blueF() * (1 - t) + b.blueF() * t));
}

// The contrast ratio of two colours as accessibility guidelines define it: 1 (none) to 21
// (black on white). Text wants 4.5, lines and glyphs 3.
inline double Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](float v) {
            return v <= 0.03928f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
// `colour`, moved as little as needed towards white or black (whichever `background` is
// further from) until it stands out from `background` by `ratio`.
inline QColor Readable(const QColor& colour, const QColor& background, double ratio = 4.5)
{
    const QColor extreme =
        Contrast(Qt::white, background) > Contrast(Qt::black, background) ? Qt::white : Qt::black;
    QColor readable = colour;
    for (int step = 1; step <= 20 && Contrast(readable, background) < ratio; ++step)
        readable = Mix(colour, extreme, step / 20.0);
    return readable;
}

inline QColor Border()
{
    return QColor(0x55, 0x9D, 0x78);
}
inline QColor GradientTop()
{
    return Mix(Palette(QPalette::Button), QColor(0x55, 0x9D, 0x78), 0.35);
}
inline QColor GradientBottom()
{
    return Palette(QPalette::Button);
}
inline QColor BackgroundTop()
{
    return Palette(QPalette::Window);
}
inline QColor BackgroundBottom()
{
    return Mix(Palette(QPalette::Window), QColor(0x55, 0x9D, 0x78), 0.12);
}
inline QColor Accent()
{
    return QColor(0x3E, 0x86, 0x62);
}
inline QColor AccentDark()
{
    return QColor(0x2C, 0x5E, 0x46);
}
// The program's green for text and glyphs drawn on `background`: the dark green, lightened
// on a dark background as far as reading it needs.
inline QColor Ink(const QColor& background)
{
    return Readable(AccentDark(), background);
}
inline QColor RecordRed()
{
    return QColor(0xD2, 0x2B, 0x2B);
}
inline QColor RecordRedDark()
{
    return QColor(0x8E, 0x16, 0x16);
}
inline QColor ListBase()
{
    return Palette(QPalette::Base);
}
inline QColor ListText()
{
    return Palette(QPalette::Text);
}
inline QColor DisabledText()
{
    return Palette(QPalette::Text, QPalette::Disabled);
}
inline QColor DisabledFill()
{
    return Mix(Palette(QPalette::Base), Palette(QPalette::Window), 0.6);
}

} // namespace Theme
