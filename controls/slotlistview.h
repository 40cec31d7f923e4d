#pragma once

#include <QListWidget>
#include <functional>

// The item list of a slot: one text line per item, and a tap toggles the tapped item's
// selection instead of replacing the selection. In single-choice mode a tap first
// deselects every other item, so at most one item is selected. It scrolls one whole
// item at a time and only through its owner's buttons.
class CSlotListView : public QListWidget
{
    Q_OBJECT
public:
    explicit CSlotListView(QWidget* parent = nullptr);

    void SetSingleChoice(bool single) { m_singleChoice = single; }
    bool IsSingleChoice() const { return m_singleChoice; }
    // Called before a tap is handled; returning true consumes the tap (an open
    // in-place edit takes it to end itself).
    void SetTapGuard(std::function<bool()> guard) { m_tapGuard = std::move(guard); }

    // Toggles one item as a tap on it would.
    void ToggleRow(int row);

    int RowHeight() const;
    // Whole rows that fit the visible area (at least 1).
    int VisibleRows() const;
    bool CanScroll() const { return count() > VisibleRows(); }
    int TopRow() const;
    void ScrollUpOne();
    void ScrollDownOne();
    void ScrollToFirst();

signals:
    void Toggled(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void HandleTap(QMouseEvent* event);
    void ScrollBy(int rows);
    void ApplyRowHeight();

    bool m_singleChoice = false;
    std::function<bool()> m_tapGuard;
};
