#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class CAudioManager;

// A change of a record file's information: its read, change and write run under the record's
// lock (CRecordLock), so that two programs changing one record at once never lose one of the
// changes, and no change ever reaches a record being recorded, whose stop would write its own
// information over it. The file is read and written as the locked file itself: a file put in
// its place meanwhile, or a link, is never written.
namespace RecordInfoFile {

enum class EStatus
{
    Written,
    InUse,   // being recorded, or another program kept the record past the wait: kMsgInUse
    Refused, // the change gave nothing to write; the caller knows why
    Failed,  // the file could not be read or written as a record; `message` says why
};

struct SResult
{
    EStatus status = EStatus::Failed;
    QString message; // empty for Written and Refused
};

inline constexpr const char* kMsgInUse = QT_TRANSLATE_NOOP(
    "RecordInfoFile", "Can't change this record because it is used by other application.");

// Gets the information area as the record holds it (empty when it has none) and gives the
// area to write, or std::nullopt to leave the file as it is.
using FChange = std::function<std::optional<QByteArray>(const std::string& area)>;

// Locks `record` (waiting at most CRecordLock::kWait), reads its information area, and writes
// what `change` makes of it, keeping the file's audio and times (CTagger). Nothing is written
// unless the status is Written.
SResult Update(CAudioManager& audio, const std::filesystem::path& record, const FChange& change);

} // namespace RecordInfoFile
