#pragma once

#include <QStyledItemDelegate>

// Draws a row of a record list on two lines: the name in bold with the length at the right
// end, then when it was recorded and what it carries, in a quieter colour. Every text is
// elided to the row, so a long tag never widens the list; every row is as high as the next.
class CRecordRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
