#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

// The colours every screen shares, so that the main screen, its slots and the dialogs
// read as one product. The greens are those of the record button's face; everything
// behind text comes from the desktop's palette, so a dark theme stays readable.
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
