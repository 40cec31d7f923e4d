#pragma once

// Shared by the test programs that use Qt: readable failure messages for text, whole files,
// and WAVE files as QByteArray.

#include "support/wavfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <filesystem>
#include <optional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A path of a file made in a test (valid UTF-8) as the store takes it: the file system's bytes.
inline std::filesystem::path Native(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

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

// A record of `samples` silent samples: with `info`, the program's header and its information
// area; without, the common 44-byte header.
inline QByteArray Wav(const std::optional<QByteArray>& info, int samples = 800, bool closed = true)
{
    const testsupport::Bytes wav = testsupport::WavFile(
        testsupport::Bytes(static_cast<std::size_t>(samples), 0x80),
        {.extension = info ? testsupport::InfoArea(info->toStdString()) : testsupport::Bytes(),
         .closed = closed});
    return QByteArray(reinterpret_cast<const char*>(wav.data()),
                      static_cast<qsizetype>(wav.size()));
}
