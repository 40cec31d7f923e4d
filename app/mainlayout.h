#pragma once

#include <QRect>
#include <QString>
#include <array>

// Where the main screen puts its slots and its record button, as a pure function of
// the visible area, so the numbers can be checked without a window.
namespace MainLayout {

// The smallest designed screen; the window's central area never gets smaller, so a
// window always has room for slot 1 (with the menu bar on top, more than enough).
inline constexpr int kMinimumWidth = 240;
inline constexpr int kMinimumHeight = 240;

struct SRows
{
    int count = 0;
    int height = 0;
};

// The designed rows: 240 -> 1 of 80; 320 -> 2 of 80; 480 -> 2 of 100; 640 -> 4 of 100.
// Any other height uses the largest designed height at or below it (a desktop window
// never loses its slots); below 240 there is no row.
SRows RowsForHeight(int height);

// The horizontal margin m: every slot and the record button run from m / 2 to W - m / 2.
int Margin(int width);

// A slot is visible when its index is below the row count and its kind is not "None".
bool IsSlotVisible(int index, int height, const std::array<QString, 4>& kinds);

struct SLayout
{
    SRows rows;
    // Empty rectangles for hidden slots.
    std::array<QRect, 4> slotRects;
    std::array<bool, 4> shown{};
    QRect recordButton;
    // The records pane, to the right of the recorder column; empty below kPaneFrom.
    QRect pane;
};

// Wider than this, the slots and the record button form a centred column of
// kColumnWidth: lists of a thousand pixels show no more items, only longer empty lines.
inline constexpr int kColumnWidth = 720;

// From this width the recorder takes a column of kRecorderWidth at the left, laid out as a
// window of that width, and the records pane takes the rest: a desktop recorder shows its
// memos beside the record button.
inline constexpr int kPaneFrom = 960;
inline constexpr int kRecorderWidth = 480;

// Lays out a visible area W x H. `bottomReserve` is the height kept free below the
// record button (a bottom bar of 52 x scale). Slots beyond the rows and slots
// of kind "None" are hidden and their rows go to the nearest shown slot above; slot 1
// is always shown. A wide area gets the same layout in a centred column (kColumnWidth); from
// kPaneFrom, in the recorder column beside the pane, which runs down to the bottom reserve.
SLayout Compute(int width, int height, const std::array<QString, 4>& kinds, int bottomReserve);

// 2 when the area is at least twice the designed width (240) both ways, else 1.
int ScaleFor(int width, int height);

} // namespace MainLayout
