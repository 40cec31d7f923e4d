#include "browser/showinfolder.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>

namespace {
const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString kInterface = QStringLiteral("org.freedesktop.FileManager1");
} // namespace

CShowInFolder::CShowInFolder(const QDBusConnection& bus, FolderOpener openFolder, QObject* parent)
    : QObject(parent), m_bus(bus), m_openFolder(std::move(openFolder))
{
    if (!m_openFolder)
        m_openFolder = [](const QUrl& folder) {
            return QDesktopServices::openUrl(folder);
        };
}

void CShowInFolder::Show(const QString& path)
{
    if (!m_bus.isConnected()) {
        OpenFolder(path);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("ShowItems"));
    // The startup id is empty: the file manager then raises its window as it sees fit.
    call << QStringList{QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString()}
         << QString();
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (QDBusPendingReply<>(*finished).isError()) {
                    OpenFolder(path);
                    return;
                }
                emit Finished(path, true, false);
            });
}

void CShowInFolder::OpenFolder(const QString& path)
{
    const bool opened = m_openFolder(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
    emit Finished(path, false, opened);
}
