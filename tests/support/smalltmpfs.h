#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <unistd.h>

// A small tmpfs mounted on a fresh folder, for tests of a full file system; unmounted at the
// end. Mounting needs root: Mounted() is false otherwise and the test skips itself.
class CSmallTmpfs
{
public:
    explicit CSmallTmpfs(const QString& folder, const QString& size = QStringLiteral("64k"))
        : m_folder(folder)
    {
        if (!QDir().mkpath(folder))
            return;
        const QByteArray command = "mount -t tmpfs -o size=" + size.toUtf8() + " tmpfs '" +
                                   QFile::encodeName(folder) + "' 2>/dev/null";
        m_mounted = ::geteuid() == 0 && std::system(command.constData()) == 0;
    }
    ~CSmallTmpfs()
    {
        if (m_mounted)
            std::system(("umount -l '" + QFile::encodeName(m_folder) + "'").constData());
    }
    CSmallTmpfs(const CSmallTmpfs&) = delete;
    CSmallTmpfs& operator=(const CSmallTmpfs&) = delete;

    bool Mounted() const { return m_mounted; }
    // Fills the file system up to its last byte with a file named "filler".
    void Fill() const
    {
        QFile filler(m_folder + "/filler");
        const QByteArray block(4096, 'f');
        // Unbuffered, the last write takes what is left and the next one fails.
        if (filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            while (filler.write(block) > 0) {
            }
        }
    }

private:
    QString m_folder;
    bool m_mounted = false;
};
