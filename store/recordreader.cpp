#include "store/recordreader.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/recordlength.h"
#include "store/headerinforeader.h"
#include "store/lengthcache.h"
#include "store/nativepath.h"
#include "store/recorddate.h"
#include "store/recordinfo.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace RecordReader {
namespace {

class CFd
{
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// The next bytes of the file, as many as there are up to `size`; -1 when the read fails. One
// read: a regular file gives fewer bytes than asked for only at its end.
long ReadHead(int fd, unsigned char* bytes, std::size_t size)
{
    ssize_t got;
    do {
        got = ::read(fd, bytes, size);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

// The status of a regular file; nullopt for anything else.
std::optional<SFileStamp> StatusOf(int fd)
{
    struct statx status
    {
    };
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, SFileStamp::kStatxMask, &status) !=
            0 ||
        !S_ISREG(status.stx_mode))
        return std::nullopt;
    return SFileStamp::Of(status);
}

// What the pass made of the file's header.
struct SHead
{
    std::string info;
    std::optional<RecordLength::SLayout> layout; // where the quick reader found the audio
    // An undecided header's decoder, which then measures the file.
    std::unique_ptr<CBaseDecoder> decoder;
};

std::optional<SHead> ReadHeader(int fd, std::string_view name, const std::string& path,
                                const DecoderOpener& decoders)
{
    // The bytes a record made here needs, then the rest only for a longer header: copying
    // bytes out of the page cache is a good part of what a record costs.
    unsigned char bytes[CHeaderInfoReader::kReadBytes];
    const long got = ReadHead(fd, bytes, CHeaderInfoReader::kEngineBytes);
    if (got < 0)
        return std::nullopt;
    auto size = static_cast<std::size_t>(got);
    CHeaderInfoReader::SResult header =
        CHeaderInfoReader::Decide(name, bytes, size, size < CHeaderInfoReader::kEngineBytes);
    if (header.verdict == CHeaderInfoReader::EVerdict::Undecided &&
        size == CHeaderInfoReader::kEngineBytes) {
        const long more = ReadHead(fd, bytes + size, sizeof bytes - size);
        if (more < 0)
            return std::nullopt;
        size += static_cast<std::size_t>(more);
        header = CHeaderInfoReader::Decide(name, bytes, size, size < sizeof bytes);
    }
    switch (header.verdict) {
    case CHeaderInfoReader::EVerdict::Information:
        return SHead{std::move(header.info), header.layout, nullptr};
    case CHeaderInfoReader::EVerdict::NotARecord:
        return std::nullopt;
    case CHeaderInfoReader::EVerdict::Undecided:
        break;
    }
    if (!decoders)
        return std::nullopt;
    try {
        SHead head{{}, std::nullopt, decoders(path)};
        head.info = head.decoder->GetInfo();
        return head;
    } catch (const CAudioError&) {
        return std::nullopt; // not a file of a known record format, or a broken one
    }
}

std::optional<std::uint64_t> LengthOf(SHead& head, int fd, std::uint64_t fileSize)
{
    if (head.layout)
        return RecordLength::Samples(*head.layout, fd, fileSize);
    return head.decoder->GetLength();
}

bool IsOgg(const SHead& head)
{
    return head.layout && head.layout->codec == RecordLength::ECodec::Ogg;
}

// The length of a file as its status describes it, from `lengths` when they know it.
std::optional<std::uint64_t> LengthOf(SHead& head, int fd, const SFileStamp& stamp,
                                      const std::string& path, CLengthCache* lengths)
{
    if (!lengths || !IsOgg(head))
        return LengthOf(head, fd, stamp.size);
    if (const std::optional<std::uint64_t> known = lengths->Find(path, stamp))
        return known;
    const std::optional<std::uint64_t> samples = LengthOf(head, fd, stamp.size);
    if (samples)
        lengths->Remember(path, stamp, *samples);
    return samples;
}

} // namespace

DecoderOpener DecodersOf(const CAudioManager& audio)
{
    return [&audio](const std::string& path) {
        return audio.OpenDecoder(path);
    };
}

std::optional<RecordEntry> Read(int folderFd, const char* name, std::string path, QString fileName,
                                EDetail detail, const DecoderOpener& decoders,
                                CLengthCache* lengths)
{
    const CFd file(::openat(folderFd, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
    if (file.Get() < 0)
        return std::nullopt;
    std::optional<SHead> head = ReadHeader(file.Get(), name, path, decoders);
    if (!head || !RecordInfo::HasMarker(
                     QByteArrayView(head->info.data(), static_cast<qsizetype>(head->info.size()))))
        return std::nullopt;
    // The text ends at the first zero byte; the zeros that pad the area are not kept.
    const std::size_t text = std::min(head->info.find('\0'), head->info.size());
    RecordEntry entry{std::move(path), std::move(fileName),
                      static_cast<std::uint32_t>(head->info.size()),
                      QByteArray(head->info.data(), static_cast<qsizetype>(text))};
    if (detail == EDetail::Info)
        return entry;
    if (detail == EDetail::Length && !(lengths && IsOgg(*head))) {
        // The end of the file is its size: a cheaper call than the status.
        const off_t size = ::lseek(file.Get(), 0, SEEK_END);
        if (size < 0)
            return std::nullopt;
        entry.samples = LengthOf(*head, file.Get(), static_cast<std::uint64_t>(size));
        return entry;
    }
    const std::optional<SFileStamp> stamp = StatusOf(file.Get());
    if (!stamp)
        return std::nullopt;
    if (detail != EDetail::Dated || RecordDate::NeedsLength(*stamp))
        entry.samples = LengthOf(*head, file.Get(), *stamp, entry.path, lengths);
    // A record named by its date keeps no status, as without `lengths`.
    if (detail != EDetail::Length)
        entry.stamp = stamp;
    return entry;
}

std::optional<RecordEntry> Read(const std::filesystem::path& path, EDetail detail,
                                const DecoderOpener& decoders)
{
    return Read(AT_FDCWD, path.c_str(), path.native(), NativePath::DisplayName(path), detail,
                decoders);
}

std::optional<SMeasure> Measure(const std::filesystem::path& path)
{
    const CFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0)
        return std::nullopt;
    const std::optional<SFileStamp> stamp = StatusOf(file.Get());
    if (!stamp)
        return std::nullopt;
    SMeasure measure{*stamp, std::nullopt};
    if (!RecordDate::NeedsLength(*stamp))
        return measure;
    if (std::optional<SHead> head = ReadHeader(file.Get(), path.native(), path.native(), nullptr))
        measure.samples = LengthOf(*head, file.Get(), stamp->size);
    return measure;
}

} // namespace RecordReader
