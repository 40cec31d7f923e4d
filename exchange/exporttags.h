#pragma once

#include <QDateTime>
#include <QString>

// The tags an exported memo carries, as pure functions: nothing here does I/O.
namespace ExportTags {

struct STags
{
    QString title;   // the memo's name
    QString date;    // when it was recorded
    QString comment; // its information, as lines a person reads
};

// The tags of a memo named `name`, recorded at the local moment `recorded`, holding the
// information block `block` (as RecordInfo::DecodeRecordInfo gives it):
// - date: ISO 8601 with the offset from UTC, "2024-03-05T10:11:12+01:00";
// - comment: "Recorded: 2024-03-05 10:11:12 +01:00", then "Task: ..." and "Contacts: ..."
//   (entries joined by ", ") and a line "Group: tag, tag" for each tag group, in the block's
//   order; lines with nothing to say are left out.
STags Compose(const QString& name, const QDateTime& recorded, const QString& block);

// The same tags as an MP3 file can hold them. libsndfile hands MP3 tags to the encoder's
// ID3 writer as Latin-1 and the date as the ID3 year: characters outside Latin-1 become "?"
// (rather than UTF-8 bytes read as Latin-1), and the date keeps its year; the full moment
// stays in the comment's first line. That line is always longer than an ID3v1 comment (30
// bytes), which makes the encoder write an ID3v2 tag, whose Latin-1 frames every reader
// decodes alike; an ID3v1-only tag is read as UTF-8 by some readers and Latin-1 by others.
STags ForMp3(const STags& tags);

} // namespace ExportTags
