#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QTimeZone>
#include <cstdint>
#include <filesystem>
#include <optional>

class CZoneClock;

struct SFileStamp;

// When a record was recorded. A record's own name (MMDDYYYY_HHMMSS, or MMDDYYYY_HHMMSS_N for a
// second record of the same second) says it in local time and survives copying and re-tagging;
// a record renamed to something else is dated by its file's times (FromFileTimes).
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

// The same by `clock`, whose zone should be the system's (QTimeZone::systemTimeZone()): a
// moment made in a zone object costs no look-up of the system's zone file, and the clock keeps
// the zone's offset between transitions, so a model that dates thousands of records takes the
// zone once and asks its rules seldom.
std::optional<QDateTime> FromFileName(const QString& fileName, const CZoneClock& clock);

// When a record without a dated name was recorded, from its file's times and its audio's
// length in `seconds`, in whole seconds. Pure.
// - `born`, the file's birth where the file system keeps one, when it is not later than
//   `modified`: the file was made where it is when the recording started (the program never
//   records into an existing file), and a rename, a retag or a trip to the trash and back
//   keep its birth, even if something else changed the file later.
// - Otherwise `modified` less the length: a copy is born when it is made but keeps the
//   modification time, which is when the recording ended (every rewrite of the information
//   keeps it too).
// - `modified` itself when the length is unknown.
// A birth at or before 1970 is no birth: some file systems report zero.
QDateTime FromFileTimes(const std::optional<QDateTime>& born, const QDateTime& modified,
                        std::optional<double> seconds);

// Whether the date of a record whose name gives none needs its audio's length: its file has no
// birth that answers (FromFileTimes).
bool NeedsLength(const SFileStamp& stamp);

// FromFileTimes of a file's status and its audio's length in samples (8000 a second), in
// `zone` (the system's zone, see FromFileName; an invalid zone means the C library's local
// time).
QDateTime FromStamp(const SFileStamp& stamp, std::optional<std::uint64_t> samples,
                    const QTimeZone& zone);

// The moment of a record named `fileName`: FromFileName when its name answers, else FromStamp
// of what one pass over its file read (RecordReader); an invalid QDateTime when neither is
// known (the file is gone).
QDateTime Of(const QString& fileName, const std::optional<SFileStamp>& stamp,
             std::optional<std::uint64_t> samples, const CZoneClock& clock);

// The moment of the record at `path`, its name read as the lists show it. A dated name costs
// nothing; another one one pass over the file (its status, and only when the birth does not
// answer its length from the header or the last page, never decoded).
QDateTime OfRecord(const std::filesystem::path& path);
// The same with the moment from the name made in `zone` (see FromFileName).
QDateTime OfRecord(const std::filesystem::path& path, const QTimeZone& zone);

} // namespace RecordDate
