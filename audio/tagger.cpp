#include "audio/tagger.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/baseencoder.h"
#include "platform/disksync.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace {

std::optional<struct stat> StatOf(const std::string& path)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return status;
}

// Puts back the access and modification times a file had before it was rewritten.
void RestoreTimes(const std::string& path, const struct stat& before)
{
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    // Best effort: a file we may write but do not own refuses explicit times. The
    // information was written all the same, and only a record without a dated name
    // would then appear as recorded now.
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

} // namespace

void CTagger::WriteRecordInfo(const std::string& path, const char* info, std::size_t length) const
{
    WriteRecordInfo(path, m_manager.GetSuitableCodec(path), info, length);
}

void CTagger::WriteRecordInfo(const std::string& path, std::uint32_t codec, const char* info,
                              std::size_t length) const
{
    const std::unique_ptr<CBaseEncoder> encoder = m_manager.CreateEncoder(codec);
    const std::optional<struct stat> before = StatOf(path);
    const std::size_t kept = std::min(length, m_manager.InfoCapacity());
    encoder->SetInfo(std::string(info, kept));
    encoder->Open(path, true);
    encoder->Close();
    if (before)
        RestoreTimes(path, *before);
    // Once, after the times are back: an edit that was acknowledged survives a power cut.
    if (!DiskSync::SyncFile(path)) {
        const int error = errno;
        throw CAudioError(EAudioErrc::CannotWriteHeader,
                          "Tagger: Cannot write the information to the disk", path, error);
    }
}

std::string CTagger::ReadRecordInfo(const std::string& path) const
{
    return m_manager.OpenDecoder(path)->GetInfo();
}

std::string CTagger::ReadRecordInfo(const std::string& path, std::uint32_t codec) const
{
    return m_manager.OpenDecoder(path, codec)->GetInfo();
}
