#include "store/recordinfofile.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "store/recordlock.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>

namespace RecordInfoFile {
namespace {

QString Unavailable(int error)
{
    if (error == ENOENT)
        return QCoreApplication::translate("RecordInfoFile",
                                           "Can't change this record: the file is gone.");
    // EINVAL: not a regular file; ELOOP: a link where the record should be.
    if (error == EINVAL || error == ELOOP)
        return QCoreApplication::translate("RecordInfoFile",
                                           "Can't change this record: it is not a record file.");
    return QCoreApplication::translate("RecordInfoFile", "Can't change this record: %1")
        .arg(QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

SResult Update(CAudioManager& audio, const std::filesystem::path& record, const FChange& change)
{
    const CRecordLock lock(record);
    switch (lock.State()) {
    case CRecordLock::EState::InUse:
        return {EStatus::InUse, QCoreApplication::translate("RecordInfoFile", kMsgInUse)};
    case CRecordLock::EState::Unavailable:
        return {EStatus::Failed, Unavailable(lock.Error())};
    case CRecordLock::EState::Held:
        break;
    }
    try {
        const std::string file = lock.FilePath();
        const std::uint32_t codec = audio.GetSuitableCodec(file, record.native());
        CTagger& tagger = audio.GetTagger();
        const std::optional<QByteArray> area = change(tagger.ReadRecordInfo(file, codec));
        if (!area)
            return {EStatus::Refused, {}};
        tagger.WriteRecordInfo(file, codec, area->constData(),
                               static_cast<std::size_t>(area->size()));
    } catch (const CAudioError& error) {
        return {EStatus::Failed, QString::fromStdString(error.what())};
    }
    return {EStatus::Written, {}};
}

} // namespace RecordInfoFile
