#include "store/recordcatalogue.h"

#include "audio/audioerror.h"
#include "audio/tagger.h"
#include "platform/disksync.h"
#include "store/headerinforeader.h"
#include "store/nativepath.h"
#include "store/recordinfo.h"
#include "store/recordlock.h"
#include "store/trash.h"

#include <QCoreApplication>
#include <QFile>
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
        entry.path = path;
        entry.fileName = NativePath::DisplayName(name);
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

std::optional<fs::path> ResolveInRecordFolders(const fs::path& file, const QStringList& folders)
{
    std::error_code error;
    const fs::path real = fs::canonical(file, error);
    if (error)
        return std::nullopt;
    for (const QString& folder : folders) {
        const fs::path canonical = fs::canonical(NativePath::FromText(folder), error);
        if (!error && real.parent_path() == canonical)
            return real;
    }
    return std::nullopt;
}

EDeleteResult DeleteRecord(const fs::path& path)
{
    const CRecordLock lock(path);
    if (lock.State() == CRecordLock::EState::InUse)
        return EDeleteResult::InUse;
    if (!lock.Held())
        return EDeleteResult::Failed;
    if (::unlink(path.c_str()) == 0) {
        // Gone for good only once the folder is synced; as for the trash, a failure here is
        // not the delete failing.
        DiskSync::SyncFolderOf(path.native());
        return EDeleteResult::Deleted;
    }
    return errno == EBUSY || errno == ETXTBSY ? EDeleteResult::InUse : EDeleteResult::Failed;
}

EDisposal DeleteDisposal(const fs::path& path)
{
    return Trash::FolderFor(path) ? EDisposal::Trash : EDisposal::Permanent;
}

EDeleteResult TrashRecord(const fs::path& path)
{
    const CRecordLock lock(path);
    if (lock.State() == CRecordLock::EState::InUse)
        return EDeleteResult::InUse;
    if (!lock.Held())
        return EDeleteResult::Failed;
    return Trash::Move(path) ? EDeleteResult::Deleted : EDeleteResult::Failed;
}

EDeleteResult DisposeRecord(const fs::path& path, EDisposal disposal)
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
