#pragma once

#include "exchange/recordexporter.h"

#include <QString>
#include <QStringList>

// The names of exported files, chosen without touching the disk.
namespace ExportNames {

// `name` with the format's extension: a name that already ends in one of the export formats'
// extensions has it replaced ("memo.mp3" as FLAC is "memo.flac"), any other keeps its dots
// ("Call 2.5" becomes "Call 2.5.flac").
QString WithExtension(const QString& name, EExportFormat format);

// The file names of records exported together to one folder, in the records' order: each
// record's file name with the format's extension. Two records whose names would collide (a
// WAV and a Speex record of the same name, or the same name in two folders) are told apart by
// " (2)", " (3)"... on the later ones, compared ignoring case as many file systems do.
QStringList ForRecords(const QStringList& recordPaths, EExportFormat format);

} // namespace ExportNames
