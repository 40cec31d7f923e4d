#pragma once

#include "store/filestamp.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

class CTagger;

// One stored record: a file whose embedded information starts with the record marker.
struct RecordEntry
{
    // The folder, a slash, the file name, as the file system spells them (see NativePath). Kept
    // as bytes: a std::filesystem::path splits itself into parts, a cost every record listed
    // would pay for nothing.
    std::string path;
    QString fileName;             // the file name as the lists show it
    std::uint32_t infoLength = 0; // bytes of information read (1024 for our records)
    QByteArray info;              // the information block as read, up to its first zero byte
    // The file's status and its audio's length in samples, as the pass that read the record
    // took them (RecordReader); absent where it was not asked for them.
    std::optional<SFileStamp> stamp = std::nullopt;
    std::optional<std::uint64_t> samples = std::nullopt;
};

// The record list owns its entries; pointers to them stay valid until the list is
// rebuilt, cleared or destroyed.
using RecordList = std::vector<RecordEntry>;

// Appends the records of one folder (CRecordListing), ordered by file name, each read in one
// pass with its status and length (RecordReader). A file is a record when the information
// read from it starts with the marker; a file the engine rejects (not a known format, a broken
// header) is not a record. A missing or unreadable folder appends nothing.
void ScanRecordFolder(const QString& folder, CTagger& tagger, RecordList& list);

// The records of every folder in the order given, each folder ordered as above. A folder
// named twice (the same folder by another path included) is scanned once.
RecordList BuildRecordList(const QStringList& folders, CTagger& tagger);

// Releases every entry.
void FreeRecordList(RecordList& list);

// Where `file` really is, every link followed, when that lies directly in one of `folders`
// (the record folders): rename, delete and the information edits reach only records there,
// so that a mistyped path or a link out of the folders never costs the user an unrelated file.
// std::nullopt otherwise, and for a file that does not exist.
std::optional<std::filesystem::path> ResolveInRecordFolders(const std::filesystem::path& file,
                                                            const QStringList& folders);

enum class EDeleteResult
{
    Deleted,
    InUse,  // "Can't delete this record because it is used by other application."
    Failed, // "Can't delete this record because of an unknown reason."
};

// Deletes a record's file, under the record's lock (CRecordLock). Linux lets an open file be
// deleted, so "in use" means what can be observed: a recording, another program's lock
// (flock, POSIX or open-file-description lock) that lasts past the lock's wait, or the system
// refusing with EBUSY or ETXTBSY. Permission errors (EACCES, EPERM), a missing file, a link or
// anything but a regular file, and everything else are "unknown reason": they are not about
// another program using the record. On failure the file is left as it was.
EDeleteResult DeleteRecord(const std::filesystem::path& path);

// The message for a failed delete; empty for EDeleteResult::Deleted.
QString DeleteRecordMessage(EDeleteResult result);

// What deleting a record does to its file.
enum class EDisposal
{
    Trash,     // moved to the desktop's trash, from which the file manager can restore it
    Permanent, // removed for good
};

// What a delete of the record at `path` will do, so that the question can say so: Trash when
// the record's volume has a trash the file can be moved into (Trash::FolderFor), Permanent
// otherwise.
EDisposal DeleteDisposal(const std::filesystem::path& path);

// Moves a record to the trash (Trash::Move), with DeleteRecord's lock and "in use" answer. A
// move the trash refuses is Failed and leaves the file where it was: it is never deleted for
// good instead.
EDeleteResult TrashRecord(const std::filesystem::path& path);

// TrashRecord for EDisposal::Trash, DeleteRecord for EDisposal::Permanent.
EDeleteResult DisposeRecord(const std::filesystem::path& path, EDisposal disposal);

// Which item to select once item `deleted` of `count` items has been removed, as an index
// into the shortened list: the item after the deleted one (which moves into its place),
// or the one before it when the last item was deleted; -1 when no item is left or the
// index was outside the list (then nothing was deleted).
int SelectionAfterDelete(int count, int deleted);
