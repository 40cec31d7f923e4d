// Record files of any content: the quick header reader never disagrees with the tagger (nor
// the length measured from its header with the decoder's), and a rewrite of the information
// keeps the file's length, its measured length and its audio.

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/recordlength.h"
#include "audio/tagger.h"
#include "fuzzsupport.h"
#include "platform/simwavebackend.h"
#include "store/headerinforeader.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

CAudioManager& Manager()
{
    static CAudioManager manager(std::make_unique<CSimWaveBackend>(SSimWaveConfig{{}, {}, false}));
    return manager;
}

struct SReading
{
    std::string info;
    std::uint32_t samples = 0;
    std::vector<std::uint8_t> audio;
};

// Everything the engine makes of a file; nullopt when it refuses it.
std::optional<SReading> ReadWhole(const std::string& path)
{
    try {
        SReading reading;
        reading.info = Manager().GetTagger().ReadRecordInfo(path);
        reading.samples = Manager().GetRecordSamples(path);
        const auto decoder = Manager().OpenDecoder(path);
        std::vector<std::uint8_t> buffer(8000);
        for (int guard = 0; guard < 4096; ++guard) {
            const SDecoded read = decoder->Read(buffer);
            reading.audio.insert(reading.audio.end(), buffer.begin(),
                                 buffer.begin() + static_cast<long>(read.size));
            if (read.end)
                return reading;
        }
        fuzzsupport::Fail("a decoder never reached the end");
    } catch (const CAudioError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const bool ogg = size >= 4 && std::memcmp(data, "OggS", 4) == 0;
    const std::string path = (fuzzsupport::Scratch() / (ogg ? "memo.ogg" : "memo.wav")).string();
    fuzzsupport::WriteFile(path, data, size);

    const std::optional<SReading> before = ReadWhole(path);
    const std::size_t head = std::min(size, CHeaderInfoReader::kReadBytes);
    const CHeaderInfoReader::SResult quick =
        CHeaderInfoReader::Decide(path, data, head, head == size);
    if (quick.verdict == CHeaderInfoReader::EVerdict::Information &&
        (!before || before->info != quick.info))
        fuzzsupport::Fail("the quick reader gave information the tagger does not give");
    if (quick.verdict == CHeaderInfoReader::EVerdict::NotARecord && before)
        fuzzsupport::Fail("the quick reader refused a file the tagger reads");
    if (quick.verdict == CHeaderInfoReader::EVerdict::Information) {
        // The lists measure from the quick reader's header what the decoder measures.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        const std::optional<std::uint64_t> samples = RecordLength::Samples(quick.layout, fd, size);
        ::close(fd);
        if (!samples || std::min<std::uint64_t>(*samples, 0xFFFFFFFF) != before->samples)
            fuzzsupport::Fail("the lists and the decoder measure a record differently");
    }

    try {
        Manager().GetTagger().WriteRecordInfo(path, "fuzz", 4);
    } catch (const CAudioError&) {
        if (fuzzsupport::ReadFile(path) != std::string(reinterpret_cast<const char*>(data), size))
            fuzzsupport::Fail("a refused rewrite changed the file");
        return 0;
    }
    if (fuzzsupport::ReadFile(path).size() != size)
        fuzzsupport::Fail("a rewrite changed the file's length");
    const std::optional<SReading> after = ReadWhole(path);
    if (!before || !after)
        fuzzsupport::Fail("a file was rewritten that cannot be read before and after");
    if (after->info.compare(0, 4, "fuzz") != 0)
        fuzzsupport::Fail("the rewritten information does not read back");
    if (after->samples != before->samples || after->audio != before->audio)
        fuzzsupport::Fail("a rewrite changed the audio");
    return 0;
}
