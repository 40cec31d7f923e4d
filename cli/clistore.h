#pragma once

#include "desktoppim/chosenpimsource.h"
#include "store/locationlist.h"
#include "store/pimstore.h"
#include "store/settingsstore.h"
#include "store/storage.h"
#include "store/tagcatalogue.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>

// The record store as the command line reaches it: the settings, the storages, the tag
// catalogue, the locations and the contacts-and-tasks source of the home the environment
// chooses. Nothing is cached beyond what these objects keep (they read their files
// afresh on every call; the desktop's service is reached at the first call that needs it).
// Creating it makes sure the home and the tag catalogue exist, as the program's start does.
class CCliStore
{
public:
    CCliStore();
    CCliStore(const CCliStore&) = delete;
    CCliStore& operator=(const CCliStore&) = delete;

    CSettingsStore& Settings() { return m_settings; }
    const CStorage& Storage() const { return m_storage; }
    const CTagCatalogue& Tags() const { return m_tags; }
    const CLocationList& Locations() const { return m_locations; }
    const CPimStore& Pim() const { return m_pim; }
    const CChosenPimSource& PimSource() const { return m_pimSource; }

    // The stored "Format" when it is a row of the formats table, else 0.
    int Format() const;
    // The same without opening the store (no home or catalogue is created).
    static int StoredFormat();
    // The stored "InputDevice" and "OutputDevice" (empty: the server's default), likewise.
    static QString StoredInputDevice();
    static QString StoredOutputDevice();
    // The data folder of `storage` ("Device memory" or a card name). Throws
    // CCommandFailure when no such storage is present.
    QString DataFolderOf(const QString& storage) const;
    // Where the free space of `storage` is measured: its data folder, or the nearest
    // existing folder above it while the data folder is still to be created.
    std::string FreeSpaceFolderOf(const QString& storage) const;
    // A free path for a new record on `storage`, started at `localTime`: the data folder
    // is created, the name is MMDDYYYY_HHMMSS (or a numbered variant when taken) with the
    // codec's extension. Throws CCommandFailure when there is no place for it.
    QString MakeRecordPath(const QString& storage, std::uint32_t codec,
                           const QDateTime& localTime) const;
    // Where the file `path` (as given on the command line: the file system's bytes) really
    // is, when that lies in a record folder (ResolveInRecordFolders). Throws CCommandFailure
    // "PATH: not in a record folder; nothing changed" otherwise.
    std::filesystem::path RecordInFolders(const std::string& path) const;
    // Whether the folder holding `path` itself (the link, when `path` is one) is a record
    // folder.
    bool LiesInRecordFolder(const std::string& path) const;

private:
    CSettingsStore m_settings;
    CStorage m_storage;
    CTagCatalogue m_tags;
    CLocationList m_locations;
    CChosenPimSource m_pimSource;
    CPimStore m_pim;
};
