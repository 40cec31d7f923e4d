#pragma once

#include <QString>
#include <filesystem>
#include <optional>

// Renaming a record: only the part of its file name between its folder and its extension
// changes. The record never leaves its folder, never takes a name the record catalogue would
// skip (hidden or temporary names), and never replaces another file, not even one that appears
// between the check and the move. A record being recorded or changed by another program is
// not renamed. Paths are the file system's bytes (see NativePath); new names are text.
namespace RecordRename {

// The longest new name the dialog accepts, in characters.
inline constexpr int kMaxNameLength = 35;

inline constexpr const char* kMsgEmpty = QT_TRANSLATE_NOOP("RecordRename", "Please, enter a name!");
inline constexpr const char* kMsgExists = QT_TRANSLATE_NOOP("RecordRename", "File already exists!");
inline constexpr const char* kMsgInUse = QT_TRANSLATE_NOOP(
    "RecordRename", "Can't rename this record because it is used by other application.");

enum class EStatus
{
    Renamed,
    Refused,       // the name is not acceptable; `message` says why
    Exists,        // a file of the new name exists: kMsgExists
    UnknownFormat, // the record is neither a WAV nor an Ogg record; its name is kept
    InUse,         // being recorded, or locked by another program (CRecordLock): kMsgInUse
    Failed,        // the system refused the move; `message` carries its reason
};

struct SResult
{
    EStatus status = EStatus::Failed;
    std::filesystem::path newPath; // the record's path after a rename; empty otherwise
    QString message;               // empty only for Renamed
};

// Why `name` cannot be a record's new name, as the message to show; std::nullopt when it can.
// Refused: empty ("Please, enter a name!"), longer than kMaxNameLength, "." or "..", holding
// "/" or "\" or a control character, beginning with ".", ending with "~" or ".tmp". Pure.
std::optional<QString> NameRefusal(const QString& name);

// The name the dialog starts with: the file name without its folder and without everything
// from its last "." on, as it is shown. Pure.
QString EditableName(const std::filesystem::path& path);

// The path a rename of the record at `path` to `name` gives: the record's own folder, the
// name, "." and `extension` ("wav" or "ogg"). Pure.
std::filesystem::path RenamedPath(const std::filesystem::path& path, const QString& name,
                                  const QString& extension);

// "wav" or "ogg" from the record file's signature (RIFF or OggS) together with its own
// extension, as the audio manager chooses a codec; empty when the file is neither, is not a
// regular file or cannot be read.
QString FormatExtension(const std::filesystem::path& path);

// Checks `name`, locks the record (CRecordLock), works out the new path and moves the record
// there without ever replacing an existing file (renameat2 with RENAME_NOREPLACE, or where the
// file system lacks it, a hard link followed by removing the old name). A new path equal to the
// old one is Exists. On any status but Renamed the file is exactly where and what it was.
SResult Rename(const std::filesystem::path& path, const QString& name);

// The move alone: from `from` to `to`, never replacing `to`. Exists when `to` exists; Failed
// with the system's reason otherwise.
SResult MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace RecordRename
