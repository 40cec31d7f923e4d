#include "store/storagepaths.h"

#include "audio/audiomanager.h"
#include "platform/home.h"

#include <QDir>

namespace StoragePaths {
namespace {

// Enough for any number of recordings started within one second.
constexpr int kMaxVariants = 10000;

const SStorageCard* FindCard(const QString& name, const QList<SStorageCard>& cards)
{
    for (const SStorageCard& card : cards) {
        if (!card.name.isEmpty() && card.name == name)
            return &card;
    }
    return nullptr;
}

QString CardFolder(const SStorageCard& card)
{
    return Home::WithTrailingSlash(card.mountPath);
}

} // namespace

bool IsOnStorageCard(const QString& path, const QList<SStorageCard>& cards)
{
    for (const SStorageCard& card : cards) {
        if (!card.name.isEmpty() && !card.mountPath.isEmpty() && path.startsWith(card.mountPath))
            return true;
    }
    return false;
}

void FillStorageList(QStringList& list, const QList<SStorageCard>& cards)
{
    list.clear();
    list.append(kDeviceMemory);
    for (const SStorageCard& card : cards) {
        if (!card.name.isEmpty())
            list.append(card.name);
    }
}

std::optional<QString> DataFolder(const QString& storage, const SLayout& layout)
{
    if (storage == kDeviceMemory) {
        if (IsOnStorageCard(layout.programFolder, layout.cards))
            return layout.deviceDataFolder;
        return layout.programFolder + QStringLiteral("Data/");
    }
    const SStorageCard* card = FindCard(storage, layout.cards);
    if (card == nullptr)
        return std::nullopt;
    const QString cardFolder = CardFolder(*card);
    if (layout.programFolder.startsWith(cardFolder))
        return layout.programFolder + QStringLiteral("Data/");
    return cardFolder + QStringLiteral("Parlantographer/Data/");
}

QString RecordExtension(std::uint32_t codec)
{
    switch (codec) {
    case Codec::Pcm:
        return QStringLiteral("wav");
    case Codec::Speex:
        return QStringLiteral("ogg");
    default:
        return {};
    }
}

QString RecordFileName(const QDateTime& localTime, const QString& extension, int variant)
{
    QString name = localTime.toString(QStringLiteral("MMddyyyy_HHmmss"));
    if (variant >= 2)
        name += u'_' + QString::number(variant);
    return name + u'.' + extension;
}

QString FreeRecordPath(const QString& dataFolder, const QDateTime& localTime,
                       const QString& extension, const std::function<bool(const QString&)>& exists)
{
    for (int variant = 1; variant <= kMaxVariants; ++variant) {
        const QString path = dataFolder + RecordFileName(localTime, extension, variant);
        if (!exists(path))
            return path;
    }
    return {};
}

QStringList EnumerateRecordFolders(const SLayout& layout,
                                   const std::function<QString(const QString&)>& canonical)
{
    QStringList candidates{layout.programFolder + QStringLiteral("Data/")};
    for (const SStorageCard& card : layout.cards) {
        if (card.name.isEmpty())
            continue;
        candidates.append(CardFolder(card) + QStringLiteral("Parlantographer/Data/"));
        candidates.append(CardFolder(card) + QStringLiteral("Brindlewares Parlantographer/Data/"));
    }
    candidates.append(layout.deviceDataFolder);

    QStringList folders;
    QStringList seen;
    for (const QString& candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        const QString key = canonical ? canonical(candidate) : QDir::cleanPath(candidate);
        if (seen.contains(key))
            continue;
        seen.append(key);
        folders.append(candidate);
    }
    return folders;
}

} // namespace StoragePaths
