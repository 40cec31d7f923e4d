#include "controls/slotlistview.h"

#include "controls/theme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Selected items are drawn as a green bar with a check mark, so a selection stays
// readable without colour vision and in the disabled state.
class CSlotItemDelegate : public QStyledItemDelegate
{
public:
    explicit CSlotItemDelegate(CSlotListView* view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_view->RowHeight());
        return size;
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const bool enabled = option.state.testFlag(QStyle::State_Enabled);
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QRectF row = QRectF(option.rect).adjusted(2, 1, -2, -1);
        QColor ink = enabled ? Theme::ListText() : Theme::DisabledText();
        if (selected) {
            p->setPen(Qt::NoPen);
            // Disabled, a paler bar: white ink stays readable on it in light and dark themes.
            p->setBrush(enabled ? Theme::Accent()
                                : Theme::Mix(Theme::Accent(), Theme::DisabledText(), 0.5));
            p->drawRoundedRect(row, 3, 3);
            ink = Qt::white;
        }
        const int checkSide = option.rect.height() / 2;
        const QRectF check(row.right() - checkSide - 6, row.center().y() - checkSide / 2.0,
                           checkSide, checkSide);
        if (selected) {
            p->setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPolygonF tick;
            tick << QPointF(check.left(), check.center().y())
                 << QPointF(check.left() + check.width() * 0.4, check.bottom())
                 << QPointF(check.right(), check.top());
            p->drawPolyline(tick);
        }
        if (m_view->IsItemMode() && m_view->hasFocus() && index.row() == m_view->MarkRow()) {
            // The selection mark: where Return toggles.
            p->setPen(QPen(selected ? QColor(Qt::white) : Theme::Ink(Theme::ListBase()), 1,
                           Qt::DashLine));
            p->setBrush(Qt::NoBrush);
            p->drawRoundedRect(row.adjusted(1, 1, -1, -1), 3, 3);
        }
        p->setPen(ink);
        const QRect textArea = option.rect.adjusted(8, 0, -(checkSide + 14), 0);
        const QString text = index.data(Qt::DisplayRole).toString();
        p->drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft,
                    option.fontMetrics.elidedText(text, Qt::ElideRight, textArea.width()));
        p->restore();
    }

private:
    CSlotListView* m_view;
};

} // namespace

CSlotListView::CSlotListView(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::MultiSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setFocusPolicy(Qt::TabFocus);
    setItemDelegate(new CSlotItemDelegate(this));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    setStyleSheet(QStringLiteral("QListWidget { background: transparent; }"));
}

int CSlotListView::RowHeight() const
{
    return fontMetrics().height() + 8;
}

int CSlotListView::VisibleRows() const
{
    // The own size rather than the viewport's: a hidden list learns its viewport size
    // only when shown, but the scroll buttons must be right before that.
    return qMax(1, contentsRect().height() / RowHeight());
}

int CSlotListView::TopRow() const
{
    // Scrolling is per item, so the scroll value is the index of the top row.
    return verticalScrollBar()->value();
}

void CSlotListView::ScrollBy(int rows)
{
    executeDelayedItemsLayout();
    const int last = qMax(0, count() - VisibleRows());
    verticalScrollBar()->setValue(qBound(0, verticalScrollBar()->value() + rows, last));
}

void CSlotListView::ScrollUpOne()
{
    ScrollBy(-1);
}

void CSlotListView::ScrollDownOne()
{
    ScrollBy(1);
}

void CSlotListView::ScrollToFirst()
{
    verticalScrollBar()->setValue(0);
}

void CSlotListView::ToggleRow(int row)
{
    QListWidgetItem* target = item(row);
    if (!target)
        return;
    const bool wasSelected = target->isSelected();
    if (m_singleChoice) {
        for (int i = 0; i < count(); ++i)
            item(i)->setSelected(false);
    }
    target->setSelected(!wasSelected);
    viewport()->update();
    emit Toggled(row);
}

