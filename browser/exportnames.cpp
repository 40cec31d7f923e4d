#include "browser/exportnames.h"

#include <QFileInfo>
#include <QSet>

namespace ExportNames {

QString WithExtension(const QString& name, EExportFormat format)
{
    const QString base = CRecordExporter::FormatOfPath(name)
                             ? name.left(name.size() - QFileInfo(name).suffix().size() - 1)
                             : name;
    return base + QLatin1Char('.') + CRecordExporter::ExtensionOf(format);
}

QStringList ForRecords(const QStringList& recordPaths, EExportFormat format)
{
    const QString extension = QLatin1Char('.') + CRecordExporter::ExtensionOf(format);
    QStringList names;
    QSet<QString> taken;
    for (const QString& path : recordPaths) {
        const QString base = QFileInfo(path).completeBaseName();
        QString name = base + extension;
        for (int n = 2; taken.contains(name.toLower()); ++n)
            name = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(extension);
        taken.insert(name.toLower());
        names << name;
    }
    return names;
}

} // namespace ExportNames
