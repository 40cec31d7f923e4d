#pragma once

#include "audio/basedecoder.h"
#include "store/filestamp.h"
#include "store/recordcatalogue.h"

#include <QString>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CAudioManager;
class CLengthCache;

// One pass over a record file: it is opened once, its first bytes are read once (the header
// and the information area: CHeaderInfoReader), its status is taken once when asked for, the
// tail of an Ogg file is read once when its length is needed and a CLengthCache given does not
// know it (RecordLength), and it is closed: at most five calls and about 8 KB however long the
// memo is. Nothing is decoded, except a file whose header the quick reader leaves undecided (a
// header longer than its first bytes, pages that do not frame cleanly), which goes to a decoder
// when the caller gives a way to open one.
//
// Files are opened without waiting and never through a link, so a FIFO or a device named like
// a record never blocks the reader.
namespace RecordReader {

// Opens a decoder of its own format on a file (CAudioManager::OpenDecoder, which throws
// CAudioError for a file it cannot read). Empty: files the quick reader leaves undecided are
// passed over.
using DecoderOpener = std::function<std::unique_ptr<CBaseDecoder>(const std::string& path)>;
// The decoders of `audio`.
DecoderOpener DecodersOf(const CAudioManager& audio);

// What a pass reads besides the information.
enum class EDetail
{
    Info,   // nothing else: for a record whose name gives its date
    Dated,  // the status, and the length only where the birth does not date it (RecordDate)
    Length, // the length alone, the file's size asked of the open file: for a record whose
            // name gives its date (no status is taken, so a refresh cannot compare it)
    Full,   // the status and the length
};

// The record in the file `name` of the folder open as `folderFd` (AT_FDCWD with a whole path),
// reached as `path`; nullopt when it is no record (no information, or none that starts with the
// marker; not a file of a known format; gone; not a regular file where the status was taken).
// `fileName` is the name as the lists show it (NativePath::DisplayName of `path`). With
// `lengths`, a Speex memo's length is looked up there first (the file's status is then taken
// instead of its end, even for EDetail::Length), and remembered there when its tail was read.
std::optional<RecordEntry> Read(int folderFd, const char* name, std::string path, QString fileName,
                                EDetail detail, const DecoderOpener& decoders,
                                CLengthCache* lengths = nullptr);
std::optional<RecordEntry> Read(const std::filesystem::path& path, EDetail detail,
                                const DecoderOpener& decoders);

// What the date of a file whose name gives none comes from: its status, and its length where
// RecordDate::NeedsLength says so (marked or not, as long as the header is one the engine
// reads). nullopt when the file cannot be opened or is not a regular file.
struct SMeasure
{
    SFileStamp stamp;
    std::optional<std::uint64_t> samples;
};
std::optional<SMeasure> Measure(const std::filesystem::path& path);

} // namespace RecordReader
