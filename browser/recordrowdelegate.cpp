#include "browser/recordrowdelegate.h"

#include "browser/recordlistmodel.h"
#include "controls/theme.h"

#include <QApplication>
#include <QPainter>

namespace {

constexpr int kPadX = 6;
constexpr int kPadY = 3;
constexpr int kGap = 12;

QFont NameFont(const QFont& base)
{
    QFont bold = base;
    bold.setWeight(QFont::DemiBold);
    return bold;
}

} // namespace

void CRecordRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    QStyleOptionViewItem panel = option;
    initStyleOption(&panel, index);
    panel.text.clear();
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    // The background, selection and focus as the list's style draws them.
    style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, view);

    const bool selected = option.state & QStyle::State_Selected;
    const bool enabled = option.state & QStyle::State_Enabled;
    const QColor ink = !enabled   ? Theme::DisabledText()
                       : selected ? QColor(Qt::white)
                                  : Theme::ListText();
    const QRect area = option.rect.adjusted(kPadX, kPadY, -kPadX, -kPadY);
    painter->save();
    if (index.data(CRecordListModel::PlaceholderRole).toBool()) {
        painter->setPen(Theme::DisabledText());
        painter->drawText(
            area, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, area.width()));
        painter->restore();
        return;
    }
    const int line = option.fontMetrics.lineSpacing();
    const QRect top(area.left(), area.top(), area.width(), line);
    const QRect bottom(area.left(), area.top() + line, area.width(), line);

    const QString length = index.data(CRecordListModel::LengthRole).toString();
    const int lengthWidth = length.isEmpty() ? 0 : option.fontMetrics.horizontalAdvance(length);
    painter->setPen(ink);
    painter->drawText(top, Qt::AlignRight | Qt::AlignVCenter, length);
    const QFont name = NameFont(option.font);
    painter->setFont(name);
    const int nameWidth = top.width() - (lengthWidth > 0 ? lengthWidth + kGap : 0);
    painter->drawText(
        top, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(name).elidedText(index.data().toString(), Qt::ElideRight, qMax(0, nameWidth)));

    painter->setFont(option.font);
    // Quieter than the name, yet readable on the list's background; on the selection's green
    // as white as the name.
    painter->setPen(selected || !enabled ? ink
                                         : Theme::Readable(Theme::Mix(ink, Theme::ListBase(), 0.35),
                                                           Theme::ListBase()));
    QString second = index.data(CRecordListModel::RecordedRole).toString();
    const QString details = index.data(CRecordListModel::DetailsRole).toString();
    if (!details.isEmpty())
        second += (second.isEmpty() ? QString() : QStringLiteral("  \u2014  ")) + details;
    painter->drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(second, Qt::ElideRight, bottom.width()));
    painter->restore();
}

QSize CRecordRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    // Two lines for every row, the placeholder's too: the list's rows are uniform. The width
    // asks for nothing, so the list never grows for a long name.
    return {1, 2 * option.fontMetrics.lineSpacing() + 2 * kPadY};
}
