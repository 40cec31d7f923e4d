#include "platform/home.h"

#include <QStandardPaths>

namespace Home {

QString WithTrailingSlash(const QString& path)
{
    if (path.isEmpty())
        return path;
    QString result = path;
    while (result.size() > 1 && result.endsWith(u'/'))
        result.chop(1);
    if (!result.endsWith(u'/'))
        result.append(u'/');
    return result;
}

bool IsChosenByEnvironment()
{
    return !qEnvironmentVariable(kHomeVariable).isEmpty();
}

QString ApplicationDataFolder()
{
    // The same folder QStandardPaths::AppDataLocation names for this organisation and
    // application, built without touching the process-wide application names.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return WithTrailingSlash(base) + QLatin1String(kOrganisation) + u'/' +
           QLatin1String(kApplication) + u'/';
}

QString Folder()
{
    const QString chosen = qEnvironmentVariable(kHomeVariable);
    if (!chosen.isEmpty())
        return WithTrailingSlash(chosen);
    return ApplicationDataFolder();
}

QString CacheFolder()
{
    if (IsChosenByEnvironment())
        return Folder();
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return WithTrailingSlash(base) + QLatin1String(kOrganisation) + u'/' +
           QLatin1String(kApplication) + u'/';
}

QString DeviceDataFolder()
{
    return ApplicationDataFolder() + QStringLiteral("Data/");
}

} // namespace Home
