#include "audio/speexdecoder.h"
#include "audio/speexencoder.h"
#include "audiotestsupport.h"

#include <speex/speex.h>

using namespace testsupport;

namespace {

std::int64_t Lookahead()
{
    void* state = speex_encoder_init(speex_lib_get_mode(SPEEX_MODEID_NB));
    int lookahead = 0;
    speex_encoder_ctl(state, SPEEX_GET_LOOKAHEAD, &lookahead);
    speex_encoder_destroy(state);
    return lookahead;
}

class SpeexCodecTest : public CAudioTest
{
protected:
    void SetUp() override { m_manager.ApplyFormat(3); }

    CSpeexEncoder m_encoder{m_manager};
    CSpeexDecoder m_decoder;
};

TEST_F(SpeexCodecTest, HeaderPagesMatchTheLayout)
{
    Record(m_encoder, Path("r.ogg"), SpeechLike(8000), "abc");
    const Bytes f = ReadFile(Path("r.ogg"));
    const auto pages = ReadOgg(f).pages;
    ASSERT_GE(pages.size(), 3u);
    for (std::uint32_t i : {0u, 1u}) {
        EXPECT_EQ(pages[i].type, i == 0 ? 0x02 : 0x00) << "only page 0 begins the stream";
        EXPECT_EQ(pages[i].granule, 0);
        EXPECT_EQ(pages[i].serial, 0xAABBCCDDu);
        EXPECT_EQ(pages[i].sequence, i);
    }
    const std::size_t h = pages[0].bodyOffset;
    ASSERT_EQ(pages[0].bodySize, 80u);
    EXPECT_EQ(Text(f, h, 8), "Speex   ");
    // Rate, mode (narrow band), channels, frame size, variable bit rate, frames per packet.
    const std::pair<std::size_t, std::uint32_t> fields[] = {{36, 8000}, {40, 0}, {48, 1},
                                                            {56, 160},  {60, 0}, {64, 1}};
    for (auto [at, value] : fields)
        EXPECT_EQ(Le(f, h + at), value) << "Speex header byte " << at;

    const char* version = nullptr;
    speex_lib_ctl(SPEEX_LIB_GET_VERSION_STRING, &version);
    const std::string vendor = std::string("Encoded with Speex ") + version;
    const std::size_t v = vendor.size(), c = pages[1].bodyOffset;
    ASSERT_EQ(pages[1].bodySize, 1024 + v + 28);
    EXPECT_EQ(Le(f, c), v);
    EXPECT_EQ(Text(f, c + 4, v), vendor);
    EXPECT_EQ(Le(f, c + 4 + v), 1u);
    EXPECT_EQ(Le(f, c + 8 + v), 1040u);
    EXPECT_EQ(Text(f, c + 12 + v, 1040), "BINARY_COVERART=abc" + std::string(1021, '\0'));
    EXPECT_EQ(pages[2].offset, c + 1052 + v) << "audio starts on a page of its own";
}

// The recorder's typical ending: a full second, then a partial last buffer, even a tiny one.
TEST_F(SpeexCodecTest, PacketsGranulesAndEndOfStreamFollowTheLastWrite)
{
    const std::int64_t lookahead = Lookahead();
    for (auto [lastWrite, frames] : {std::pair<std::size_t, std::int64_t>{1840, 61}, {50, 51}}) {
        SCOPED_TRACE(lastWrite);
        Record(m_encoder, Path("r.ogg"), SpeechLike(8000 + lastWrite));
        const auto packets = ReadOgg(ReadFile(Path("r.ogg"))).packets;
        ASSERT_EQ(packets.size(), 2u + static_cast<std::size_t>(frames));
        for (std::size_t i = 2; i < packets.size(); ++i) {
            EXPECT_EQ(packets[i].number, static_cast<std::int64_t>(i));
            EXPECT_EQ(packets[i].eos, i == packets.size() - 1) << i;
            // libogg hands a granule only with the last packet of each page.
            if (packets[i].granule != -1) {
                EXPECT_EQ(packets[i].granule, static_cast<std::int64_t>(i - 1) * 160 - lookahead);
            }
        }
        EXPECT_EQ(packets.back().granule, frames * 160 - lookahead);
        m_decoder.Open(Path("r.ogg"), m_manager);
        EXPECT_EQ(m_decoder.GetLength(), frames * 160 - lookahead);
        m_decoder.Close();
    }
}

// A pause hands the encoder what came before it, whatever its length: writes that split
// frames give the very stream of one-second writes, frame for frame.
TEST_F(SpeexCodecTest, WritesOfAnyLengthMakeTheSameFrames)
{
    const Bytes samples = SpeechLike(16000, 3);
    Record(m_encoder, Path("whole.ogg"), samples);
    m_encoder.Open(Path("split.ogg"), false);
    std::size_t at = 0;
    for (std::size_t size : {1234, 6766, 77, 3, 7920}) {
        EXPECT_TRUE(m_encoder.Write(std::span(samples).subspan(at, size), at + size == 16000));
        at += size;
    }
    m_encoder.Close();
    const auto whole = ReadOgg(ReadFile(Path("whole.ogg"))).packets;
    const auto split = ReadOgg(ReadFile(Path("split.ogg"))).packets;
    ASSERT_EQ(split.size(), whole.size());
    for (std::size_t i = 2; i < whole.size(); ++i)
        EXPECT_EQ(split[i].data, whole[i].data) << i;
}

// Lossy: compare shape and loudness, not bytes. Each quality gives constant-size packets of its
// narrow-band rate (2150, 5950, 8000, 11000, 15000 bit/s in 20 ms frames); one out of range
// takes the best. The decoder stops at the end-of-stream packet without decoding it: one
// frame fewer than was written.
TEST_F(SpeexCodecTest, RoundTripKeepsTheSignalAtEveryQuality)
{
    const Bytes samples = SpeechLike(24000, 7);
    const std::pair<std::uint32_t, std::size_t> qualities[] = {{1, 6},  {2, 15}, {3, 20}, {4, 28},
                                                               {5, 38}, {0, 38}, {6, 38}, {99, 38}};
    for (const auto& [quality, packetBytes] : qualities) {
        SCOPED_TRACE(quality);
        m_manager.SetQuality(quality);
        Record(m_encoder, Path("q.ogg"), samples, "info");
        const auto packets = ReadOgg(ReadFile(Path("q.ogg"))).packets;
        ASSERT_EQ(packets.size(), 2u + 150u);
        for (std::size_t i = 2; i < packets.size(); ++i)
            EXPECT_EQ(packets[i].data.size(), packetBytes) << i;

        m_decoder.Open(Path("q.ogg"), m_manager);
        EXPECT_EQ(m_decoder.GetInfo(), "info" + std::string(1020, '\0'));
        const Bytes decoded = DecodeAll(m_decoder);
        m_decoder.Close();
        ASSERT_EQ(decoded.size(), 24000u - 160u);
        // At the lowest rate the waveform is not kept, only its spectrum and loudness.
        EXPECT_GT(BestCorrelation(Envelope(samples), Envelope(decoded), 3), 0.95);
        if (quality != 1) {
            EXPECT_GT(BestCorrelation(samples, decoded, 400), 0.6);
        }
        const double ratio = Energy(decoded) / Energy(samples);
        EXPECT_GT(ratio, 0.4);
        EXPECT_LT(ratio, 2.0);
    }
}

// A recording cut short (removed card, crash) has no end-of-stream page and may end inside a
// page. It keeps its information, measures up to its last complete page, and reads to the end
// of the file without stale packets.
TEST_F(SpeexCodecTest, StreamWithoutEndPageReadsToItsLastCompletePage)
{
    const Bytes samples = SpeechLike(80000);
    m_encoder.SetInfo("cut short");
    m_encoder.Open(Path("live.ogg"), false);
    for (std::size_t at = 0; at < samples.size(); at += 8000)
        m_encoder.Write(std::span(samples).subspan(at, 8000), false);
    std::filesystem::copy_file(Path("live.ogg"), Path("crashed.ogg"));
    m_encoder.Close();

    Bytes f = ReadFile(Path("crashed.ogg"));
    const auto pages = ReadOgg(f).pages;
    ASSERT_GE(pages.size(), 4u);
    const std::int64_t lastGranule = pages.back().granule;
    // Half of another page follows, as when the card went away in mid-write.
    f = Cat({f, Slice(f, pages[2].offset, pages[2].offset + 40)});
    WriteFile(Path("crashed.ogg"), f);

    m_decoder.Open(Path("crashed.ogg"), m_manager);
    EXPECT_EQ(m_decoder.GetInfo().substr(0, 9), "cut short");
    EXPECT_EQ(m_decoder.GetLength(), static_cast<std::uint32_t>(lastGranule));
    m_decoder.Close();
    m_decoder.Open(Path("crashed.ogg"), m_manager);
    const Bytes decoded = DecodeAll(m_decoder);
    EXPECT_EQ(decoded.size(), (ReadOgg(f).packets.size() - 2) * 160);
    EXPECT_GT(BestCorrelation(Envelope(samples), Envelope(decoded), 3), 0.95);
    Bytes buffer(8000);
    const SDecoded read = m_decoder.Read(buffer);
    EXPECT_TRUE(read.end);
    EXPECT_EQ(read.size, 0u);
}

} // namespace
