#include "exchange/recordimporter.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/baseencoder.h"
#include "exchange/siblingtempfile.h"
#include "exchange/soundfiledecoder.h"
#include "store/recorddate.h"
#include "store/recordinfo.h"
#include "store/storagepaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <variant>
#include <vector>

namespace {

constexpr std::size_t kBlock = 8000;
// Names taken between the free-name check and the rename (another import, a recording in
// the same second) are skipped; this many in a row means something else is wrong.
constexpr int kNameAttempts = 100;

using SResult = CRecordImporter::SResult;
using EStatus = CRecordImporter::EStatus;

SResult Failure(EStatus status, const QString& message)
{
    return {status, {}, message};
}

SResult WriteFailure(const QString& folder, const QString& why)
{
    return Failure(
        EStatus::Failed,
        QCoreApplication::translate("RecordImporter", "Cannot write in %1: %2; nothing imported")
            .arg(folder, why));
}

// How the file becomes a record: copied as it is, or decoded and written by an encoder.
struct SPlan
{
    std::unique_ptr<CBaseDecoder> decoder;
    std::unique_ptr<CBaseEncoder> encoder; // none: copied byte for byte
    std::uint32_t codec = Codec::Pcm;      // of the record made
    std::uint64_t samples = 0;
};

// Writes the whole of `source` to `fd`; the system's reason when that fails.
std::optional<QString> CopyInto(const QString& source, int fd)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return in.errorString();
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const qint64 got = in.read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (got < 0)
            return in.errorString();
        if (got == 0)
            return std::nullopt;
        for (qint64 at = 0; at < got;) {
            const ssize_t wrote =
                ::write(fd, buffer.data() + at, static_cast<std::size_t>(got - at));
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                return QString::fromLocal8Bit(std::strerror(wrote < 0 ? errno : ENOSPC));
            at += wrote;
        }
    }
}

// How `source` becomes a record; a result when it cannot.
std::variant<SPlan, SResult> MakePlan(const CAudioManager& audio, const QString& source, int format)
{
    const std::string path = source.toStdString();
    SPlan plan;
    try {
        plan.codec = audio.GetSuitableCodec(path);
        plan.samples = audio.GetRecordSamples(path);
        plan.decoder = audio.OpenDecoder(path);
    } catch (const CAudioError&) {
        // Not a file in a record format the engine reads: libsndfile may read it.
        plan.decoder.reset();
    }
    if (plan.decoder && RecordInfo::HasMarker(QByteArray::fromStdString(plan.decoder->GetInfo()))) {
        plan.decoder.reset();
        return plan;
    }
    if (plan.decoder && plan.codec == Codec::Pcm) {
        plan.encoder = audio.CreateEncoder(Codec::Pcm);
        return plan;
    }
    if (!plan.decoder) {
        auto decoder = std::make_unique<CSoundFileDecoder>();
        try {
            decoder->Open(path, audio);
        } catch (const CAudioError& error) {
            QString reason = QString::fromUtf8(error.what());
            if (reason.endsWith(u'.'))
                reason.chop(1);
            return Failure(
                EStatus::Unreadable,
                QCoreApplication::translate(
                    "RecordImporter",
                    "Cannot import %1: not audio this program reads (%2); nothing imported")
                    .arg(source, reason));
        }
        plan.samples = decoder->GetLength();
        plan.decoder = std::move(decoder);
    }
    plan.encoder = audio.CreateEncoderOfFormat(format);
    plan.codec = kRecordingFormats[static_cast<std::size_t>(format)].codec;
    return plan;
}

