#include "store/recorddate.h"

#include "audio/audiomanager.h"
#include "store/filestamp.h"
#include "store/nativepath.h"
#include "store/recordreader.h"
#include "store/zoneclock.h"

#include <cmath>

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

std::optional<QDateTime> FromFileName(const QString& fileName, const CZoneClock& clock)
{
    const std::optional<SNameStamp> stamp = StampOfFileName(fileName);
    if (!stamp)
        return std::nullopt;
    return clock.At(stamp->date, stamp->time);
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

std::int64_t Milliseconds(std::int64_t nanoseconds)
{
    return nanoseconds >= 0 ? nanoseconds / 1000000 : -((-nanoseconds + 999999) / 1000000);
}

QDateTime MomentOf(std::int64_t nanoseconds, const QTimeZone& zone)
{
    const qint64 ms = Milliseconds(nanoseconds);
    return zone.isValid() ? QDateTime::fromMSecsSinceEpoch(ms, zone)
                          : QDateTime::fromMSecsSinceEpoch(ms).toLocalTime();
}

} // namespace

bool NeedsLength(const SFileStamp& stamp)
{
    return !stamp.bornNs || Milliseconds(*stamp.bornNs) <= 0 ||
           Milliseconds(*stamp.bornNs) > Milliseconds(stamp.modifiedNs);
}

QDateTime FromStamp(const SFileStamp& stamp, std::optional<std::uint64_t> samples,
                    const QTimeZone& zone)
{
    std::optional<QDateTime> born;
    if (stamp.bornNs)
        born = MomentOf(*stamp.bornNs, zone);
    std::optional<double> seconds;
    if (samples)
        seconds = static_cast<double>(*samples) / CAudioManager::kSampleRate;
    return FromFileTimes(born, MomentOf(stamp.modifiedNs, zone), seconds);
}

QDateTime Of(const QString& fileName, const std::optional<SFileStamp>& stamp,
             std::optional<std::uint64_t> samples, const CZoneClock& clock)
{
    // A TZ the zone database does not know: the clock keeps the C library's local time.
    if (const std::optional<QDateTime> named = FromFileName(fileName, clock))
        return *named;
    return stamp ? FromStamp(*stamp, samples, clock.Zone()) : QDateTime();
}

QDateTime OfRecord(const std::filesystem::path& path)
{
    return OfRecord(path, QTimeZone());
}

QDateTime OfRecord(const std::filesystem::path& path, const QTimeZone& zone)
{
    const QString name = NativePath::DisplayName(path);
    if (const std::optional<QDateTime> named = FromFileName(name, CZoneClock(zone)))
        return *named;
    const std::optional<RecordReader::SMeasure> measure = RecordReader::Measure(path);
    return measure ? FromStamp(measure->stamp, measure->samples, zone) : QDateTime();
}

} // namespace RecordDate
