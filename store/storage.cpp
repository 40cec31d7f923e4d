#include "store/storage.h"

#include "platform/freespace.h"
#include "platform/home.h"
#include "store/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

SStorageEnvironment SStorageEnvironment::FromSystem()
{
    return SStorageEnvironment{Home::Folder(), Home::DeviceDataFolder(), &Volumes::Present};
}

CStorage::CStorage(const CSettingsStore& settings, SStorageEnvironment environment)
    : m_settings(settings), m_environment(std::move(environment))
{
    m_environment.programFolder = Home::WithTrailingSlash(m_environment.programFolder);
    m_environment.deviceDataFolder = Home::WithTrailingSlash(m_environment.deviceDataFolder);
}

QString CStorage::ProgramFile(const QString& name) const
{
    return m_environment.programFolder + name;
}

QList<SStorageCard> CStorage::Cards() const
{
    return m_environment.cards ? m_environment.cards() : QList<SStorageCard>{};
}

StoragePaths::SLayout CStorage::Layout() const
{
    return StoragePaths::SLayout{m_environment.programFolder, m_environment.deviceDataFolder,
                                 Cards()};
}

bool CStorage::IsProgramOnCard() const
{
    return StoragePaths::IsOnStorageCard(m_environment.programFolder, Cards());
}

QStringList CStorage::StorageList() const
{
    QStringList list;
    StoragePaths::FillStorageList(list, Cards());
    return list;
}

std::optional<QString> CStorage::DataFolder() const
{
    return StoragePaths::DataFolder(m_settings.Storage(), Layout());
}

double CStorage::FreeBytes() const
{
    const std::optional<QString> folder = DataFolder();
    if (!folder)
        return 0.0; // the chosen card is absent: nothing to record onto
    QString path = QDir::cleanPath(*folder);
    while (!QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return 0.0;
        path = parent;
    }
    return FreeBytesAt(QFile::encodeName(path).toStdString());
}

SRecordPath CStorage::MakeRecordPath(std::uint32_t codec, const QDateTime& localTime) const
{
    const QString storage = m_settings.Storage();
    const QString extension = StoragePaths::RecordExtension(codec);
    if (extension.isEmpty())
        return {{},
                QCoreApplication::translate("CStorage",
                                            "This recording format cannot be stored as a record.")};
    const std::optional<QString> folder = StoragePaths::DataFolder(storage, Layout());
    if (!folder)
        return {{},
                QCoreApplication::translate("CStorage", "The storage \"%1\" is not present.")
                    .arg(storage)};
    if (!QDir().mkpath(*folder))
        return {{},
                QCoreApplication::translate("CStorage", "Cannot create the folder \"%1\".")
                    .arg(*folder)};
    const QString path =
        StoragePaths::FreeRecordPath(*folder, localTime, extension, [](const QString& candidate) {
            // A dangling link still takes the name: exists() alone would follow it.
            const QFileInfo info(candidate);
            return info.exists() || info.isSymLink();
        });
    if (path.isEmpty())
        return {
            {},
            QCoreApplication::translate("CStorage", "No free record name in \"%1\".").arg(*folder)};
    return {path, {}};
}

QStringList CStorage::EnumerateRecordFolders() const
{
    return StoragePaths::EnumerateRecordFolders(Layout(), [](const QString& folder) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
    });
}
