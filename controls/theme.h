#pragma once

#include <QColor>

// The colours every screen shares, so that the main screen, its slots and the dialogs
// read as one product. The greens are those of the record button's face.
namespace Theme {

inline QColor Border()
{
    return QColor(0x55, 0x9D, 0x78);
}
inline QColor GradientTop()
{
    return QColor(0xA0, 0xBE, 0xAF);
}
inline QColor GradientBottom()
{
    return QColor(0xF1, 0xFF, 0xF7);
}
inline QColor BackgroundTop()
{
    return QColor(0xF3, 0xF8, 0xF5);
}
inline QColor BackgroundBottom()
{
    return QColor(0xDD, 0xEA, 0xE3);
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
    return QColor(0xFF, 0xFF, 0xFF);
}
inline QColor ListText()
{
    return QColor(0x1E, 0x2A, 0x24);
}
inline QColor DisabledText()
{
    return QColor(0x9A, 0xA5, 0x9F);
}
inline QColor DisabledFill()
{
    return QColor(0xE6, 0xEB, 0xE8);
}

} // namespace Theme
