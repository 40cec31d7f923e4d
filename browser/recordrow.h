#pragma once

#include <QLocale>
#include <QString>

struct SBrowsedRecord;

// What a row of a record list says about a memo: its name as the user titled it (the file
// name without its extension), when it was recorded, how long it is, and the task, contacts
// and tags it carries, as one line the row elides.
struct SRecordRow
{
    QString name;
    // The locale's short date and time; empty when the date is unknown.
    QString recorded;
    // As the playback bar shows a record's length; empty when the length is unknown.
    QString length;
    QString details;
};

namespace RecordRow {

SRecordRow Of(const SBrowsedRecord& record, const QLocale& locale = QLocale());

} // namespace RecordRow
