#pragma once

// Record files built byte by byte for the catalogue tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdint>

namespace recordfiles {

inline const QByteArray kMarkedInfo =
    "*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\nCall back\n[[Contacts]]\nAnn Lee\n";

inline void PutLittleEndian(QByteArray& bytes, qsizetype offset, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A PCM record: the 1070-byte header with `info` in its 1024-byte area, then the samples.
// An unclosed record (cut short by a crash) keeps both length fields at 0x7FFFFFFF.
inline QByteArray PcmRecord(const QByteArray& info, int samples = 800, bool closed = true)
{
    QByteArray bytes(1070 + samples, '\x80');
    bytes.replace(0, 4, "RIFF");
    bytes.replace(8, 8, "WAVEfmt ");
    PutLittleEndian(bytes, 16, 1042, 4);
    PutLittleEndian(bytes, 20, 1, 2);
    PutLittleEndian(bytes, 22, 1, 2);
    PutLittleEndian(bytes, 24, 8000, 4);
    PutLittleEndian(bytes, 28, 8000, 4);
    PutLittleEndian(bytes, 32, 1, 2);
    PutLittleEndian(bytes, 34, 8, 2);
    PutLittleEndian(bytes, 36, 1024, 2);
    bytes.replace(38, 1024, QByteArray(1024, '\0'));
    bytes.replace(38, info.size(), info.left(1024));
    bytes.replace(1062, 4, "data");
    const auto total = static_cast<std::uint32_t>(bytes.size());
    PutLittleEndian(bytes, 4, closed ? total - 8 : 0x7FFFFFFF, 4);
    PutLittleEndian(bytes, 1066, closed ? total - 1070 : 0x7FFFFFFF, 4);
    return bytes;
}

// A plain 44-byte-header WAV file with no information.
inline QByteArray ForeignWav(int samples = 800)
{
    QByteArray bytes(44 + samples, '\x80');
    bytes.replace(0, 4, "RIFF");
    PutLittleEndian(bytes, 4, static_cast<std::uint32_t>(bytes.size() - 8), 4);
    bytes.replace(8, 8, "WAVEfmt ");
    PutLittleEndian(bytes, 16, 16, 4);
    PutLittleEndian(bytes, 20, 1, 2);
    PutLittleEndian(bytes, 22, 1, 2);
    PutLittleEndian(bytes, 24, 8000, 4);
    PutLittleEndian(bytes, 28, 8000, 4);
    PutLittleEndian(bytes, 32, 1, 2);
    PutLittleEndian(bytes, 34, 8, 2);
    bytes.replace(36, 4, "data");
    PutLittleEndian(bytes, 40, static_cast<std::uint32_t>(samples), 4);
    return bytes;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace recordfiles
