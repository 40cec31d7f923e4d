#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <unistd.h>

inline const QByteArray kMarkedInfo =
    "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\nCall back\n[[Contacts]]\nAnn Lee\n";

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Creates the missing folders on the way.
inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) &&
           file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// A mono 8-bit 8000 Hz WAV. With `info`: the program's 1070-byte header whose format chunk
// carries the 1024-byte information area; an unclosed record (cut short by a crash) keeps both
// length fields at 0x7FFFFFFF. Without: the common 44-byte header.
inline QByteArray Wav(const std::optional<QByteArray>& info, int samples = 800, bool closed = true)
{
    const auto le = [](std::uint32_t value, int size) {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return bytes;
    };
    const int header = info ? 1070 : 44;
    const std::uint32_t riff = closed ? header + samples - 8 : 0x7FFFFFFF;
    return "RIFF" + le(riff, 4) + "WAVEfmt " + le(info ? 1042 : 16, 4) + le(1, 2) + le(1, 2) +
           le(8000, 4) + le(8000, 4) + le(1, 2) + le(8, 2) +
           (info ? le(1024, 2) + info->left(1024).leftJustified(1024, '\0') : QByteArray()) +
           "data" + le(closed ? samples : 0x7FFFFFFF, 4) + QByteArray(samples, '\x80');
}

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
        if (filler.open(QIODevice::WriteOnly)) {
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
            while (filler.write("f", 1) == 1 && filler.flush()) {
            }
        }
    }

private:
    QString m_folder;
    bool m_mounted = false;
};
