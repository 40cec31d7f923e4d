#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <optional>

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
