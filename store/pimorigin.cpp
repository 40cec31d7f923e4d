#include "store/pimorigin.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<EPimOrigin, QLatin1String>, 3> kNames{{
    {EPimOrigin::Desktop, QLatin1String("desktop")},
    {EPimOrigin::Folder, QLatin1String("folder")},
    {EPimOrigin::Both, QLatin1String("both")},
}};

} // namespace

namespace PimOrigin {

QLatin1String Name(EPimOrigin origin)
{
    for (const auto& [candidate, name] : kNames) {
        if (candidate == origin)
            return name;
    }
    return kNames[1].second;
}

std::optional<EPimOrigin> Parse(const QString& text)
{
    const QString wanted = text.trimmed();
    for (const auto& [origin, name] : kNames) {
        if (wanted.compare(name, Qt::CaseInsensitive) == 0)
            return origin;
    }
    return std::nullopt;
}

bool IncludesDesktop(EPimOrigin origin)
{
    return origin != EPimOrigin::Folder;
}

bool IncludesFolder(EPimOrigin origin)
{
    return origin != EPimOrigin::Desktop;
}

} // namespace PimOrigin
