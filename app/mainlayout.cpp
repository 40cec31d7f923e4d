#include "app/mainlayout.h"

#include "store/slotkind.h"

namespace MainLayout {

SRows RowsForHeight(int height)
{
    if (height >= 640)
        return {4, 100};
    if (height >= 480)
        return {2, 100};
    if (height >= 320)
        return {2, 80};
    if (height >= 240)
        return {1, 80};
    return {0, 0};
}

int Margin(int width)
{
    const int rest = (width - 10) % 16;
    return 10 + (rest < 0 ? rest + 16 : rest);
}

bool IsSlotVisible(int index, int height, const std::array<QString, 4>& kinds)
{
    if (index < 0 || index > 3)
        return false;
    return index < RowsForHeight(height).count &&
           kinds[static_cast<std::size_t>(index)] != CSlotKind::kNone;
}

namespace {

SLayout ComputeColumn(int width, int height, const std::array<QString, 4>& kinds, int bottomReserve)
{
    SLayout layout;
    layout.rows = RowsForHeight(height);
    const int m = Margin(width);
    const int left = m / 2;
    const int right = width - m / 2;

    std::array<int, 4> span{};
    int owner = -1;
    for (int row = 0; row < layout.rows.count; ++row) {
        const auto index = static_cast<std::size_t>(row);
        if (row == 0 || kinds[index] != CSlotKind::kNone) {
            owner = row;
            layout.shown[index] = true;
        }
        ++span[static_cast<std::size_t>(owner)];
    }

    int y = 10;
    for (std::size_t i = 0; i < 4; ++i) {
        if (!layout.shown[i])
            continue;
        const int h = layout.rows.height * span[i];
        layout.slotRects[i] = QRect(left, y, right - left, h);
        y += h + 10;
    }

    const int buttonTop = (layout.rows.height + 10) * layout.rows.count + 5;
    layout.recordButton =
        QRect(left, buttonTop, right - left, height - bottomReserve - buttonTop - 5);
    return layout;
}

} // namespace

SLayout Compute(int width, int height, const std::array<QString, 4>& kinds, int bottomReserve)
{
    if (width <= kColumnWidth)
        return ComputeColumn(width, height, kinds, bottomReserve);
    if (width >= kPaneFrom) {
        SLayout layout = ComputeColumn(kRecorderWidth, height, kinds, bottomReserve);
        layout.pane = QRect(kRecorderWidth, 0, width - kRecorderWidth, height - bottomReserve);
        return layout;
    }
    SLayout layout = ComputeColumn(kColumnWidth, height, kinds, bottomReserve);
    const int offset = (width - kColumnWidth) / 2;
    for (std::size_t i = 0; i < 4; ++i) {
        if (layout.shown[i])
            layout.slotRects[i].translate(offset, 0);
    }
    layout.recordButton.translate(offset, 0);
    return layout;
}

int ScaleFor(int width, int height)
{
    return width >= 480 && height >= 480 ? 2 : 1;
}

} // namespace MainLayout
