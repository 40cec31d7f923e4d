#include "browser/recordfolderwatcher.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The folder itself when it exists, else its nearest existing parent.
QString NearestExisting(const QString& folder)
{
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return {};
        path = parent;
    }
    return path;
}

} // namespace

CRecordFolderWatcher::CRecordFolderWatcher(std::function<QStringList()> folders, int settleMs,
                                           QObject* parent)
    : QObject(parent), m_folders(std::move(folders))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &CRecordFolderWatcher::OnDirectoryChanged);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        Watch();
        emit Changed();
    });
    Watch();
}

QStringList CRecordFolderWatcher::WatchedPaths() const
{
    return m_watcher.directories();
}

void CRecordFolderWatcher::OnDirectoryChanged(const QString& path)
{
    // Every change restarts the wait: a copy of many records ends in one refresh. In a
    // parent standing in for a missing folder only that folder's arrival counts.
    if (m_recordFolders.contains(path) || Watch())
        m_settle.start();
}

bool CRecordFolderWatcher::Watch()
{
    QStringList wanted;
    QStringList recordFolders;
    for (const QString& folder : m_folders()) {
        const QString path = NearestExisting(folder);
        if (path.isEmpty())
            continue;
        if (!wanted.contains(path))
            wanted << path;
        if (path == QDir::cleanPath(QFileInfo(folder).absoluteFilePath()))
            recordFolders << path;
    }
    const QStringList watched = m_watcher.directories();
    for (const QString& path : watched) {
        if (!wanted.contains(path))
            m_watcher.removePath(path);
    }
    for (const QString& path : std::as_const(wanted)) {
        // A folder that cannot be watched (no inotify watches left) is refreshed by F5 only.
        if (!watched.contains(path))
            m_watcher.addPath(path);
    }
    bool appeared = false;
    for (const QString& path : std::as_const(recordFolders))
        appeared = appeared || !m_recordFolders.contains(path);
    m_recordFolders = recordFolders;
    return appeared;
}
