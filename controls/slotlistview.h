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

    // Item-selection mode: Up and Down move the selection mark (the current item) and
    // Return or Space toggles the item under it; Left and Right leave the mode. Out of
    // it, Return enters it and Up and Down go to the owner, which moves the focus.
    bool IsItemMode() const { return m_itemMode || m_alwaysItemMode; }
    void SetItemMode(bool on);
    // For a list that is all there is to navigate (the show-all dialog): always in it.
    void SetAlwaysItemMode(bool on) { m_alwaysItemMode = on; }
    // The row under the selection mark, -1 when there is none.
    int MarkRow() const { return currentRow(); }

    int RowHeight() const;
    // Whole rows that fit the visible area (at least 1).
    int VisibleRows() const;
    bool CanScroll() const { return count() > VisibleRows(); }
    int TopRow() const;
    void ScrollUpOne();
    void ScrollDownOne();
    void ScrollToFirst();
    // Scrolls by whole items until `row` is one of the rows shown.
    void ScrollToRow(int row);

signals:
    void Toggled(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    void MoveMark(int rows);
    void HandleTap(QMouseEvent* event);
    void ScrollBy(int rows);
    void ApplyRowHeight();
    void FitWholeRows();

    bool m_singleChoice = false;
    bool m_itemMode = false;
    bool m_alwaysItemMode = false;
    bool m_trimming = false;
    std::function<bool()> m_tapGuard;
};
