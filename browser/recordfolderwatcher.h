#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

// Watches the record folders for records made, copied, renamed or removed by anyone (the
// command line, a copy, a sync tool, a second card) and says so once a burst of changes has
// settled. A folder that does not exist yet is noticed when it appears: its nearest existing
// parent is watched until then, and only the folder's appearance there counts as a change.
// The folders are asked for again after every change, so a card that appears is watched too.
class CRecordFolderWatcher : public QObject
{
    Q_OBJECT
public:
    // `folders` gives the record folders; `settleMs` is how long the folders must stay
    // quiet before Changed is emitted.
    CRecordFolderWatcher(std::function<QStringList()> folders, int settleMs,
                         QObject* parent = nullptr);

    // The paths watched now (folders, or the parents standing in for missing ones).
    QStringList WatchedPaths() const;

signals:
    void Changed();

private:
    void OnDirectoryChanged(const QString& path);
    // Watches what the folders need now; true when a record folder is watched that was not.
    bool Watch();

    std::function<QStringList()> m_folders;
    // The record folders watched themselves (the others are parents standing in).
    QStringList m_recordFolders;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};
