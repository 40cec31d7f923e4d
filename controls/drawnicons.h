#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

// Icons for the program's buttons and menus. Each comes from the desktop's icon theme
// when it has one by the freedesktop name, and is drawn here otherwise, so the program
// looks complete on a bare system too.
namespace DrawnIcons {

enum class EGlyph
{
    ScrollUp,
    ScrollDown,
    ClearSelection,
    ShowAll,
    Add,
    Settings,
    Player,
    About,
    Exit,
    Record,
    Pause,
    SkipBack,
    SkipForward,
};

// The freedesktop icon name tried first for a glyph.
const char* ThemeName(EGlyph glyph);
// The glyph drawn in `ink`, `size` device-independent pixels square, sharp at `ratio`.
QPixmap Glyph(EGlyph glyph, const QColor& ink, int size, qreal ratio = 1.0);
// The drawn version only, in normal and disabled modes: the normal one in the program's
// green made readable on `background` (by default the palette's base, behind lists).
QIcon Drawn(EGlyph glyph);
QIcon Drawn(EGlyph glyph, const QColor& background);
// The theme's icon when the theme has it, otherwise the drawn one.
QIcon Icon(EGlyph glyph);
// The window icon: a red record dot on the program's green.
QIcon AppIcon();

} // namespace DrawnIcons
