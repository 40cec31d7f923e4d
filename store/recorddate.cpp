#include "store/recorddate.h"

#include "audio/wavheader.h"
#include "platform/scopeexit.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <ogg/ogg.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RecordDate {
namespace {

constexpr qsizetype kStampLength = 15; // MMDDYYYY_HHMMSS

bool AllDigits(QStringView text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return !text.isEmpty();
}

int Number(QStringView digits)
{
    int value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

// The name without its extension: everything before the last ".".
QStringView Stem(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QStringView(fileName) : QStringView(fileName).left(dot);
}

} // namespace

std::optional<SNameStamp> StampOfFileName(const QString& fileName)
{
    const QStringView stem = Stem(fileName);
    if (stem.size() < kStampLength || stem[8] != u'_' || !AllDigits(stem.left(8)) ||
        !AllDigits(stem.mid(9, 6)))
        return std::nullopt;
    int variant = 1;
    if (stem.size() > kStampLength) {
        const QStringView tail = stem.mid(kStampLength + 1);
        // A variant is at least 2 and has no leading zero, as new records are named.
        if (stem[kStampLength] != u'_' || !AllDigits(tail) || tail.size() > 5 ||
            tail.front() == u'0')
            return std::nullopt;
        variant = Number(tail);
        if (variant < 2)
            return std::nullopt;
    }
    const QDate date(Number(stem.mid(4, 4)), Number(stem.mid(0, 2)), Number(stem.mid(2, 2)));
    const QTime time(Number(stem.mid(9, 2)), Number(stem.mid(11, 2)), Number(stem.mid(13, 2)));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return SNameStamp{date, time, variant};
}

std::optional<QDateTime> FromFileName(const QString& fileName)
{
    const std::optional<SNameStamp> stamp = StampOfFileName(fileName);
    if (!stamp)
        return std::nullopt;
    return QDateTime(stamp->date, stamp->time);
}

std::optional<QDateTime> FromFileName(const QString& fileName, const QTimeZone& zone)
{
    const std::optional<SNameStamp> stamp = StampOfFileName(fileName);
    if (!stamp)
        return std::nullopt;
    return QDateTime(stamp->date, stamp->time, zone);
}

int VariantOfFileName(const QString& fileName)
{
    const std::optional<SNameStamp> stamp = StampOfFileName(fileName);
    return stamp ? stamp->variant : 0;
}

namespace {

QDateTime WholeSeconds(const QDateTime& moment)
{
    return moment.addMSecs(-((moment.toMSecsSinceEpoch() % 1000 + 1000) % 1000));
}

bool IsBirthOf(const std::optional<QDateTime>& born, const QDateTime& modified)
{
    return born && born->isValid() && born->toMSecsSinceEpoch() > 0 && *born <= modified;
}

} // namespace

QDateTime FromFileTimes(const std::optional<QDateTime>& born, const QDateTime& modified,
                        std::optional<double> seconds)
{
    if (IsBirthOf(born, modified))
        return WholeSeconds(*born);
    if (seconds && *seconds > 0)
        return WholeSeconds(modified.addMSecs(-std::llround(*seconds * 1000)));
    return WholeSeconds(modified);
}

namespace {

// Every record holds samples at this rate: the decoders assume it as well.
constexpr double kSampleRate = 8000;
constexpr std::size_t kInfoCapacity = 1024;
// The last page of a record made here holds one second of Speex; other streams may end
// with longer pages, which are then not measured.
constexpr std::int64_t kTailBytes = 16384;

struct SFileTimes
{
    std::optional<QDateTime> born;
    QDateTime modified;
};

QDateTime MomentOf(const struct statx_timestamp& time, const QTimeZone& zone)
{
    const qint64 ms = time.tv_sec * 1000 + time.tv_nsec / 1000000;
    return zone.isValid() ? QDateTime::fromMSecsSinceEpoch(ms, zone)
                          : QDateTime::fromMSecsSinceEpoch(ms).toLocalTime();
}

std::optional<SFileTimes> TimesOf(const QByteArray& path, const QTimeZone& zone)
{
    struct statx status
    {
    };
    if (::statx(AT_FDCWD, path.constData(), AT_STATX_SYNC_AS_STAT, STATX_MTIME | STATX_BTIME,
                &status) != 0 ||
        (status.stx_mask & STATX_MTIME) == 0)
        return std::nullopt;
    SFileTimes times{std::nullopt, MomentOf(status.stx_mtime, zone)};
    if ((status.stx_mask & STATX_BTIME) != 0)
        times.born = MomentOf(status.stx_btime, zone);
    return times;
}

std::size_t ReadAt(int fd, unsigned char* bytes, std::size_t size, std::int64_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, bytes + done, size - done, offset + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

// The granule position of the last page found in the file's last bytes.
std::optional<std::int64_t> LastGranule(int fd, std::int64_t size)
{
    const std::int64_t from = std::max<std::int64_t>(0, size - kTailBytes);
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(size - from));
    const std::size_t got = ReadAt(fd, reinterpret_cast<unsigned char*>(buffer),
                                   static_cast<std::size_t>(size - from), from);
    ogg_sync_wrote(&sync, static_cast<long>(got));
    std::optional<std::int64_t> granule;
    ogg_page page;
    for (int result; (result = ogg_sync_pageout(&sync, &page)) != 0;) {
        if (result == 1 && ogg_page_granulepos(&page) >= 0)
            granule = ogg_page_granulepos(&page);
    }
    ogg_sync_clear(&sync);
    return granule;
}

// The audio's length as the file's header (PCM) or its last page (Ogg) says it.
std::optional<double> LengthOf(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const CScopeExit closer([fd] { ::close(fd); });
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    unsigned char head[2048];
    const std::size_t got = ReadAt(fd, head, sizeof head, 0);
    if (got >= 4 && std::memcmp(head, "RIFF", 4) == 0) {
        const std::optional<WavHeader::SLayout> layout = WavHeader::Parse(head, got, kInfoCapacity);
        if (!layout)
            return std::nullopt;
        return static_cast<double>(
                   WavHeader::SamplesPresent(*layout, static_cast<std::uint64_t>(status.st_size))) /
               kSampleRate;
    }
    if (got >= 4 && std::memcmp(head, "OggS", 4) == 0) {
        if (const std::optional<std::int64_t> granule = LastGranule(fd, status.st_size))
            return static_cast<double>(*granule) / kSampleRate;
    }
    return std::nullopt;
}

QDateTime FromFile(const QString& path, const QTimeZone& zone)
{
    const QByteArray native = QFile::encodeName(path);
    const std::optional<SFileTimes> times = TimesOf(native, zone);
    if (!times)
        return {};
    // The length only matters when the birth does not answer.
    return FromFileTimes(times->born, times->modified,
                         IsBirthOf(times->born, times->modified) ? std::nullopt : LengthOf(native));
}

QString FileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace

QDateTime OfRecord(const QString& path)
{
    if (const std::optional<QDateTime> named = FromFileName(FileNameOf(path)))
        return *named;
    return FromFile(path, QTimeZone());
}

QDateTime OfRecord(const QString& path, const QTimeZone& zone)
{
    if (!zone.isValid()) // a TZ the zone database does not know: the C library's local time
        return OfRecord(path);
    if (const std::optional<QDateTime> named = FromFileName(FileNameOf(path), zone))
        return *named;
    return FromFile(path, zone);
}

} // namespace RecordDate
