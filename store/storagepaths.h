#pragma once

#include "platform/volumes.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

// Where records live and what a new record is called, as pure functions of the program
// folder, the cards present, the storage setting, the codec and the local time. Paths use
// "/" and every folder returned ends with "/". Nothing here touches the file system.
namespace StoragePaths {

// The storage setting's value for the device's own file system.
inline const QString kDeviceMemory = QStringLiteral("Device memory");

// The facts a data folder depends on.
struct SLayout
{
    QString programFolder;    // the home, ending with "/"
    QString deviceDataFolder; // data folder in device memory when the program is on a card
    QList<SStorageCard> cards;
};

// True when `path` begins with the mount path of any card with a non-empty name. A plain
// prefix test: "/Storage Card2/x" lies on the card mounted at "/Storage Card".
bool IsOnStorageCard(const QString& path, const QList<SStorageCard>& cards);

// Empties `list`, then puts "Device memory" first and the name of every card with a
// non-empty name after it, in the order given.
void FillStorageList(QStringList& list, const QList<SStorageCard>& cards);

// The data folder for new records on `storage` ("Device memory" or a card name):
// - device memory: the program folder + "Data/", or the device data folder when the program
//   itself lies on a card;
// - a card: the program folder + "Data/" when the program lies on that very card (its mount
//   path followed by "/"), else <mount path>/Parlantographer/Data/.
// std::nullopt when `storage` names no card present: there is no place for the record, and
// a folder made under an empty mount point would silently fill the device instead.
std::optional<QString> DataFolder(const QString& storage, const SLayout& layout);

// "wav" for the PCM codec, "ogg" for Speex; empty for any other codec, which never records
// to a file of its own.
QString RecordExtension(std::uint32_t codec);

// MMDDYYYY_HHMMSS.<extension> of `localTime`; with `variant` 2 or more,
// MMDDYYYY_HHMMSS_<variant>.<extension>.
QString RecordFileName(const QDateTime& localTime, const QString& extension, int variant = 1);

// The path of a new record in `dataFolder`: the plain name of `localTime` when free, else the
// first free variant (_2, _3, ...), so that an existing record is never replaced.
// `exists` tells whether a path is taken. Empty only when every variant up to a large bound is
// taken.
QString FreeRecordPath(const QString& dataFolder, const QDateTime& localTime,
                       const QString& extension, const std::function<bool(const QString&)>& exists);

// The folders in which existing records are looked for, in this order: the program folder +
// "Data/"; for each named card, <mount>/Parlantographer/Data/ then
// <mount>/Brindlewares Parlantographer/Data/; the device data folder. A folder already listed
// (compared through `canonical`, by default QDir::cleanPath) is skipped.
QStringList EnumerateRecordFolders(const SLayout& layout,
                                   const std::function<QString(const QString&)>& canonical = {});

} // namespace StoragePaths