// Decodes the whole source into the plan's encoder writing `temp`, reporting progress; a
// result when it fails or is cancelled.
std::optional<SResult> Transcode(SPlan& plan, const CSiblingTempFile& temp, const QString& source,
                                 const QString& folder, const TransferProgress& progress)
{
    plan.encoder->SetInfo(RecordInfo::ComposeRecordInfo({})->toStdString());
    try {
        plan.encoder->Open(temp.Path().toStdString(), false);
    } catch (const CAudioError& error) {
        return WriteFailure(folder, QString::fromUtf8(error.what()));
    }
    // Closed on every way out; the temporary file is removed by its owner.
    const std::unique_ptr<CBaseEncoder, void (*)(CBaseEncoder*)> closer(
        plan.encoder.get(), [](CBaseEncoder* encoder) { encoder->Close(); });
    std::vector<std::uint8_t> samples(kBlock);
    std::uint64_t done = 0;
    try {
        for (bool end = false; !end;) {
            const SDecoded decoded = plan.decoder->Read(samples);
            end = decoded.end;
            if (!plan.encoder->Write(std::span(samples.data(), decoded.size), end))
                return WriteFailure(folder, QCoreApplication::translate(
                                                "RecordImporter", "the disk refused the samples"));
            done += decoded.size;
            // A length from a header is an estimate for some formats.
            plan.samples = std::max(plan.samples, done);
            if (progress && !progress(done, plan.samples))
                return Failure(EStatus::Cancelled,
                               QCoreApplication::translate(
                                   "RecordImporter", "The import was cancelled; nothing written"));
        }
    } catch (const std::exception& error) {
        return Failure(
            EStatus::Failed,
            QCoreApplication::translate("RecordImporter", "Cannot import %1: %2; nothing imported")
                .arg(source, QString::fromUtf8(error.what())));
    }
    return std::nullopt;
}

// Gives the finished file the first free record name of the source's moment.
SResult Place(CSiblingTempFile& temp, const QString& folder, const QString& source,
              std::uint32_t codec)
{
    // An imported file is dated by its name's stamp, else by its modification time: it is
    // not a recording made here, so its birth says when it was copied, not recorded.
    const QFileInfo info(source);
    const QDateTime moment =
        RecordDate::FromFileName(info.fileName()).value_or(info.lastModified());
    const QString extension = StoragePaths::RecordExtension(codec);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString name =
            StoragePaths::FreeRecordPath(folder, moment, extension, [](const QString& candidate) {
                return QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink();
            });
        if (name.isEmpty())
            break;
        switch (temp.Commit(name, false)) {
        case CSiblingTempFile::ECommit::Done:
            return {EStatus::Imported, name, {}};
        case CSiblingTempFile::ECommit::Exists:
            continue;
        case CSiblingTempFile::ECommit::Failed:
            return WriteFailure(folder, temp.Error());
        }
    }
    return WriteFailure(folder,
                        QCoreApplication::translate("RecordImporter", "no free record name"));
}

} // namespace

SResult CRecordImporter::Import(const QString& source, const QString& dataFolder, int format,
                                const TransferProgress& progress) const
{
    if (!QFileInfo(source).isFile())
        return Failure(EStatus::Unreadable,
                       QCoreApplication::translate(
                           "RecordImporter", "Cannot import %1: it is not a file; nothing imported")
                           .arg(source));
    if (format < 0 || format >= static_cast<int>(kRecordingFormats.size()))
        return Failure(EStatus::Failed, QCoreApplication::translate(
                                            "RecordImporter", "There is no recording format %1")
                                            .arg(format));
    std::variant<SPlan, SResult> planned = MakePlan(m_audio, source, format);
    if (auto* refused = std::get_if<SResult>(&planned))
        return *refused;
    SPlan& plan = std::get<SPlan>(planned);

    const QString folder = dataFolder.endsWith(u'/') ? dataFolder : dataFolder + u'/';
    if (!QDir().mkpath(folder))
        return Failure(EStatus::NoFolder,
                       QCoreApplication::translate("RecordImporter",
                                                   "Cannot create the folder %1; nothing imported")
                           .arg(folder));
    CSiblingTempFile temp(folder, QStringLiteral("import"));
    if (!temp.Ok())
        return WriteFailure(folder, temp.Error());
    if (!plan.encoder) {
        if (const std::optional<QString> error = CopyInto(source, temp.Fd()))
            return WriteFailure(folder, *error);
    } else if (std::optional<SResult> failed = Transcode(plan, temp, source, folder, progress)) {
        return *failed;
    }
    if (!temp.TakeModifiedTime(source))
        return WriteFailure(folder, temp.Error());
    SResult placed = Place(temp, folder, source, plan.codec);
    if (placed.Ok() && progress)
        progress(plan.samples, plan.samples);
    return placed;
}
