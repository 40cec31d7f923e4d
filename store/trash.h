#pragma once

#include <filesystem>
#include <optional>

// The desktop's trash (the freedesktop.org trash), for files named by their bytes: a record
// whose name is not valid UTF-8 goes to the trash as itself, never as a file of a similar name.
namespace Trash {

// The trash folder (holding "files" and "info") that `file` would go to: the home trash
// ($XDG_DATA_HOME/Trash) when the file lies on the home trash's volume; else, for a file on
// another volume than the home folder, that volume's own trash ("$top/.Trash/<uid>" inside an
// administrator's sticky ".Trash" that is no link, else "$top/.Trash-<uid>"); std::nullopt
// when there is none the file could be moved into.
std::optional<std::filesystem::path> FolderFor(const std::filesystem::path& file);

// Moves `file` into its trash under a name free there: first the ".trashinfo" that tells the
// file manager where to restore it (the original path, its bytes escaped as in URLs, and the
// time), then the file itself by a rename within its volume that never replaces anything.
// False, with the file where it was and no information left behind, when any step fails.
// `trashed` receives where the file went.
bool Move(const std::filesystem::path& file, std::filesystem::path* trashed = nullptr);

} // namespace Trash
