#include "store/renametrail.h"

#include "store/slotkind.h"

QString CRenameTrail::FirstName(const QHash<QString, QString>& names, const QString& now)
{
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        if (it.value() == now)
            return it.key();
    }
    return names.contains(now) ? QString() : now;
}

void CRenameTrail::GroupRenamed(const QString& from, const QString& to)
{
    const QString first = FirstName(m_groups, from);
    if (!first.isEmpty())
        m_groups.insert(first, to);
}

void CRenameTrail::TagRenamed(const QString& group, const QString& from, const QString& to)
{
    const QString firstGroup = FirstName(m_groups, group);
    if (firstGroup.isEmpty())
        return;
    QHash<QString, QString>& tags = m_tags[firstGroup];
    const QString first = FirstName(tags, from);
    if (!first.isEmpty())
        tags.insert(first, to);
}

QString CRenameTrail::Group(const QString& group) const
{
    return m_groups.value(group, group);
}

QString CRenameTrail::Tag(const QString& group, const QString& tag) const
{
    return m_tags.value(group).value(tag, tag);
}

std::optional<QList<bool>> CRenameTrail::ChoicesNow(const QString& kindBefore,
                                                    const QStringList& chosenBefore,
                                                    const QString& kindNow,
                                                    const QStringList& itemsNow) const
{
    const CSlotKind before(kindBefore);
    const QString group = before.GroupName();
    if ((before.IsTagGroup() ? Group(group) : kindBefore) != kindNow)
        return std::nullopt;
    QStringList wanted;
    for (const QString& item : chosenBefore)
        wanted << (before.IsTagGroup() ? Tag(group, item) : item);
    QList<bool> states;
    for (const QString& item : itemsNow)
        states << wanted.contains(item);
    return states;
}
