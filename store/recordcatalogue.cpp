#include "store/recordcatalogue.h"

#include "audio/audioerror.h"
#include "audio/tagger.h"
#include "platform/disksync.h"
#include "store/headerinforeader.h"
#include "store/recordinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool IsHiddenOrTemporary(const std::string& name)
{
    const auto endsWith = [&](std::string_view tail) {
        if (name.size() < tail.size())
            return false;
        return std::equal(tail.rbegin(), tail.rend(), name.rbegin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
        });
    };
    return name.empty() || name.front() == '.' || endsWith("~") || endsWith(".tmp");
}

struct SDirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// A regular file, not a link to one. The listing's own type saves a stat per file; file
// systems that do not report it get the stat.
bool IsRegularFile(const std::string& folder, const dirent& entry)
{
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_REG;
    struct stat status = {};
    const std::string path = folder + '/' + entry.d_name;
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The names of the regular files of a folder that could be records, sorted.
std::vector<std::string> CandidateNames(const std::string& folder)
{
    std::vector<std::string> names;
    const std::unique_ptr<DIR, SDirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!IsHiddenOrTemporary(entry->d_name) && IsRegularFile(folder, *entry))
            names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Another open description of the file holds a lock on it.
bool IsLockedElsewhere(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false; // unlink will tell what is wrong
    bool locked = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        locked = true;
    } else {
        struct flock query = {};
        query.l_type = F_WRLCK;
        query.l_whence = SEEK_SET;
        // Open-file-description locks conflict with classic POSIX locks of any process.
        locked = ::fcntl(fd, F_OFD_GETLK, &query) == 0 && query.l_type != F_UNLCK;
    }
    ::close(fd); // also releases the flock taken above
    return locked;
}

// The information as the tagger reads it; false when the tagger rejects the file.
// The header bytes answer for nearly every file without setting up a decoder.
bool ReadInfo(const std::string& path, CTagger& tagger, std::string& info)
{
    CHeaderInfoReader::SResult quick = CHeaderInfoReader::Read(path);
    switch (quick.verdict) {
    case CHeaderInfoReader::EVerdict::Information:
        info = std::move(quick.info);
        return true;
    case CHeaderInfoReader::EVerdict::NotARecord:
        return false;
    case CHeaderInfoReader::EVerdict::Undecided:
        break;
    }
    try {
        info = tagger.ReadRecordInfo(path);
        return true;
    } catch (const CAudioError&) {
        return false; // not a file of a known record format, or a broken one
    }
}

// The device of the nearest existing folder on the way to `path`: a trash folder that does
// not exist yet is made on the volume of its parent.
std::optional<dev_t> DeviceOf(QString path)
{
    while (!path.isEmpty()) {
        struct stat status = {};
        if (::stat(QFile::encodeName(path).constData(), &status) == 0)
            return status.st_dev;
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return std::nullopt;
}

bool IsUsableDir(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink() && info.isWritable();
}

QString HomeTrash()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Trash");
}

// True when `inTrash` lies in the "files" folder of the home trash or of a volume's trash.
bool IsInTrash(const QString& inTrash, const QString& homeTrash, const QString& top)
{
    const QString uid = QString::number(::getuid());
    const QString folder = QFileInfo(inTrash).absolutePath();
    const QString root = top.endsWith(u'/') ? top : top + u'/';
    for (const QString& trash : {homeTrash, root + QStringLiteral(".Trash/") + uid,
                                 root + QStringLiteral(".Trash-") + uid}) {
        if (folder == QDir::cleanPath(trash + QStringLiteral("/files")))
            return true;
    }
    return false;
}

// A volume's own trash for this user: "$top/.Trash/<uid>" when the administrator made
// "$top/.Trash" (a sticky folder, not a link), else "$top/.Trash-<uid>", made on first use.
bool VolumeHasTrash(const QString& top)
{
    const QString uid = QString::number(::getuid());
    const QString shared = top + QStringLiteral("/.Trash");
    struct stat status = {};
    if (::lstat(QFile::encodeName(shared).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
        (status.st_mode & S_ISVTX) != 0) {
        const QString own = shared + u'/' + uid;
        if (IsUsableDir(own) || (!QFileInfo::exists(own) && QFileInfo(shared).isWritable()))
            return true;
    }
    const QString own = top + QStringLiteral("/.Trash-") + uid;
    if (QFileInfo::exists(own))
        return IsUsableDir(own);
    return QFileInfo(top).isWritable();
}

// A move to the trash reaches the disk only with both folders, and the note the trash keeps
// of where the file came from with its own sync. The record is in the trash either way; a
// disk that fails here fails the next write as well.
void SyncTrashMove(const std::string& from, const QString& inTrash)
{
    const QFileInfo moved(inTrash);
    const QString info = moved.absoluteDir().absoluteFilePath(
        QStringLiteral("../info/") + moved.fileName() + QStringLiteral(".trashinfo"));
    DiskSync::SyncFile(QFile::encodeName(info).toStdString());
    DiskSync::SyncFolderOf(QFile::encodeName(info).toStdString());
    DiskSync::SyncFolderOf(QFile::encodeName(inTrash).toStdString());
    DiskSync::SyncFolderOf(from);
}

} // namespace

