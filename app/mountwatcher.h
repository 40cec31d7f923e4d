#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

// Watches the mount table and reports every file system that disappears from it, the
// way a removed storage card would. The kernel's mount files do not take part in
// inotify, so the table is read again on a timer (once a second by default).
class CMountWatcher : public QObject
{
    Q_OBJECT
public:
    explicit CMountWatcher(QString mountsPath = QStringLiteral("/proc/self/mounts"),
                           int intervalMs = 1000, QObject* parent = nullptr);

    // The mount points of a mount table text (second field, octal escapes such as \040
    // decoded).
    static QSet<QString> ParseMountPoints(const QByteArray& table);

    // Reads the table now and reports what vanished since the last look.
    void Poll();

signals:
    void VolumeRemoved(const QString& mountPoint);

private:
    QSet<QString> ReadTable() const;

    QString m_path;
    QTimer m_timer;
    QSet<QString> m_known;
};
