#include "browser/propertytags.h"

#include "controls/theme.h"
#include "controls/wholerowsview.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

CPropertyTags::CPropertyTags(SPageServices& services, QWidget* parent)
    : CBrowserPage(services, parent), m_tree(new CWholeRowsView<QTreeWidget>(this))
{
    m_tree->setObjectName(QStringLiteral("tags"));
    m_tree->setHeaderHidden(true);
    // A tap toggles a tag's mark; groups only hold their tags.
    m_tree->setSelectionMode(QAbstractItemView::MultiSelection);
    m_tree->setStyleSheet(
        QStringLiteral("QTreeWidget { background: %1; color: %2; border: 1px solid %3; "
                       "border-radius: 4px; } QTreeWidget::item:selected { background: %4; "
                       "color: white; }")
            .arg(Theme::ListBase().name(), Theme::ListText().name(), Theme::Border().name(),
                 Theme::Accent().name()));
    m_tree->setMaximumHeight(160);
    SelectorArea()->addWidget(m_tree);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] {
        StopPlayback();
        FillRecords(SelectedName());
    });
}

QString CPropertyTags::NoTagsText()
{
    return tr("No Tags");
}

QList<SRecordTag> CPropertyTags::MarkedTags() const
{
    QList<SRecordTag> marked;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = m_tree->topLevelItem(g);
        for (int t = 0; t < group->childCount(); ++t) {
            if (group->child(t)->isSelected())
                marked.append(SRecordTag{group->text(0), group->child(t)->text(0)});
        }
    }
    return marked;
}

bool CPropertyTags::TapTag(const QString& group, const QString& tag)
{
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* groupItem = m_tree->topLevelItem(g);
        if (groupItem->text(0) != group)
            continue;
        for (int t = 0; t < groupItem->childCount(); ++t) {
            QTreeWidgetItem* item = groupItem->child(t);
            if (item->text(0) == tag) {
                item->setSelected(!item->isSelected());
                return true;
            }
        }
    }
    return false;
}

void CPropertyTags::FillTree()
{
    SRecordQuery all;
    all.set = ERecordSet::WithTags;
    const QList<STagGroup> groups = Records().TagGroups(all);
    const QList<SRecordTag> marked = MarkedTags();
    const QSignalBlocker block(m_tree);
    m_tree->clear();
    for (const STagGroup& group : groups) {
        auto* groupItem = new QTreeWidgetItem(m_tree, {group.group});
        groupItem->setFlags(Qt::ItemIsEnabled);
        for (const QString& tag : group.tags) {
            auto* item = new QTreeWidgetItem(groupItem, {tag});
            // A marked tag stays marked while some record still carries it.
            item->setSelected(marked.contains(SRecordTag{group.group, tag}));
        }
    }
    if (groups.isEmpty()) {
        auto* item = new QTreeWidgetItem(m_tree, {NoTagsText()});
        item->setFlags(Qt::ItemIsEnabled);
        item->setForeground(0, Theme::DisabledText());
    }
    m_tree->expandAll();
}

bool CPropertyTags::RefreshSelectors()
{
    FillTree();
    return true;
}

SRecordQuery CPropertyTags::Query() const
{
    SRecordQuery query;
    query.set = ERecordSet::WithTags;
    query.tags = MarkedTags();
    return query;
}
