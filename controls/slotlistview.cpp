#include "controls/slotlistview.h"

#include "controls/theme.h"

#include <QMouseEvent>
#include <QPainter>
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
            p->setBrush(enabled ? Theme::Accent() : Theme::DisabledText());
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
    doItemsLayout();
}
