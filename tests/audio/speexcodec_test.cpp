#include "audio/speexcomment.h"
#include "audio/speexdecoder.h"
#include "audio/speexencoder.h"
#include "codectestsupport.h"

#include <speex/speex.h>

using namespace CodecTest;

namespace {

int Lookahead()
{
    void* state = speex_encoder_init(speex_lib_get_mode(SPEEX_MODEID_NB));
    int lookahead = 0;
    speex_encoder_ctl(state, SPEEX_GET_LOOKAHEAD, &lookahead);
    speex_encoder_destroy(state);
    return lookahead;
}

std::string Vendor()
{
    const char* version = nullptr;
    speex_lib_ctl(SPEEX_LIB_GET_VERSION_STRING, &version);
    return std::string("Encoded with Speex ") + version;
}

class SpeexCodecTest : public CTempDirTest
{
protected:
    void SetUp() override
    {
        CTempDirTest::SetUp();
        m_manager.ApplyFormat(3);
    }

    CAudioManager m_manager;
    CSpeexEncoder m_encoder{m_manager};
    CSpeexDecoder m_decoder;
};

} // namespace

TEST_F(SpeexCodecTest, HeaderPagesMatchTheLayout)
{
    Record(m_encoder, Path("r.ogg"), SpeechLike(8000), "abc");
    const Bytes f = ReadAll(Path("r.ogg"));
    const auto pages = Pages(f);
    ASSERT_GE(pages.size(), 3u);

    const SPage& first = pages[0];
    EXPECT_EQ(first.offset, 0u);
    EXPECT_EQ(first.type, 0x02); // beginning of stream
    EXPECT_EQ(first.granule, 0);
    EXPECT_EQ(first.serial, 0xAABBCCDDu);
    EXPECT_EQ(first.sequence, 0u);
    ASSERT_EQ(first.bodySize, 80u);
    EXPECT_EQ(Text(f, first.bodyOffset, 8), "Speex   ");
    const std::size_t h = first.bodyOffset;
    EXPECT_EQ(Le32(f, h + 36), 8000u) << "rate";
    EXPECT_EQ(Le32(f, h + 40), 0u) << "mode: narrow band";
    EXPECT_EQ(Le32(f, h + 48), 1u) << "channels";
    EXPECT_EQ(Le32(f, h + 56), 160u) << "frame size";
    EXPECT_EQ(Le32(f, h + 60), 0u) << "variable bit rate";
    EXPECT_EQ(Le32(f, h + 64), 1u) << "frames per packet";

    const SPage& second = pages[1];
    const std::string vendor = Vendor();
    const std::size_t v = vendor.size();
    EXPECT_EQ(second.type, 0x00);
    EXPECT_EQ(second.granule, 0);
    EXPECT_EQ(second.serial, 0xAABBCCDDu);
    EXPECT_EQ(second.sequence, 1u);
    ASSERT_EQ(second.bodySize, 1024 + v + 28);
    const std::size_t c = second.bodyOffset;
    EXPECT_EQ(Le32(f, c), v);
    EXPECT_EQ(Text(f, c + 4, v), vendor);
    EXPECT_EQ(Le32(f, c + 4 + v), 1u);
    EXPECT_EQ(Le32(f, c + 8 + v), 1040u);
    EXPECT_EQ(Text(f, c + 12 + v, 16), "BINARY_COVERART=");
    EXPECT_EQ(Text(f, c + 28 + v, 3), "abc");
    EXPECT_EQ(Bytes(f.begin() + static_cast<long>(c + 31 + v),
                    f.begin() + static_cast<long>(c + 1052 + v)),
              Bytes(1021, 0));
    EXPECT_EQ(pages[2].offset, c + 1052 + v) << "audio starts on a page of its own";
}

