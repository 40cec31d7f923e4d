#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The renames an editor made to tag groups and tags, followed from the name each had when
// the editor opened to the name it has now, so that what was chosen under the old names can
// be chosen again under the new ones. Renames chain: A to B, then B to C, is A to C. A name
// given to something new after its first owner was renamed away starts no trail.
class CRenameTrail
{
public:
    void GroupRenamed(const QString& from, const QString& to);
    // `group` is the group's name at the time of the rename.
    void TagRenamed(const QString& group, const QString& from, const QString& to);

    // The name now of the group that was called `group`; `group` when it was not renamed.
    QString Group(const QString& group) const;
    // The name now of the tag `tag` of the group that was called `group`.
    QString Tag(const QString& group, const QString& tag) const;

    // The choices of a main-screen slot that showed the kind `kindBefore` with `chosenBefore`
    // chosen, for the slot as it is now: every item chosen before is chosen again under its
    // name now. nullopt when the slot shows another kind now.
    std::optional<QList<bool>> ChoicesNow(const QString& kindBefore,
                                          const QStringList& chosenBefore, const QString& kindNow,
                                          const QStringList& itemsNow) const;

private:
    // The first name of what is called `now` in `names` (first name to name now); empty when
    // `now` is a newcomer that took a renamed name.
    static QString FirstName(const QHash<QString, QString>& names, const QString& now);

    QHash<QString, QString> m_groups;
    // By the group's first name.
    QHash<QString, QHash<QString, QString>> m_tags;
};
