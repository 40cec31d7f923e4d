#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Whole-file line access for the small catalogue files. Lines end with a line feed; a carriage
// return before it is dropped; a last line without a line feed still counts. Each line is
// decoded on its own (UTF-8, else Windows-1252) and written as UTF-8.
namespace LineFile {

// The file's bytes as they are; std::nullopt when the file cannot be opened or read.
std::optional<QByteArray> ReadBytes(const QString& path);

// Replaces the file with `bytes` through a temporary file renamed over it (see Replace).
bool ReplaceBytes(const QString& path, const QByteArray& bytes);

// The file's lines; std::nullopt when the file cannot be opened or read. An empty file gives
// an empty list.
std::optional<QStringList> Read(const QString& path);

// Replaces the file with `lines`, each followed by a line feed. The text goes to a temporary
// file in the same folder that is renamed over the old one, so that a crash at any moment
// leaves either the old file or the new one whole. False when anything failed; the old file
// is then untouched.
bool Replace(const QString& path, const QStringList& lines);

// Appends `line` and a line feed, creating the file when missing. When the file's last line
// lacks its line feed, one is written first so that the two lines stay apart. False when the
// file cannot be opened or written.
bool Append(const QString& path, const QString& line);

} // namespace LineFile