// The recorder's typical ending: a full second, then a partial last buffer.
TEST_F(SpeexCodecTest, PacketsGranulesAndEndOfStreamOfA9840SampleRecording)
{
    const Bytes samples = SpeechLike(9840);
    m_encoder.Open(Path("r.ogg"), false);
    EXPECT_NE(m_encoder.Write(samples.data(), 8000, false), 0);
    EXPECT_NE(m_encoder.Write(samples.data() + 8000, 1840, true), 0);
    m_encoder.Close();

    const auto packets = Packets(ReadAll(Path("r.ogg")));
    ASSERT_EQ(packets.size(), 2u + 61u);
    const std::int64_t lookahead = Lookahead();
    for (std::size_t i = 2; i < packets.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(packets[i].number, static_cast<std::int64_t>(i));
        EXPECT_EQ(packets[i].eos, i == packets.size() - 1);
        // libogg hands a granule only with the last packet of each page.
        if (packets[i].granule != -1) {
            EXPECT_EQ(packets[i].granule, static_cast<std::int64_t>(i - 1) * 160 - lookahead);
        }
    }
    EXPECT_EQ(packets.back().granule, 9760 - lookahead);

    m_decoder.Open(Path("r.ogg"), m_manager);
    EXPECT_EQ(m_decoder.GetLength(), static_cast<std::uint32_t>(9760 - lookahead));
}

TEST(SpeexQuality, ManagerQualityMapsToTheEncoderQuality)
{
    const std::pair<std::uint32_t, int> table[] = {{1, 0}, {2, 2}, {3, 4}, {4, 6},
                                                   {5, 8}, {0, 8}, {6, 8}, {99, 8}};
    for (auto [quality, expected] : table)
        EXPECT_EQ(CSpeexEncoder::MappedQuality(quality), expected) << quality;
}

// Constant bit rate: every audio packet has the size libspeex gives at the mapped quality.
TEST_F(SpeexCodecTest, EachQualityProducesPacketsOfItsBitRate)
{
    const Bytes samples = SpeechLike(1600);
    for (std::uint32_t quality = 1; quality <= 5; ++quality) {
        SCOPED_TRACE(quality);
        m_manager.SetQuality(quality);
        Record(m_encoder, Path("q.ogg"), samples);
        const auto packets = Packets(ReadAll(Path("q.ogg")));
        ASSERT_EQ(packets.size(), 12u);

        void* state = speex_encoder_init(speex_lib_get_mode(SPEEX_MODEID_NB));
        int q = CSpeexEncoder::MappedQuality(quality);
        speex_encoder_ctl(state, SPEEX_SET_QUALITY, &q);
        SpeexBits bits;
        speex_bits_init(&bits);
        spx_int16_t frame[160] = {};
        speex_encode_int(state, frame, &bits);
        speex_bits_insert_terminator(&bits);
        const long expected = speex_bits_nbytes(&bits);
        speex_bits_destroy(&bits);
        speex_encoder_destroy(state);
        for (std::size_t i = 2; i < packets.size(); ++i)
            EXPECT_EQ(static_cast<long>(packets[i].data.size()), expected);
    }
}

// Lossy: compare shape and loudness, not bytes. The decoder stops at the end-of-stream packet
// without decoding it, so it delivers one frame fewer than was written.
TEST_F(SpeexCodecTest, RoundTripKeepsTheSignalAtEveryQuality)
{
    const Bytes samples = SpeechLike(24000, 7);
    for (std::uint32_t quality = 1; quality <= 5; ++quality) {
        SCOPED_TRACE(quality);
        m_manager.SetQuality(quality);
        Record(m_encoder, Path("q.ogg"), samples, "info");
        m_decoder.Open(Path("q.ogg"), m_manager);
        EXPECT_EQ(m_decoder.GetInfo(), std::string("info") + std::string(1020, '\0'));
        const Bytes decoded = DecodeAll(m_decoder);
        m_decoder.Close();
        ASSERT_EQ(decoded.size(), 24000u - 160u);
        // At the lowest rates the waveform is not kept, only its spectrum and loudness.
        EXPECT_GT(BestCorrelation(Envelope(samples), Envelope(decoded), 3), 0.95);
        if (quality >= 2) {
            EXPECT_GT(BestCorrelation(samples, decoded, 400), 0.6);
        }
        const double ratio = Energy(decoded) / Energy(samples);
        EXPECT_GT(ratio, 0.4);
        EXPECT_LT(ratio, 2.0);
    }
}

TEST_F(SpeexCodecTest, ShortLastWriteStillEndsTheStream)
{
    const Bytes samples = SpeechLike(8050);
    m_encoder.Open(Path("r.ogg"), false);
    m_encoder.Write(samples.data(), 8000, false);
    EXPECT_NE(m_encoder.Write(samples.data() + 8000, 50, true), 0);
    m_encoder.Close();
    const auto packets = Packets(ReadAll(Path("r.ogg")));
    ASSERT_EQ(packets.size(), 2u + 51u);
    EXPECT_TRUE(packets.back().eos);
    EXPECT_EQ(packets.back().granule, 51 * 160 - Lookahead());
}

