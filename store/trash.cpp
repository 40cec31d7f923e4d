#include "store/trash.h"

#include "platform/disksync.h"
#include "store/nativepath.h"
#include "store/recordrename.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace Trash {
namespace {

std::optional<dev_t> DeviceOf(const fs::path& path)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return status.st_dev;
}

// The device of the nearest existing folder on the way to `path`: a trash folder that does
// not exist yet is made on the volume of its parent.
std::optional<dev_t> DeviceOfNearest(fs::path path)
{
    while (!path.empty()) {
        if (const std::optional<dev_t> device = DeviceOf(path))
            return device;
        if (path == path.parent_path())
            break;
        path = path.parent_path();
    }
    return std::nullopt;
}

fs::path HomeTrash()
{
    return NativePath::FromText(
               QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) /
           "Trash";
}

bool IsDirectory(const fs::path& path, struct stat& status)
{
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// A folder to put files into: a real folder (no link) we may write, or one we may create.
bool IsUsableFolder(const fs::path& folder)
{
    struct stat status
    {
    };
    if (IsDirectory(folder, status))
        return ::access(folder.c_str(), W_OK | X_OK) == 0;
    if (::lstat(folder.c_str(), &status) == 0)
        return false; // something else in its place
    return ::access(folder.parent_path().c_str(), W_OK | X_OK) == 0;
}

// The top folder of the volume holding `folder`.
fs::path TopOf(fs::path folder, dev_t device)
{
    while (folder.has_parent_path() && folder.parent_path() != folder &&
           DeviceOf(folder.parent_path()) == device)
        folder = folder.parent_path();
    return folder;
}

std::optional<fs::path> VolumeTrash(const fs::path& top)
{
    const std::string uid = std::to_string(::getuid());
    struct stat shared
    {
    };
    if (IsDirectory(top / ".Trash", shared) && (shared.st_mode & S_ISVTX) != 0 &&
        IsUsableFolder(top / ".Trash" / uid))
        return top / ".Trash" / uid;
    if (IsUsableFolder(top / (".Trash-" + uid)))
        return top / (".Trash-" + uid);
    return std::nullopt;
}

// A trash folder, made private (as the trash's rules ask) when it is new; one there already
// keeps its mode.
bool MakeFolder(const fs::path& folder)
{
    struct stat status
    {
    };
    if (IsDirectory(folder, status))
        return true;
    std::error_code error;
    fs::create_directories(folder.parent_path(), error);
    if (::mkdir(folder.c_str(), S_IRWXU) == 0) {
        // A trash made now must be on the disk before anything is moved into it.
        DiskSync::SyncFolderOf(folder.native());
        return true;
    }
    return errno == EEXIST && IsDirectory(folder, status);
}

// "file.wav", then "file.2.wav", "file.3.wav"...
fs::path Candidate(const fs::path& name, int attempt)
{
    if (attempt == 1)
        return name;
    return fs::path(name.stem().native() + '.' + std::to_string(attempt) +
                    name.extension().native());
}

QByteArray InfoText(const fs::path& original)
{
    return QByteArrayLiteral("[Trash Info]\nPath=") +
           QByteArray::fromStdString(original.native()).toPercentEncoding("/") +
           QByteArrayLiteral("\nDeletionDate=") +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toUtf8() +
           '\n';
}

bool WriteInfo(const fs::path& info, const QByteArray& text)
{
    const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool written = ::write(fd, text.constData(), static_cast<std::size_t>(text.size())) ==
                   static_cast<ssize_t>(text.size());
    // The note must be on the disk before the file it describes moves into the trash.
    written = ::fsync(fd) == 0 && written;
    written = ::close(fd) == 0 && written;
    if (!written) {
        ::unlink(info.c_str());
        return false;
    }
    // Its name reaches the disk with the folder; the move that follows syncs its own folders.
    DiskSync::SyncFolderOf(info.native());
    return true;
}

// Where a file goes: the trash folder, and the folder the information names the file from
// (the root for the home trash, which takes the whole path; the volume's top folder for its
// own trash, so that the volume may be mounted elsewhere).
struct SPlace
{
    fs::path trash;
    fs::path base;
    fs::path file; // the file's own path, its folder's links resolved
};

std::optional<SPlace> PlaceFor(const fs::path& file)
{
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(fs::absolute(file, error).parent_path(), error);
    const std::optional<dev_t> device = DeviceOf(folder);
    if (error || !device)
        return std::nullopt;
    const fs::path home = HomeTrash();
    if (DeviceOfNearest(home) == device)
        return SPlace{home, "/", folder / file.filename()};
    // On the home folder's own volume only the home trash may take it.
    if (DeviceOf(NativePath::FromText(QDir::homePath())) == device)
        return std::nullopt;
    const fs::path top = TopOf(folder, *device);
    if (const std::optional<fs::path> trash = VolumeTrash(top))
        return SPlace{*trash, top, folder / file.filename()};
    return std::nullopt;
}

} // namespace

std::optional<fs::path> FolderFor(const fs::path& file)
{
    const std::optional<SPlace> place = PlaceFor(file);
    return place ? std::optional<fs::path>(place->trash) : std::nullopt;
}

bool Move(const fs::path& file, fs::path* trashed)
{
    const std::optional<SPlace> place = PlaceFor(file);
    if (!place || !MakeFolder(place->trash) || !MakeFolder(place->trash / "files") ||
        !MakeFolder(place->trash / "info"))
        return false;
    const fs::path original =
        place->base == "/" ? place->file : place->file.lexically_relative(place->base);
    const QByteArray text = InfoText(original);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const fs::path name = Candidate(file.filename(), attempt);
        const fs::path info = place->trash / "info" / (name.native() + ".trashinfo");
        if (!WriteInfo(info, text)) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        const fs::path target = place->trash / "files" / name;
        const RecordRename::SResult moved = RecordRename::MoveNoReplace(file, target);
        if (moved.status == RecordRename::EStatus::Renamed) {
            if (trashed)
                *trashed = target;
            return true;
        }
        ::unlink(info.c_str());
        if (moved.status != RecordRename::EStatus::Exists)
            return false;
    }
    return false;
}

} // namespace Trash
