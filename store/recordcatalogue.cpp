#include "store/recordcatalogue.h"

#include "audio/tagger.h"
#include "platform/disksync.h"
#include "store/nativepath.h"
#include "store/recordlisting.h"
#include "store/recordlock.h"
#include "store/trash.h"

#include <QCoreApplication>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

void ScanRecordFolder(const QString& folder, CTagger& tagger, RecordList& list)
{
    for (RecordEntry& entry : BuildRecordList({folder}, tagger))
        list.push_back(std::move(entry));
}

RecordList BuildRecordList(const QStringList& folders, CTagger& tagger)
{
    RecordList list;
    const CRecordListing listing(folders);
    const RecordReader::DecoderOpener decoders = RecordReader::DecodersOf(tagger.Manager());
    for (const CRecordListing::SFile& file : listing.Files()) {
        if (std::optional<RecordEntry> entry =
                listing.Read(file, RecordReader::EDetail::Full, decoders))
            list.push_back(std::move(*entry));
    }
    return list;
}

void FreeRecordList(RecordList& list)
{
    list.clear();
    list.shrink_to_fit();
}

std::optional<fs::path> ResolveInRecordFolders(const fs::path& file, const QStringList& folders)
{
    std::error_code error;
    const fs::path real = fs::canonical(file, error);
    if (error)
        return std::nullopt;
    for (const QString& folder : folders) {
        const fs::path canonical = fs::canonical(NativePath::FromText(folder), error);
        if (!error && real.parent_path() == canonical)
            return real;
    }
    return std::nullopt;
}

EDeleteResult DeleteRecord(const fs::path& path)
{
    const CRecordLock lock(path);
    if (lock.State() == CRecordLock::EState::InUse)
        return EDeleteResult::InUse;
    if (!lock.Held())
        return EDeleteResult::Failed;
    if (::unlink(path.c_str()) == 0) {
        // Gone for good only once the folder is synced; as for the trash, a failure here is
        // not the delete failing.
        DiskSync::SyncFolderOf(path.native());
        return EDeleteResult::Deleted;
    }
    return errno == EBUSY || errno == ETXTBSY ? EDeleteResult::InUse : EDeleteResult::Failed;
}

EDisposal DeleteDisposal(const fs::path& path)
{
    return Trash::FolderFor(path) ? EDisposal::Trash : EDisposal::Permanent;
}

EDeleteResult TrashRecord(const fs::path& path)
{
    const CRecordLock lock(path);
    if (lock.State() == CRecordLock::EState::InUse)
        return EDeleteResult::InUse;
    if (!lock.Held())
        return EDeleteResult::Failed;
    return Trash::Move(path) ? EDeleteResult::Deleted : EDeleteResult::Failed;
}

EDeleteResult DisposeRecord(const fs::path& path, EDisposal disposal)
{
    return disposal == EDisposal::Trash ? TrashRecord(path) : DeleteRecord(path);
}

QString DeleteRecordMessage(EDeleteResult result)
{
    switch (result) {
    case EDeleteResult::Deleted:
        return {};
    case EDeleteResult::InUse:
        return QCoreApplication::translate(
            "CRecordCatalogue",
            "Can't delete this record because it is used by other application.");
    case EDeleteResult::Failed:
        break;
    }
    return QCoreApplication::translate("CRecordCatalogue",
                                       "Can't delete this record because of an unknown reason.");
}

int SelectionAfterDelete(int count, int deleted)
{
    if (deleted < 0 || deleted >= count || count == 1)
        return -1;
    return deleted < count - 1 ? deleted : deleted - 1;
}