TEST_F(SpeexCodecTest, OpenFailuresCarryTheDocumentedMessages)
{
    EXPECT_AUDIO_ERROR(m_decoder.Open(Path("missing.ogg"), m_manager),
                       "CSpeexDecoder: Cannot open the input file");
    EXPECT_AUDIO_ERROR(m_encoder.Open(Path("no/such/dir/r.ogg"), false),
                       "SpeexEncoder: Cannot open the output file");
    EXPECT_AUDIO_ERROR(m_encoder.Open(Path("missing.ogg"), true),
                       "SpeexEncoder: Cannot open the output file");
    std::size_t size = 8000;
    Bytes buffer(size);
    EXPECT_TRUE(m_decoder.Read(buffer.data(), size)) << "a closed decoder is at its end";
    EXPECT_EQ(size, 0u);
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
        m_encoder.Write(samples.data() + at, 8000, false);
    std::filesystem::copy_file(Path("live.ogg"), Path("crashed.ogg"));
    m_encoder.Close();

    Bytes f = ReadAll(Path("crashed.ogg"));
    const auto pages = Pages(f);
    ASSERT_GE(pages.size(), 4u);
    const SPage& lastWhole = pages.back();
    // Half of another page follows, as when the card went away in mid-write.
    const Bytes tail(f.begin() + static_cast<long>(pages[2].offset),
                     f.begin() + static_cast<long>(pages[2].offset + 40));
    f.insert(f.end(), tail.begin(), tail.end());
    WriteAllBytes(Path("crashed.ogg"), f);

    m_decoder.Open(Path("crashed.ogg"), m_manager);
    EXPECT_EQ(m_decoder.GetInfo().substr(0, 9), "cut short");
    EXPECT_EQ(m_decoder.GetLength(), static_cast<std::uint32_t>(lastWhole.granule));
    m_decoder.Close();

    m_decoder.Open(Path("crashed.ogg"), m_manager);
    const Bytes decoded = DecodeAll(m_decoder);
    const std::size_t frames = Packets(f).size() - 2;
    EXPECT_EQ(decoded.size(), frames * 160);
    EXPECT_GT(BestCorrelation(Envelope(samples), Envelope(decoded), 3), 0.95);
    std::size_t size = 8000;
    Bytes buffer(size);
    EXPECT_TRUE(m_decoder.Read(buffer.data(), size));
    EXPECT_EQ(size, 0u);
}

// Pure packet checks: offsets, and lengths that point outside the packet.
TEST(SpeexCommentPacket, BuildsAndParsesTheInformationArea)
{
    const auto packet = SpeexComment::Build("vendor", "hello", 1024);
    ASSERT_EQ(packet.size(), 1024u + 6 + 28);
    const auto info = SpeexComment::Parse(packet.data(), packet.size(), 1024);
    ASSERT_TRUE(info);
    EXPECT_EQ(*info, std::string("hello") + std::string(1019, '\0'));
    EXPECT_EQ(SpeexComment::Vendor(std::string(100, 'v').c_str()).size(), 63u);
}

TEST(SpeexCommentPacket, RejectsLengthsOutsideThePacketAndIgnoresOtherCommentCounts)
{
    auto with = [](std::size_t at, std::uint32_t value) {
        auto p = SpeexComment::Build("vendor", "hello", 1024);
        for (int i = 0; i < 4; ++i)
            p[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        return p;
    };
    struct Case
    {
        const char* name;
        Bytes packet;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"empty", {}, std::nullopt},
        {"3 bytes", {1, 0, 0}, std::nullopt},
        {"vendor past the end", with(0, 0xFFFFFFF0u), std::nullopt},
        {"vendor to the very end", with(0, 1024 + 6 + 24), std::nullopt},
        {"comment past the end", with(14, 1041), std::nullopt},
        {"comment length wraps", with(14, 0xFFFFFFFFu), std::nullopt},
        {"two comments", with(10, 2), std::string()},
        {"no comments", with(10, 0), std::string()},
        {"comment shorter than its key", with(14, 5), std::string()},
        {"comment of just the key", with(14, 16), std::string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SpeexComment::Parse(c.packet.data(), c.packet.size(), 1024), c.expected);
    }
}
