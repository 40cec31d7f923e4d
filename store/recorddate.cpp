#include "store/recorddate.h"

#include <QFileInfo>

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

QDateTime Modified(const QString& path)
{
    // The modification time, not the status-change or birth time: every rewrite of the
    // information keeps it, while a copy or a re-tag would move the others to today.
    const QDateTime modified = QFileInfo(path).lastModified();
    return modified.isValid() ? modified.toLocalTime() : QDateTime();
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
    return Modified(path);
}

QDateTime OfRecord(const QString& path, const QTimeZone& zone)
{
    if (!zone.isValid()) // a TZ the zone database does not know: the C library's local time
        return OfRecord(path);
    if (const std::optional<QDateTime> named = FromFileName(FileNameOf(path), zone))
        return *named;
    return Modified(path);
}

} // namespace RecordDate
