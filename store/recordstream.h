#pragma once

#include "store/recordbrowser.h"

#include <QStringList>
#include <functional>

class CLengthCache;

// The records of the record folders handed over one at a time, in the order the browser lists
// them and narrowed by a query as the browser narrows them, with memory that stays flat however
// many records there are: the folders are listed and the names ordered first (RecordOrder needs
// nothing but the name), then the files are read in that order, each in one pass
// (RecordReader), a few hundred at a time, through a browsing model of their own when the query
// asks about the records' texts.
namespace RecordStream {

enum class ELength
{
    WhereTheDateNeedsIt, // a record named by its date is opened, read once and closed
    Always,              // every record's length (SBrowsedRecord::samples); the status only
                         // where the date needs it
};

// Calls `take` with each record `query` lets through. `decoders` read headers the quick reader
// leaves undecided; `lengths`, when given, knows and learns Speex memos' lengths.
void Each(const QStringList& folders, const SRecordQuery& query, ELength length,
          const RecordReader::DecoderOpener& decoders,
          const std::function<void(const SBrowsedRecord&)>& take, CLengthCache* lengths = nullptr);

} // namespace RecordStream
