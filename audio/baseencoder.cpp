#include "audio/baseencoder.h"

#include "audio/audioerror.h"
#include "platform/disksync.h"

#include <system_error>
#include <unistd.h>

void CBaseEncoder::StartSyncing(std::FILE* file, const std::string& path)
{
    if (!m_syncToDisk)
        return;
    // Best effort: the recording goes on either way, and its file's own syncs report a disk
    // that fails.
    DiskSync::SyncFolderOf(path);
    try {
        m_syncer.Start(fileno(file));
    } catch (const std::system_error&) {
        throw CAudioError(EAudioErrc::ThreadCreation,
                          "Encoder: Cannot create the thread that syncs the file", path);
    }
    m_syncing = true;
}

bool CBaseEncoder::NoteWritten()
{
    return !m_syncing || m_syncer.Written();
}

void CBaseEncoder::StopSyncing(std::FILE* file)
{
    if (!m_syncing)
        return;
    m_syncing = false;
    m_syncer.Stop();
    // The last bytes (a PCM header's lengths) came after the last write.
    if (std::fflush(file) == 0)
        ::fdatasync(fileno(file));
}
