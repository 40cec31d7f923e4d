#include "cli/clistore.h"

#include "audio/audiomanager.h"
#include "cli/commandfailure.h"
#include "platform/home.h"
#include "store/nativepath.h"
#include "store/recordcatalogue.h"
#include "store/storagepaths.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>

namespace {

QString EnsureHome()
{
    const QString home = Home::Folder();
    // A home that cannot be created shows up as the failure of the first file written
    // in it, with that operation's own message.
    QDir().mkpath(home);
    return home;
}

} // namespace

CCliStore::CCliStore()
    : m_storage(m_settings), m_tags(EnsureHome()), m_locations(Home::Folder()),
      m_pimSource(m_settings.PimSource(),
                  CPimFileSource::FolderFor(m_settings.PimFolder(), Home::Folder())),
      m_pim(m_pimSource)
{
    // As at the program's start: the catalogue exists before anything reads or edits it.
    // A home that cannot be written leaves it missing; readers then find no groups and
    // writers report the failure.
    m_tags.EnsureDefaultGroups();
}

namespace {

int ValidFormat(int format)
{
    return format >= 0 && format < static_cast<int>(kRecordingFormats.size()) ? format : 0;
}

} // namespace

int CCliStore::Format() const
{
    return ValidFormat(m_settings.Format());
}

int CCliStore::StoredFormat()
{
    return ValidFormat(CSettingsStore().Format());
}

QString CCliStore::StoredInputDevice()
{
    return CSettingsStore().InputDevice();
}

QString CCliStore::StoredOutputDevice()
{
    return CSettingsStore().OutputDevice();
}

QString CCliStore::DataFolderOf(const QString& storage) const
{
    const std::optional<QString> folder = StoragePaths::DataFolder(storage, m_storage.Layout());
    if (!folder)
        throw CCommandFailure("The storage \"" + storage.toStdString() + "\" is not present.");
    return *folder;
}

std::string CCliStore::FreeSpaceFolderOf(const QString& storage) const
{
    std::filesystem::path folder(DataFolderOf(storage).toStdString());
    std::error_code error;
    while (!std::filesystem::is_directory(folder, error) && folder.has_parent_path() &&
           folder.parent_path() != folder)
        folder = folder.parent_path();
    return folder.string();
}

QString CCliStore::MakeRecordPath(const QString& storage, std::uint32_t codec,
                                  const QDateTime& localTime) const
{
    const QString extension = StoragePaths::RecordExtension(codec);
    if (extension.isEmpty())
        throw CCommandFailure("This recording format cannot be stored as a record.");
    const QString folder = DataFolderOf(storage);
    if (!QDir().mkpath(folder))
        throw CCommandFailure("Cannot create the folder \"" + folder.toStdString() + "\".");
    const QString path =
        StoragePaths::FreeRecordPath(folder, localTime, extension, [](const QString& candidate) {
            const QFileInfo info(candidate);
            return info.exists() || info.isSymLink();
        });
    if (path.isEmpty())
        throw CCommandFailure("No free record name in \"" + folder.toStdString() + "\".");
    return path;
}

std::filesystem::path CCliStore::RecordInFolders(const std::string& path) const
{
    const std::optional<std::filesystem::path> record =
        ResolveInRecordFolders(path, m_storage.EnumerateRecordFolders());
    if (!record)
        throw CCommandFailure(path + ": not in a record folder; nothing changed");
    return *record;
}

bool CCliStore::LiesInRecordFolder(const std::string& path) const
{
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::canonical(std::filesystem::absolute(path, error).parent_path(), error);
    if (error)
        return false;
    for (const QString& recordFolder : m_storage.EnumerateRecordFolders()) {
        if (std::filesystem::canonical(NativePath::FromText(recordFolder), error) == folder &&
            !error)
            return true;
    }
    return false;
}