void ScanRecordFolder(const QString& folder, CTagger& tagger, RecordList& list)
{
    std::string folderPath = QFile::encodeName(folder).toStdString();
    while (folderPath.size() > 1 && folderPath.back() == '/')
        folderPath.pop_back();
    for (const std::string& name : CandidateNames(folderPath)) {
        const std::string path = folderPath + '/' + name;
        std::string info;
        if (!ReadInfo(path, tagger, info) || !RecordInfo::HasMarker(QByteArrayView(
                                                 info.data(), static_cast<qsizetype>(info.size()))))
            continue;
        RecordEntry entry;
        entry.path = QFile::decodeName(QByteArray::fromStdString(path));
        entry.fileName = QFile::decodeName(QByteArray::fromStdString(name));
        entry.infoLength = static_cast<std::uint32_t>(info.size());
        entry.info = QByteArray(info.data(), static_cast<qsizetype>(info.size()));
        list.push_back(std::move(entry));
    }
}

RecordList BuildRecordList(const QStringList& folders, CTagger& tagger)
{
    RecordList list;
    std::set<fs::path> scanned;
    for (const QString& folder : folders) {
        std::error_code error;
        const fs::path path(QFile::encodeName(folder).toStdString());
        const fs::path canonical = fs::weakly_canonical(path, error);
        if (!scanned.insert(error ? path.lexically_normal() : canonical).second)
            continue;
        ScanRecordFolder(folder, tagger, list);
    }
    return list;
}

void FreeRecordList(RecordList& list)
{
    list.clear();
    list.shrink_to_fit();
}

EDeleteResult DeleteRecord(const QString& path)
{
    const std::string nativePath = QFile::encodeName(path).toStdString();
    if (IsLockedElsewhere(nativePath))
        return EDeleteResult::InUse;
    if (::unlink(nativePath.c_str()) == 0) {
        // Gone for good only once the folder is synced; as for the trash, a failure here is
        // not the delete failing.
        DiskSync::SyncFolderOf(nativePath);
        return EDeleteResult::Deleted;
    }
    return errno == EBUSY || errno == ETXTBSY ? EDeleteResult::InUse : EDeleteResult::Failed;
}

EDisposal DeleteDisposal(const QString& path)
{
    // The same choice QFile::moveToTrash makes: a file off the home's volume goes to its own
    // volume's trash when it has one, else to the home trash, which only a file on the same
    // device as that trash can be moved into.
    const QStorageInfo volume(path);
    if (!volume.isValid())
        return EDisposal::Permanent;
    if (volume != QStorageInfo(QDir::home()) && VolumeHasTrash(volume.rootPath()))
        return EDisposal::Trash;
    const std::optional<dev_t> trashDevice = DeviceOf(HomeTrash());
    const std::optional<dev_t> fileDevice = DeviceOf(path);
    return trashDevice && fileDevice && *trashDevice == *fileDevice ? EDisposal::Trash
                                                                    : EDisposal::Permanent;
}

EDeleteResult TrashRecord(const QString& path)
{
    const std::string nativePath = QFile::encodeName(path).toStdString();
    if (IsLockedElsewhere(nativePath))
        return EDeleteResult::InUse;
    // QFile::moveToTrash makes only the last folder of the home trash; when it cannot, it
    // "trashes" into the working directory instead. Making the whole path first and checking
    // where the file went keep a record from ending up anywhere but a trash.
    const QString homeTrash = HomeTrash();
    if (!QDir().mkpath(homeTrash))
        return EDeleteResult::Failed;
    QString inTrash;
    if (!QFile::moveToTrash(path, &inTrash))
        return EDeleteResult::Failed;
    if (IsInTrash(inTrash, homeTrash, QStorageInfo(inTrash).rootPath())) {
        SyncTrashMove(nativePath, inTrash);
        return EDeleteResult::Deleted;
    }
    // Put it back where it was; the user saw a failure, not a loss.
    ::rename(QFile::encodeName(inTrash).constData(), nativePath.c_str());
    return EDeleteResult::Failed;
}

EDeleteResult DisposeRecord(const QString& path, EDisposal disposal)
{
    return disposal == EDisposal::Trash ? TrashRecord(path) : DeleteRecord(path);
}

QString DeleteRecordMessage(EDeleteResult result)
{
    switch (result) {
    case EDeleteResult::Deleted:
        return {};
    case EDeleteResult::InUse:
        return QCoreApplication::translate(
            "CRecordCatalogue",
            "Can't delete this record because it is used by other application.");
    case EDeleteResult::Failed:
        break;
    }
    return QCoreApplication::translate("CRecordCatalogue",
                                       "Can't delete this record because of an unknown reason.");
}

int SelectionAfterDelete(int count, int deleted)
{
    if (deleted < 0 || deleted >= count || count == 1)
        return -1;
    return deleted < count - 1 ? deleted : deleted - 1;
}
