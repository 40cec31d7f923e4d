#pragma once

#include "platform/volumes.h"
#include "store/storagepaths.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class CSettingsStore;

// Where the storage facts come from. FromSystem() reads the home, the device data folder and
// the removable volumes; tests give fixed folders and cards.
struct SStorageEnvironment
{
    QString programFolder;                      // ends with "/"
    QString deviceDataFolder;                   // ends with "/"
    std::function<QList<SStorageCard>()> cards; // asked afresh on every use

    static SStorageEnvironment FromSystem();
};

// The result of MakeRecordPath: the new record's full path, or the reason there is none.
struct SRecordPath
{
    QString path;  // empty on failure
    QString error; // empty on success
    bool Ok() const { return !path.isEmpty() && error.isEmpty(); }
};

// The storage of records: the storage list, the data folder of the chosen storage, new record
// paths and the folders to scan, over StoragePaths with the settings, the volumes present and
// the file system. The settings object must outlive this one. User-interface thread only.
class CStorage
{
public:
    explicit CStorage(const CSettingsStore& settings,
                      SStorageEnvironment environment = SStorageEnvironment::FromSystem());

    const QString& ProgramFolder() const { return m_environment.programFolder; }
    // Path of a catalogue or working file kept in the program folder ("groups.dat", ...).
    QString ProgramFile(const QString& name) const;
    QList<SStorageCard> Cards() const;
    StoragePaths::SLayout Layout() const;

    // True when the program folder lies on a card present now.
    bool IsProgramOnCard() const;
    // "Device memory" then the card names (see StoragePaths::FillStorageList).
    QStringList StorageList() const;

    // The data folder of the stored storage setting; std::nullopt when it names an absent card.
    // Not created here.
    std::optional<QString> DataFolder() const;
    // Bytes free for a recording on the chosen storage: on the file system of its data folder,
    // or of the folder's nearest existing parent until the first recording creates it. 0 when
    // the chosen card is absent or nothing of the path exists.
    double FreeBytes() const;

    // Creates the data folder of the stored storage (with its parents) and returns a free path
    // MMDDYYYY_HHMMSS.<wav|ogg> (or a _2, _3... variant) for a recording started at `localTime`
    // with `codec`. Fails, with a message, for an absent card, a folder that cannot be created
    // or a codec without an extension.
    SRecordPath MakeRecordPath(std::uint32_t codec,
                               const QDateTime& localTime = QDateTime::currentDateTime()) const;

    // The record folders in scan order, each once; folders that resolve to the same place on
    // disk (symbolic links, "..") count once. Folders need not exist.
    QStringList EnumerateRecordFolders() const;

private:
    const CSettingsStore& m_settings;
    SStorageEnvironment m_environment;
};
