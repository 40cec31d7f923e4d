#pragma once

#include <QLatin1String>
#include <QString>
#include <optional>

// Where contacts and tasks come from, as the setting "PimSource" stores it: the desktop's
// address books and task lists, the contacts-and-tasks folder, or both.
enum class EPimOrigin
{
    Desktop,
    Folder,
    Both,
};

namespace PimOrigin {

// "desktop", "folder" or "both": the stored text and the command line's word.
QLatin1String Name(EPimOrigin origin);
// The origin a text names, ignoring case and surrounding spaces; nullopt for any other text.
std::optional<EPimOrigin> Parse(const QString& text);
// True when the desktop's service is read.
bool IncludesDesktop(EPimOrigin origin);
// True when the folder is read.
bool IncludesFolder(EPimOrigin origin);

} // namespace PimOrigin
