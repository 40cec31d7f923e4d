#include "platform/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <pwd.h>
#include <unistd.h>

namespace Volumes {
namespace {

SStorageCard CardAt(const QString& path)
{
    QString mount = QDir::cleanPath(path);
    return SStorageCard{QFileInfo(mount).fileName(), mount};
}

QString CurrentUser()
{
    // The account's name, not $USER, which a shell may leave stale under sudo.
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

QList<SStorageCard> CardsFromList(const QString& colonSeparated)
{
    QList<SStorageCard> cards;
    for (const QString& entry : colonSeparated.split(u':', Qt::SkipEmptyParts)) {
        const SStorageCard card = CardAt(entry);
        if (!card.name.isEmpty() && !cards.contains(card))
            cards.append(card);
    }
    return cards;
}

QList<SStorageCard> CardsAmongMounts(const QStringList& mountPoints, const QString& user)
{
    QList<SStorageCard> cards;
    if (user.isEmpty())
        return cards;
    const QStringList parents{QStringLiteral("/media/") + user,
                              QStringLiteral("/run/media/") + user};
    for (const QString& mountPoint : mountPoints) {
        const SStorageCard card = CardAt(mountPoint);
        const QString parent = QFileInfo(card.mountPath).path();
        if (!card.name.isEmpty() && parents.contains(parent) && !cards.contains(card))
            cards.append(card);
    }
    return cards;
}

QList<SStorageCard> WithDistinctNames(QList<SStorageCard> cards)
{
    QSet<QString> taken;
    for (const SStorageCard& card : cards)
        taken.insert(card.name);
    QSet<QString> used;
    for (SStorageCard& card : cards) {
        if (used.contains(card.name)) {
            QString name;
            for (int n = 2; name.isEmpty() || taken.contains(name); ++n)
                name = card.name + QStringLiteral(" (%1)").arg(n);
            taken.insert(name);
            card.name = name;
        }
        used.insert(card.name);
    }
    return cards;
}

QList<SStorageCard> Present()
{
    if (qEnvironmentVariableIsSet(kCardsVariable))
        return WithDistinctNames(CardsFromList(qEnvironmentVariable(kCardsVariable)));
    QStringList mountPoints;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            mountPoints.append(volume.rootPath());
    }
    return WithDistinctNames(CardsAmongMounts(mountPoints, CurrentUser()));
}

} // namespace Volumes
