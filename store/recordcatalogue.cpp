#include "store/recordcatalogue.h"

#include "audio/audioerror.h"
#include "audio/tagger.h"
#include "store/headerinforeader.h"
#include "store/recordinfo.h"

#include <QFile>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
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
    if (::unlink(nativePath.c_str()) == 0)
        return EDeleteResult::Deleted;
    return errno == EBUSY || errno == ETXTBSY ? EDeleteResult::InUse : EDeleteResult::Failed;
}

QString DeleteRecordMessage(EDeleteResult result)
{
    switch (result) {
    case EDeleteResult::Deleted:
        return {};
    case EDeleteResult::InUse:
        return QStringLiteral("Can't delete this record because it is used by other application.");
    case EDeleteResult::Failed:
        break;
    }
    return QStringLiteral("Can't delete this record because of an unknown reason.");
}

int SelectionAfterDelete(int count, int deleted)
{
    if (deleted < 0 || deleted >= count || count == 1)
        return -1;
    return deleted < count - 1 ? deleted : deleted - 1;
}
