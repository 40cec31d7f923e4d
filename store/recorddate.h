#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QTimeZone>
#include <optional>

// When a record was recorded. A record's own name (MMDDYYYY_HHMMSS, or MMDDYYYY_HHMMSS_N for a
// second record of the same second) says it in local time and survives copying and re-tagging;
// only a record renamed to something else falls back to its file's modification time.
namespace RecordDate {

// What a record name says, as written: the local calendar date, the wall-clock time and the
// variant (1 for the plain name).
struct SNameStamp
{
    QDate date;
    QTime time;
    int variant = 1;
};

// The stamp of a record name (see FromFileName); std::nullopt for any other name. Pure.
std::optional<SNameStamp> StampOfFileName(const QString& fileName);

// The local moment a record name encodes: the part before the last "." (or the whole name when
// it has none) must be MMDDYYYY_HHMMSS, optionally followed by "_" and a variant number, and
// name a real calendar date and time. std::nullopt for any other name. Pure.
std::optional<QDateTime> FromFileName(const QString& fileName);

// The variant number of a record name: 1 for MMDDYYYY_HHMMSS, N for MMDDYYYY_HHMMSS_N; 0 when
// the name is not a record name. Pure.
int VariantOfFileName(const QString& fileName);

// The same in `zone`, which should be the system's zone (QTimeZone::systemTimeZone()): a
// moment made in a zone object costs no look-up of the system's zone file, so a model that
// dates thousands of records takes the zone once.
std::optional<QDateTime> FromFileName(const QString& fileName, const QTimeZone& zone);

// The moment of the record at `path`: FromFileName of its file name when that answers, else
// the file's modification time in local time; an invalid QDateTime when neither is known
// (the file is gone).
QDateTime OfRecord(const QString& path);
// The same with the moment from the name made in `zone` (see FromFileName).
QDateTime OfRecord(const QString& path, const QTimeZone& zone);

} // namespace RecordDate
