#include "exchange/recordexporter.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/tagger.h"
#include "exchange/exporttags.h"
#include "exchange/siblingtempfile.h"
#include "exchange/soundfile.h"
#include "store/nativepath.h"
#include "store/recorddate.h"
#include "store/recordinfo.h"
#include "store/recordrename.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <sndfile.h>
#include <vector>

namespace {

// Every format takes the record's own rate (libsndfile 1.2 writes Opus and MP3 at 8 kHz
// too), so the samples go out as they are, only widened to 16 bits.
constexpr int kRate = 8000;
constexpr std::size_t kBlock = 8000;

struct SFormatRow
{
    EExportFormat format;
    const char* extension;
    int soundFileFormat;
};

constexpr SFormatRow kFormats[] = {
    {EExportFormat::Wav, "wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
    {EExportFormat::Flac, "flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
    {EExportFormat::Opus, "opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
    {EExportFormat::Mp3, "mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
};

CRecordExporter::SResult Refusal(CRecordExporter::EStatus status, const QString& message)
{
    return {status, message};
}

CRecordExporter::SResult Failure(const QString& what, const std::string& why)
{
    return {CRecordExporter::EStatus::Failed,
            QCoreApplication::translate("RecordExporter", "%1: %2; nothing exported")
                .arg(what, QString::fromStdString(why))};
}

// The message of an engine error about the record: the system's reason when a call failed.
CRecordExporter::SResult ReadFailure(const QString& record, const CAudioError& error)
{
    if (error.code() == EAudioErrc::CannotOpenFile)
        return Failure(QCoreApplication::translate("RecordExporter", "Cannot read %1").arg(record),
                       error.SystemMessage());
    return Refusal(
        CRecordExporter::EStatus::NotARecord,
        QCoreApplication::translate("RecordExporter", "%1 is not a record; nothing exported")
            .arg(record));
}

// A tag as the format stores it: Latin-1 for MP3 (see ExportTags::ForMp3), UTF-8 otherwise.
std::string TagBytes(EExportFormat format, const QString& text)
{
    return (format == EExportFormat::Mp3 ? text.toLatin1() : text.toUtf8()).toStdString();
}

// Writes the record's `total` samples from `decoder` to `file`, widened to 16 bits; a result
// when writing fails or the progress function cancels.
std::optional<CRecordExporter::SResult> CopySamples(CBaseDecoder& decoder, CSoundFile& file,
                                                    std::uint64_t total, const QString& out,
                                                    const TransferProgress& progress)
{
    std::vector<std::uint8_t> samples(kBlock);
    std::vector<short> wide(kBlock);
    std::uint64_t done = 0;
    // The decoder may give a Speex stream's last frame whole; the record ends at its length.
    for (bool end = total == 0; !end;) {
        const SDecoded decoded = decoder.Read(samples);
        const std::size_t take =
            static_cast<std::size_t>(std::min<std::uint64_t>(decoded.size, total - done));
        std::transform(samples.begin(), samples.begin() + static_cast<long>(take), wide.begin(),
                       [](std::uint8_t s) { return static_cast<short>((s - 128) * 256); });
        if (!file.Write(std::span<const short>(wide.data(), take)))
            return Failure(
                QCoreApplication::translate("RecordExporter", "Cannot write %1").arg(out),
                file.ErrorText());
        done += take;
        end = decoded.end || done == total;
        if (progress && !progress(done, total))
            return Refusal(CRecordExporter::EStatus::Cancelled,
                           QCoreApplication::translate(
                               "RecordExporter", "The export was cancelled; nothing written"));
    }
    return std::nullopt;
}

} // namespace

std::optional<EExportFormat> CRecordExporter::FormatOfPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const SFormatRow& row : kFormats) {
        if (suffix == QLatin1String(row.extension))
            return row.format;
    }
    return std::nullopt;
}

QString CRecordExporter::ExtensionOf(EExportFormat format)
{
    for (const SFormatRow& row : kFormats) {
        if (row.format == format)
            return QLatin1String(row.extension);
    }
    return {};
}

QString CRecordExporter::Extensions()
{
    return QStringLiteral(".wav, .flac, .opus or .mp3");
}

CRecordExporter::SResult CRecordExporter::Export(const QString& record, const QString& out,
                                                 bool replace,
                                                 const TransferProgress& progress) const
{
    const std::optional<EExportFormat> format = FormatOfPath(out);
    if (!format)
        return Refusal(
            EStatus::UnknownFormat,
            QCoreApplication::translate("RecordExporter",
                                        "%1: the exported file must end in %2; nothing exported")
                .arg(out, Extensions()));
    std::string info;
    try {
        info = CTagger(m_audio).ReadRecordInfo(record.toStdString());
    } catch (const CAudioError& error) {
        return ReadFailure(record, error);
    }
    if (!RecordInfo::HasMarker(QByteArray::fromStdString(info)))
        return Refusal(
            EStatus::NotARecord,
            QCoreApplication::translate("RecordExporter", "%1 is not a record; nothing exported")
                .arg(record));

    const QFileInfo target(out);
    if (!QFileInfo(target.absolutePath()).isDir())
        return Refusal(EStatus::NoFolder,
                       QCoreApplication::translate("RecordExporter",
                                                   "The folder %1 does not exist; nothing exported")
                           .arg(target.absolutePath()));
    if (target.exists() || target.isSymLink()) {
        if (target.canonicalFilePath() == QFileInfo(record).canonicalFilePath())
            return Refusal(EStatus::SameFile,
                           QCoreApplication::translate("RecordExporter",
                                                       "%1 is the record itself; nothing exported")
                               .arg(out));
        if (!replace)
            return Refusal(
                EStatus::Exists,
                QCoreApplication::translate("RecordExporter", "%1 exists already; nothing exported")
                    .arg(out));
    }
    try {
        return Write(record, out, *format, replace, progress);
    } catch (const CAudioError& error) {
        return ReadFailure(record, error);
    }
}

CRecordExporter::SResult CRecordExporter::Write(const QString& record, const QString& out,
                                                EExportFormat format, bool replace,
                                                const TransferProgress& progress) const
{
    const std::string path = record.toStdString();
    const std::uint64_t total = m_audio.GetRecordSamples(path);
    const std::unique_ptr<CBaseDecoder> decoder = m_audio.OpenDecoder(path);
    ExportTags::STags tags = ExportTags::Compose(
        RecordRename::EditableName(NativePath::FromText(record)),
        RecordDate::OfRecord(NativePath::FromText(record)),
        RecordInfo::DecodeRecordInfo(QByteArray::fromStdString(decoder->GetInfo())));
    if (format == EExportFormat::Mp3)
        tags = ExportTags::ForMp3(tags);

    const QFileInfo target(out);
    CSiblingTempFile temp(target.absolutePath(), target.fileName());
    if (!temp.Ok())
        return Failure(QCoreApplication::translate("RecordExporter", "Cannot write in %1")
                           .arg(target.absolutePath()),
                       temp.Error().toStdString());
    CSoundFile file;
    const auto row = std::find_if(std::begin(kFormats), std::end(kFormats),
                                  [format](const SFormatRow& r) { return r.format == format; });
    const bool started = file.OpenWrite(temp.Fd(), row->soundFileFormat, kRate) &&
                         file.SetTag(SF_STR_TITLE, TagBytes(format, tags.title)) &&
                         file.SetTag(SF_STR_DATE, TagBytes(format, tags.date)) &&
                         file.SetTag(SF_STR_COMMENT, TagBytes(format, tags.comment));
    if (!started)
        return Failure(QCoreApplication::translate("RecordExporter", "Cannot write %1").arg(out),
                       file.ErrorText());

    if (std::optional<SResult> stopped = CopySamples(*decoder, file, total, out, progress))
        return *stopped;
    if (!file.Close())
        return Failure(QCoreApplication::translate("RecordExporter", "Cannot write %1").arg(out),
                       file.ErrorText());
    switch (temp.Commit(out, replace)) {
    case CSiblingTempFile::ECommit::Done:
        return {EStatus::Exported, {}};
    case CSiblingTempFile::ECommit::Exists:
        return Refusal(EStatus::Exists, QCoreApplication::translate(
                                            "RecordExporter", "%1 exists already; nothing exported")
                                            .arg(out));
    case CSiblingTempFile::ECommit::Failed:
        break;
    }
    return Failure(QCoreApplication::translate("RecordExporter", "Cannot write %1").arg(out),
                   temp.Error().toStdString());
}
