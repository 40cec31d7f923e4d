#pragma once

#include "audio/recordlength.h"

#include <string>
#include <string_view>

// Reads a record file's information straight from its first bytes, for the two layouts
// the engine writes (the 1070-byte PCM header; the Speex header page and the comment
// page of an Ogg record), without setting up a decoder. It answers only where the bytes
// leave no doubt and then gives exactly what CTagger::ReadRecordInfo gives (the same
// information, or "not a record" where the tagger throws); anything unusual - a header
// larger than the bytes read, a page that does not frame cleanly - is Undecided, and the
// caller asks the tagger.
class CHeaderInfoReader
{
public:
    enum class EVerdict
    {
        Information, // `info` holds what the tagger would return (possibly empty)
        NotARecord,  // the tagger would throw CAudioError
        Undecided    // ask the tagger
    };

    struct SResult
    {
        EVerdict verdict = EVerdict::Undecided;
        std::string info;
        // With Information: where the audio lies, for RecordLength::Samples.
        RecordLength::SLayout layout;
    };

    // How much of the file is read: both Ogg header pages of an engine record fit.
    static constexpr std::size_t kReadBytes = 2048;
    // What a record made here needs, read first: its PCM header and area end at byte 1,070,
    // its two Ogg header pages at 1,216; the rest leaves room for a longer vendor text.
    static constexpr std::size_t kEngineBytes = 1280;

    static SResult Read(const std::string& path);
    // The decision on the first bytes of a file (at most kReadBytes) and the file's name (or
    // path: only its last three characters count).
    static SResult Decide(std::string_view name, const unsigned char* bytes, std::size_t size,
                          bool wholeFile);
};
