#pragma once

#include <QString>
#include <filesystem>

// A path as the file system spells it: its bytes, kept as they are. A file name need not be
// valid UTF-8, and a QString would replace what is not, so two files could be taken for one.
// Records are therefore reached by their std::filesystem::path, end to end, and a QString of
// a path is only ever made to show it.
namespace NativePath {

// The path for display: bytes that are not UTF-8 show as U+FFFD.
QString Display(const std::filesystem::path& path);
// The file name alone, for display.
QString DisplayName(const std::filesystem::path& path);
// The path a text names (a folder of the settings, a name the user typed), as UTF-8 bytes.
std::filesystem::path FromText(const QString& text);

} // namespace NativePath
