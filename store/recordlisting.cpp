#include "store/recordlisting.h"

#include "store/nativepath.h"

#include <QFile>
#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <set>
#include <string_view>
#include <sys/stat.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool IsHiddenOrTemporary(std::string_view name)
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

} // namespace

CRecordListing::CRecordListing(const QStringList& folders, EStatus status, EOrder order,
                               std::size_t expected)
{
    m_files.reserve(expected);
    std::set<fs::path> seen;
    for (const QString& folder : folders) {
        std::string native = QFile::encodeName(folder).toStdString();
        while (native.size() > 1 && native.back() == '/')
            native.pop_back();
        const fs::path path(native);
        std::error_code error;
        const fs::path canonical = fs::weakly_canonical(path, error);
        if (!seen.insert(error ? path.lexically_normal() : canonical).second)
            continue;
        std::unique_ptr<DIR, SDirCloser> dir(::opendir(native.c_str()));
        if (!dir)
            continue;
        m_folders.push_back({path, std::move(dir)});
        List(m_folders.size() - 1, status, order);
    }
}

void CRecordListing::List(std::size_t index, EStatus status, EOrder order)
{
    DIR* dir = m_folders[index].dir.get();
    const int folderFd = ::dirfd(dir);
    const std::size_t first = m_files.size();
    while (const dirent* entry = ::readdir(dir)) {
        if (IsHiddenOrTemporary(entry->d_name))
            continue;
        SFile file{index, entry->d_name, std::nullopt};
        if (status == EStatus::Taken) {
            struct statx info
            {
            };
            if (::statx(folderFd, entry->d_name, AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
                        SFileStamp::kStatxMask, &info) != 0 ||
                !S_ISREG(info.stx_mode))
                continue;
            file.stamp = SFileStamp::Of(info);
        } else if (entry->d_type == DT_UNKNOWN) {
            // File systems that do not report the type get a status call.
            struct stat info
            {
            };
            if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
                !S_ISREG(info.st_mode))
                continue;
        } else if (entry->d_type != DT_REG) {
            continue;
        }
        m_files.push_back(std::move(file));
    }
    if (order == EOrder::ByName)
        std::sort(m_files.begin() + static_cast<std::ptrdiff_t>(first), m_files.end(),
                  [](const SFile& a, const SFile& b) { return a.name < b.name; });
}

std::string CRecordListing::PathOf(const SFile& file) const
{
    std::string path;
    PathTextOf(file, path);
    return path;
}

void CRecordListing::PathTextOf(const SFile& file, std::string& path) const
{
    const std::string& folder = m_folders[file.folder].path.native();
    path.clear();
    path.reserve(folder.size() + 1 + file.name.size());
    path += folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += file.name;
}

std::optional<RecordEntry> CRecordListing::Read(const SFile& file, RecordReader::EDetail detail,
                                                const RecordReader::DecoderOpener& decoders,
                                                const QString& fileName,
                                                CLengthCache* lengths) const
{
    return RecordReader::Read(::dirfd(m_folders[file.folder].dir.get()), file.name.c_str(),
                              PathOf(file),
                              fileName.isEmpty() ? NativePath::DisplayName(file.name) : fileName,
                              detail, decoders, lengths);
}
