#pragma once

#include "store/slotkind.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class CGlyphButton;
class CHeaderButton;
class CInPlaceEdit;
class CSlotListView;

// One information slot of the main screen: a header that names the slot's kind, the
// list of the kind's items, and the buttons attached to it (scroll up, scroll down,
// clear the selection, show all). The slot knows nothing of catalogues: its owner fills
// it and reacts to its signals.
class CSlotList : public QWidget
{
    Q_OBJECT
public:
    explicit CSlotList(QWidget* parent = nullptr);

    // The kind (as stored, see CSlotKind) decides the header text, whether the list holds
    // one choice and whether new items can be typed in place.
    void SetKind(const QString& kind);
    QString Kind() const { return m_kind.Text(); }

    // Adds the text at the end unless an item with exactly that text exists; returns
    // whether it was added. Existing items keep their selection.
    bool AddItemIfAbsent(const QString& text);
    void ClearItems();
    QStringList Items() const;
    QList<bool> SelectionStates() const;
    // States beyond the item count are ignored; missing states deselect.
    void SetSelectionStates(const QList<bool>& states);
    QStringList SelectedItems() const;
    void ClearSelection();
    // Selects the item showing exactly `text` (alone, where the slot holds one choice) and
    // scrolls it into view; false when no item shows it.
    bool Choose(const QString& text);
    // Recomputes which scroll buttons apply; without room to scroll, shows the first item.
    void RefreshRows();

    // Opens the one-line edit over the list; a second call while it is open does nothing.
    void OpenInPlaceEdit();
    bool IsEditing() const { return m_edit != nullptr; }
    CInPlaceEdit* InPlaceEdit() const { return m_edit; }

    CHeaderButton* HeaderButton() const { return m_header; }
    CSlotListView* ListView() const { return m_list; }
    CGlyphButton* ScrollUpButton() const { return m_up; }
    CGlyphButton* ScrollDownButton() const { return m_down; }
    CGlyphButton* ClearButton() const { return m_clear; }
    CGlyphButton* ShowAllButton() const { return m_showAll; }

signals:
    void HeaderClicked();
    void ShowAllClicked();
    // The in-place edit ended; an empty text means nothing was typed or it was cancelled.
    void EditFinished(const QString& text);
    void SelectionChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Arrange();
    void UpdateScrollButtons();
    void EndEdit(const QString& text);
    QRect ListFrame() const;

    CSlotKind m_kind{QString()};
    CHeaderButton* m_header;
    CSlotListView* m_list;
    CGlyphButton* m_up;
    CGlyphButton* m_down;
    CGlyphButton* m_clear;
    CGlyphButton* m_showAll;
    CInPlaceEdit* m_edit = nullptr;
};
