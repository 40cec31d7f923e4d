#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A removable volume (a storage card): its name is the mount folder's name.
struct SStorageCard
{
    QString name;
    QString mountPath; // without a trailing "/"

    bool operator==(const SStorageCard&) const = default;
};

namespace Volumes {

inline constexpr const char* kCardsVariable = "PARLANTOGRAPHER_CARDS";

// The removable volumes present now, in a stable order. When $PARLANTOGRAPHER_CARDS is set
// (colon-separated mount paths, empty entries ignored) it replaces the enumeration; the
// listed folders need not exist. Otherwise every ready file system mounted directly below
// /media/<user>/ or /run/media/<user>/. Never fails: no volume gives an empty list.
QList<SStorageCard> Present();

// The cards among `mountPoints` for `user`: those mounted directly below /media/<user>/
// or /run/media/<user>/, in the given order, each once.
QList<SStorageCard> CardsAmongMounts(const QStringList& mountPoints, const QString& user);

// The cards with the later of two equal names told apart as "NAME (2)", "NAME (3)"... (a
// name no other card has), so that each can be chosen and recorded to. Present applies it.
QList<SStorageCard> WithDistinctNames(QList<SStorageCard> cards);

// The cards named by a colon-separated list of mount paths.
QList<SStorageCard> CardsFromList(const QString& colonSeparated);

} // namespace Volumes
