#include "store/linefile.h"

#include "store/textcodec.h"

#include <QFile>
#include <QSaveFile>

namespace LineFile {

std::optional<QByteArray> ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool ReplaceBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<QStringList> Read(const QString& path)
{
    const std::optional<QByteArray> read = ReadBytes(path);
    if (!read)
        return std::nullopt;
    const QByteArray& bytes = *read;

    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(TextCodec::Decode(line));
        start = next;
    }
    return lines;
}

bool Replace(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += TextCodec::Encode(line);
        bytes += '\n';
    }
    return ReplaceBytes(path, bytes);
}

bool Append(const QString& path, const QString& line)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return false;
    QByteArray bytes;
    if (file.size() > 0) {
        if (!file.seek(file.size() - 1))
            return false;
        char last = '\0';
        if (file.read(&last, 1) != 1)
            return false;
        if (last != '\n')
            bytes += '\n';
    }
    bytes += TextCodec::Encode(line);
    bytes += '\n';
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

} // namespace LineFile
