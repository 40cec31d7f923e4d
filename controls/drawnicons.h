#pragma once

#include <QIcon>

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
};

// The freedesktop icon name tried first for a glyph.
const char* ThemeName(EGlyph glyph);
// The drawn version only, in normal and disabled modes.
QIcon Drawn(EGlyph glyph);
// The theme's icon when the theme has it, otherwise the drawn one.
QIcon Icon(EGlyph glyph);
// The window icon: a red record dot on the program's green.
QIcon AppIcon();

} // namespace DrawnIcons