void CSlotListView::SetItemMode(bool on)
{
    m_itemMode = on;
    if (on && currentRow() < 0 && count() > 0)
        setCurrentRow(TopRow(), QItemSelectionModel::NoUpdate);
    viewport()->update();
    update();
}

void CSlotListView::MoveMark(int rows)
{
    if (count() == 0)
        return;
    // The first move without a mark puts it on the first item.
    const int row = currentRow() < 0 ? 0 : qBound(0, currentRow() + rows, count() - 1);
    setCurrentRow(row, QItemSelectionModel::NoUpdate);
    // Scroll whole items, so the mark stays on a fully drawn row.
    ScrollToRow(row);
    viewport()->update();
}

void CSlotListView::ScrollToRow(int row)
{
    if (row < TopRow())
        ScrollBy(row - TopRow());
    else if (row >= TopRow() + VisibleRows())
        ScrollBy(row - (TopRow() + VisibleRows() - 1));
}

void CSlotListView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        // One task or one location: selecting all would give the record several.
        if (!m_singleChoice)
            selectAll();
        event->accept();
        return;
    }
    const int key = event->key();
    const bool activate = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Select;
    if (!IsItemMode()) {
        if (activate) {
            SetItemMode(true);
            event->accept();
            return;
        }
        // Everything else is the owner's: the arrows move the focus there.
        event->ignore();
        return;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        MoveMark(key == Qt::Key_Up ? -1 : 1);
    } else if (activate || key == Qt::Key_Space) {
        if (m_tapGuard && m_tapGuard())
            return;
        if (currentRow() >= 0)
            ToggleRow(currentRow());
    } else if ((key == Qt::Key_Left || key == Qt::Key_Right) && !m_alwaysItemMode) {
        SetItemMode(false);
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

void CSlotListView::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    m_itemMode = false;
    update();
}

void CSlotListView::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    if (!hasFocus() || IsItemMode())
        return;
    // The list as a whole has the focus: a frame around it says so.
    QPainter p(viewport());
    p.setPen(QPen(Theme::Ink(Theme::ListBase()), 1, Qt::DashLine));
    p.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
}

void CSlotListView::selectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected)
{
    QListWidget::selectionChanged(selected, deselected);
    if (!m_singleChoice || m_trimming || selectedIndexes().size() <= 1)
        return;
    // Whatever selected a second item (a key, a selection set from outside), the one
    // just chosen stays and the others go.
    const QModelIndexList chosen = selected.indexes();
    const int keep = chosen.isEmpty() ? selectedIndexes().first().row() : chosen.last().row();
    m_trimming = true;
    for (int i = 0; i < count(); ++i) {
        if (i != keep)
            item(i)->setSelected(false);
    }
    m_trimming = false;
}

void CSlotListView::HandleTap(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_tapGuard && m_tapGuard())
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    ToggleRow(index.row());
}

void CSlotListView::mousePressEvent(QMouseEvent* event)
{
    HandleTap(event);
}

void CSlotListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    HandleTap(event);
}

void CSlotListView::mouseMoveEvent(QMouseEvent*)
{
    // Dragging over the rows must not select them: only taps change the selection.
}

void CSlotListView::mouseReleaseEvent(QMouseEvent*) {}

void CSlotListView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        ApplyRowHeight();
    QListWidget::changeEvent(event);
}

void CSlotListView::ApplyRowHeight()
{
    FitWholeRows();
    doItemsLayout();
}

void CSlotListView::FitWholeRows()
{
    // The viewport ends below the last whole row, so no item is ever drawn cut in half.
    const int height = contentsRect().height();
    const int spare = height >= RowHeight() ? height % RowHeight() : 0;
    setViewportMargins(0, 0, 0, spare);
}

void CSlotListView::resizeEvent(QResizeEvent* event)
{
    FitWholeRows();
    QListWidget::resizeEvent(event);
}
