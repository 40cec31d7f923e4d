#pragma once

// Shared by the benchmarks over many records: one record written by the engine, and the
// record names spread over two years.

#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "store/recordcatalogue.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace Bench {

// The bytes of a record of `codec` (quality 3) with `info`, three seconds of a tone, written
// by the engine's encoder at `path`, which is removed afterwards.
inline QByteArray EngineRecord(CAudioManager& manager, std::uint32_t codec, const QByteArray& info,
                               const QString& path)
{
    manager.SetCodec(codec);
    manager.SetQuality(3);
    const auto encoder = manager.CreateEncoder(manager.CodecIndex());
    encoder->SetInfo(std::string(info.constData(), static_cast<std::size_t>(info.size())));
    encoder->Open(path.toStdString(), false);
    std::vector<std::uint8_t> second(8000);
    for (std::size_t i = 0; i < second.size(); ++i)
        second[i] = static_cast<std::uint8_t>(128 + ((i / 10) % 2 ? 40 : -40));
    for (int s = 0; s < 3; ++s)
        encoder->Write(second, s == 2);
    encoder->Close();
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QFile::remove(path);
    return bytes;
}

// Information block `v` of a set of variants: one priority, one of 7 projects, one of 40 tasks,
// two contacts of 150; padded to 1 KB as the engine writes it.
inline QByteArray InfoVariant(int v)
{
    QByteArray info = "*ParlantographerInfo*\n[[Tags]]\n[Priority]\nNormal\n[Projects]\nProject " +
                      QByteArray::number(v % 7) + "\n[[Tasks]]\nTask " +
                      QByteArray::number(v % 40) + "\n[[Contacts]]\nContact " +
                      QByteArray::number(v) + "\nContact " + QByteArray::number((v * 7 + 3) % 150) +
                      "\n";
    info.resize(1024, '\0');
    return info;
}

// The name of record `i` of a browsing benchmark: a record name dated within the two years
// from 1 July 2025, one in twenty a free name; even records are WAV, odd ones Ogg.
inline QString BrowsedRecordName(int i)
{
    const QDate day = QDate(2025, 7, 1).addDays(i % 731);
    const QString extension = i % 2 == 0 ? "wav" : "ogg";
    if (i % 20 == 19)
        return QStringLiteral("Memo %1.%2").arg(i).arg(extension);
    return QString::asprintf("%02d%02d%04d_%02d%02d%02d.", day.month(), day.day(), day.year(),
                             (i / 3600) % 24, (i / 60) % 60, i % 60) +
           extension;
}

// `count` records as a record list gives them, made in memory (names over two years, one in
// twenty renamed; tags, a task and a contact each): a window reads no file once it has them.
inline RecordList BrowsedRecords(int count)
{
    RecordList list;
    for (int i = 0; i < count; ++i) {
        const QString name = BrowsedRecordName(i);
        const int v = i % 100;
        QByteArray info = "*ParlantographerInfo*\n[[Tags]]\n[Priority]\nNormal\n[Projects]\n"
                          "Project " +
                          QByteArray::number(v % 7) + "\n[[Tasks]]\nTask " +
                          QByteArray::number(v % 40) + "\n[[Contacts]]\nContact " +
                          QByteArray::number(v) + "\n";
        info.resize(1024, '\0');
        list.push_back({("/nowhere/Data/" + name).toStdString(), name, 1024, info});
    }
    return list;
}

} // namespace Bench
