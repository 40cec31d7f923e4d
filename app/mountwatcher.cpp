#include "app/mountwatcher.h"

#include <QFile>

CMountWatcher::CMountWatcher(QString mountsPath, int intervalMs, QObject* parent)
    : QObject(parent), m_path(std::move(mountsPath))
{
    m_known = ReadTable();
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CMountWatcher::Poll);
    m_timer.start();
}

namespace {

QString DecodeField(const QByteArray& field)
{
    QByteArray decoded;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3) {
                decoded.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        decoded.append(c);
    }
    return QString::fromUtf8(decoded);
}

} // namespace

QSet<QString> CMountWatcher::ParseMountPoints(const QByteArray& table)
{
    QSet<QString> points;
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && !fields.at(1).isEmpty())
            points.insert(DecodeField(fields.at(1)));
    }
    return points;
}

QSet<QString> CMountWatcher::ReadTable() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Kernel files report size 0: read until the end rather than by size.
    return ParseMountPoints(file.readAll());
}

void CMountWatcher::Poll()
{
    const QSet<QString> now = ReadTable();
    if (now.isEmpty())
        return; // An unreadable table says nothing about the volumes.
    for (const QString& point : std::as_const(m_known)) {
        if (!now.contains(point))
            emit VolumeRemoved(point);
    }
    m_known = now;
}
