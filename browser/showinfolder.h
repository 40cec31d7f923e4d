#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

// "Show in Folder": asks the desktop's file manager to open the folder of a file with the
// file selected (org.freedesktop.FileManager1.ShowItems on the session bus), and when that
// call fails (no bus, no file manager serving the interface, an error) opens the folder
// itself with the desktop's default handler. The call is asynchronous: the window never
// waits for a file manager that is being started.
class CShowInFolder : public QObject
{
    Q_OBJECT
public:
    // How a folder is opened when the file manager cannot be asked.
    using FolderOpener = std::function<bool(const QUrl& folder)>;

    // `openFolder` defaults to QDesktopServices::openUrl.
    explicit CShowInFolder(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                           FolderOpener openFolder = {}, QObject* parent = nullptr);

    void Show(const QString& path);

signals:
    // The request for `path` is over: `selected` when the file manager took it, else the
    // folder was handed to the opener (`opened` is what the opener answered).
    void Finished(const QString& path, bool selected, bool opened);

private:
    void OpenFolder(const QString& path);

    QDBusConnection m_bus;
    FolderOpener m_openFolder;
};
