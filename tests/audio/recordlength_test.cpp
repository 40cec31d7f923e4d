// A record's length from its header and its last page, on every record of the test corpora,
// against decoding: every sample the PCM decoder delivers, and the granule position a Speex
// decoder reaches reading every page in order. The cut and damaged records of the hostile
// files are measured the same way there.

#include "audio/oggchecksum.h"
#include "audio/pcmencoder.h"
#include "audio/recordlength.h"
#include "audio/speexencoder.h"
#include "audiotestsupport.h"

#include <filesystem>
#include <random>
#include <speex/speex_header.h>

using namespace testsupport;

namespace {

Bytes SpeexHeaderPacket()
{
    SpeexHeader header{};
    speex_init_header(&header, 8000, 1, speex_lib_get_mode(SPEEX_MODEID_NB));
    header.frames_per_packet = 1;
    int size = 0;
    char* packet = speex_header_to_packet(&header, &size);
    Bytes out(packet, packet + size);
    speex_header_free(packet);
    return out;
}

// A hand-made stream: the two header packets, then one page per audio packet of the sizes
// given, 160 samples each.
Bytes Stream(const std::vector<std::size_t>& packets, int serial = static_cast<int>(0xAABBCCDDu))
{
    const Bytes comment = Cat(
        {LeBytes(4), Str("vend"), LeBytes(1), LeBytes(20), Str("BINARY_COVERART="), Str("info")});
    std::vector<SPacketPlan> plans{{SpeexHeaderPacket()}, {comment}};
    for (std::size_t i = 0; i < packets.size(); ++i)
        plans.push_back({Bytes(packets[i], static_cast<std::uint8_t>(i)),
                         static_cast<std::int64_t>(i + 1) * 160});
    return MakeOgg(plans, serial);
}

class RecordLengthTest : public CAudioTest
{
protected:
    // A record the engine writes in `format` (0..5) from `samples` samples; `cut` bytes are then
    // taken off its end, as a crash leaves it.
    Bytes Engine(int format, std::size_t samples, std::size_t cut = 0)
    {
        m_manager.ApplyFormat(format);
        const auto encoder = m_manager.CreateEncoder(m_manager.CodecIndex());
        const std::string path = Path(format == 0 ? "engine.wav" : "engine.ogg");
        Record(*encoder, path, SpeechLike(samples), "info");
        const Bytes bytes = ReadFile(path);
        return Slice(bytes, 0, bytes.size() - std::min(cut, bytes.size()));
    }

    std::vector<std::pair<std::string, Bytes>> Corpus()
    {
        std::vector<std::pair<std::string, Bytes>> corpus;
        for (int format = 0; format <= 5; ++format) {
            const std::string ext = format == 0 ? ".wav" : ".ogg";
            for (const std::size_t samples : {0, 100, 8000, 12 * 8000 + 123})
                corpus.emplace_back(std::to_string(format) + "-" + std::to_string(samples) + ext,
                                    Engine(format, samples));
        }
        // A crash: no end page (cut inside the last page, or after a whole one), or a WAV
        // whose length fields were never written.
        corpus.emplace_back("cut inside a page.ogg", Engine(3, 5 * 8000, 100));
        const Bytes whole = Engine(3, 5 * 8000);
        const std::vector<SPage> pages = ReadOgg(whole).pages;
        corpus.emplace_back("cut after a page.ogg",
                            Slice(whole, 0, pages[pages.size() - 2].offset));
        corpus.emplace_back(
            "never closed.wav",
            WavFile(Bytes(12345, 0x90), {.extension = InfoArea("info"), .closed = false}));
        // A last page longer than the first block read, further data that is no page (the
        // page then spans two blocks), and another stream after ours.
        corpus.emplace_back("long last page.ogg", Stream({30, 40, 20000}));
        corpus.emplace_back("tail of junk.ogg", Cat({Stream({30, 20000}), Bytes(60000, 0x4F)}));
        corpus.emplace_back("another stream after.ogg",
                            Cat({Stream({30, 40, 50}), Stream({10, 10, 10, 10, 10}, 77)}));
        corpus.emplace_back("header pages only.ogg", Stream({}));
        for (const auto& entry : std::filesystem::directory_iterator(PARLANTOGRAPHER_RECORD_CORPUS))
            corpus.emplace_back(entry.path().filename().string(), ReadFile(entry.path().string()));
        return corpus;
    }
};

TEST_F(RecordLengthTest, TheHeaderAndTheLastPageGiveWhatDecodingFinds)
{
    std::size_t measured = 0;
    for (const auto& [name, bytes] : Corpus()) {
        SCOPED_TRACE(name);
        const std::string path = Path("corpus-" + name);
        WriteFile(path, bytes);
        std::uint64_t decoded = 0;
        try {
            const auto decoder = m_manager.OpenDecoder(path);
            decoded = m_manager.GetSuitableCodec(path) == Codec::Pcm
                          ? DecodeAll(*decoder).size()
                          : static_cast<std::uint64_t>(GranuleReadingForward(bytes));
        } catch (const CAudioError& error) {
            ADD_FAILURE() << error.what();
            continue;
        }
        EXPECT_EQ(m_manager.GetRecordSamples(path), decoded);
        ++measured;
    }
    EXPECT_GE(measured, 30u);
}

// The folded checksum against libogg's on pages of every length around the folding's
// steps (blocks of 16 bytes, rounds of 64, the padding in front) up to the longest page.
TEST(OggChecksum, FoldingGivesLiboggsChecksum)
{
    std::mt19937 random(17);
    Bytes page(27 + 255 + 255 * 255);
    for (auto& byte : page)
        byte = static_cast<std::uint8_t>(random());
    for (std::size_t length = 27; length < 300; ++length)
        ASSERT_EQ(OggChecksum::Of(page.data(), length), OggChecksum::ByLibogg(page.data(), length))
            << length;
    for (const std::size_t length : {1077, 4109, 65306, 27 + 255 + 255 * 255})
        EXPECT_EQ(OggChecksum::Of(page.data(), length), OggChecksum::ByLibogg(page.data(), length))
            << length;
}

TEST(RecordLength, SecondsAreRoundedAndAtLeastOne)
{
    EXPECT_EQ(RecordLength::Seconds(0, 8000), 1u);
    EXPECT_EQ(RecordLength::Seconds(11960, 8000), 1u);
    EXPECT_EQ(RecordLength::Seconds(12000, 8000), 2u);
    EXPECT_EQ(RecordLength::Seconds(std::uint64_t{1} << 50, 8000), 0xFFFFFFFFu);
}

} // namespace
