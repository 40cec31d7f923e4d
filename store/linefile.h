#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Whole-file line access for the small catalogue files. Lines end with a line feed; every
// carriage return before it is dropped; a last line without a line feed still counts. Each line is
// decoded on its own (UTF-8, else Windows-1252) and written as UTF-8.
namespace LineFile {

// The file's bytes as they are; std::nullopt when the file cannot be opened or read, or is
// not a regular file (a FIFO is never opened for reading in a way that could block).
std::optional<QByteArray> ReadBytes(const QString& path);

// Whether a replaced file must survive a power cut, or only be whole or absent after one (a
// cache, which is made again).
enum class EDurability
{
    Synced,
    Unsynced,
};

// Replaces the file with `bytes` through a temporary file renamed over it (see Replace).
bool ReplaceBytes(const QString& path, const QByteArray& bytes,
                  EDurability durability = EDurability::Synced);

// Where a write of `path` goes: the path itself, or for a symbolic link its target when that
// lies in the link's own folder or below it; nullopt for a link that leads out of it (a
// catalogue in the home never rewrites a file elsewhere).
std::optional<QString> WriteTarget(const QString& path);

// The file's lines; std::nullopt when the file cannot be opened or read. An empty file gives
// an empty list.
std::optional<QStringList> Read(const QString& path);

// Replaces the file with `lines`, each followed by a line feed. The text goes to a temporary
// file in the same folder, every write, the sync and the close checked, that is then renamed
// over the old one, and the folder is synced, so that a crash, a power cut or a full disk
// leaves the old file or the new one whole. False when anything failed (also for a link out
// of the folder, see WriteTarget, or something other than a regular file in its place); the
// old file is then untouched, except when only the folder's sync failed: the new file is then
// in place but may not survive a power cut. Temporary files that killed writers left behind
// (".<name>.XXXXXX", which a live writer holds locked) are removed first.
bool Replace(const QString& path, const QStringList& lines);

// Appends `line` and a line feed, creating the file when missing, by rewriting it whole as
// Replace does. When the file's last line lacks its line feed, one is written first so that
// the two lines stay apart. False when the file exists but cannot be read, or cannot be
// written; it is then untouched.
bool Append(const QString& path, const QString& line);

} // namespace LineFile
