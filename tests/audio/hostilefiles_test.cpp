// Malformed and hostile files in a record folder: every one fails with the documented message
// or reads to a clean end; none crashes, hangs or reads out of bounds (run under the asan
// preset). The corpus is generated here, each file a few hundred bytes.

#include "audio/pcmdecoder.h"
#include "audio/pcmencoder.h"
#include "audio/speexdecoder.h"
#include "audio/speexencoder.h"
#include "audio/tagger.h"
#include "codectestsupport.h"

#include <speex/speex.h>
#include <speex/speex_header.h>

using namespace CodecTest;

namespace {

Bytes Str(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes Le32Bytes(std::uint32_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

// "RIFF" size "WAVE" "fmt " size, 16 format bytes, then `rest`.
Bytes WavStart(const Bytes& rest)
{
    Bytes b = Concat(Concat(Concat(Str("RIFF"), Le32Bytes(0x7FFFFFFF)), Str("WAVEfmt ")),
                     Le32Bytes(1042));
    b.resize(b.size() + 16, 1);
    return Concat(b, rest);
}

Bytes SpeexHeaderPacket()
{
    SpeexHeader header{};
    speex_init_header(&header, 8000, 1, speex_lib_get_mode(SPEEX_MODEID_NB));
    int size = 0;
    char* packet = speex_header_to_packet(&header, &size);
    Bytes out(packet, packet + size);
    speex_header_free(packet);
    return out;
}

Bytes Comment(std::uint32_t vendorLength, std::uint32_t count, std::uint32_t commentLength,
              std::size_t actualBytes = 40)
{
    Bytes b = Le32Bytes(vendorLength);
    b.resize(4 + std::min<std::size_t>(vendorLength, 8), 'v');
    b = Concat(Concat(b, Le32Bytes(count)), Le32Bytes(commentLength));
    b = Concat(b, Str("BINARY_COVERART="));
    b.resize(b.size() + actualBytes, 'i');
    return b;
}

struct SHostileCase
{
    std::string name;
    std::string extension;
    Bytes content;
};

std::ostream& operator<<(std::ostream& out, const SHostileCase& c)
{
    return out << c.name;
}

std::vector<SHostileCase> Corpus()
{
    const Bytes speex = SpeexHeaderPacket();
    const Bytes good = MakeOgg({{speex}, {Comment(8, 1, 56)}});
    Bytes badCrc = good;
    badCrc[30] ^= 0x55;
    Bytes truncatedPage = good;
    truncatedPage.resize(50);
    Bytes shortSpeex = speex;
    shortSpeex.resize(40);
    return {
        {"empty wav", "wav", {}},
        {"RIFF only", "wav", Str("RIFF")},
        {"header cut in the format fields", "wav",
         [] {
             auto b = WavStart({});
             b.resize(30);
             return b;
         }()},
        {"RIFX signature", "wav",
         [] {
             auto b = WavStart(Concat(Str("data"), Le32Bytes(0)));
             b[3] = 'X';
             return b;
         }()},
        {"LIST chunk at 12", "wav",
         [] {
             auto b = WavStart(Concat(Str("data"), Le32Bytes(0)));
             std::copy_n("LIST", 4, b.begin() + 12);
             return b;
         }()},
        {"area count past the end", "wav", WavStart(Concat(Bytes{0x00, 0x04}, Bytes(500, 'x')))},
        {"area count 65535", "wav", WavStart(Concat(Bytes{0xFF, 0xFF}, Bytes(100, 'x')))},
        {"fact chunk before data", "wav",
         WavStart(Concat(Concat(Bytes{0, 0}, Str("fact")), Le32Bytes(4)))},
        {"data tag without length", "wav", WavStart(Str("data"))},
        {"empty ogg", "ogg", {}},
        {"OggS then garbage", "ogg", Concat(Str("OggS"), Bytes(300, 0xA5))},
        {"header page only", "ogg", MakeOgg({{speex}})},
        {"header page cut short", "ogg", truncatedPage},
        {"header page with a bad checksum", "ogg", badCrc},
        {"first packet not a Speex header", "ogg",
         MakeOgg({{Str("OpusHead........")}, {Comment(8, 1, 56)}})},
        {"Speex header too short", "ogg", MakeOgg({{shortSpeex}, {Comment(8, 1, 56)}})},
        {"comment packet of 3 bytes", "ogg", MakeOgg({{speex}, {Bytes{8, 0, 0}}})},
        {"vendor length past the packet", "ogg", MakeOgg({{speex}, {Comment(0xFFFFFFF0u, 1, 56)}})},
        {"comment length past the packet", "ogg", MakeOgg({{speex}, {Comment(8, 1, 100000)}})},
        {"comment from another stream", "ogg",
         Concat(MakeOgg({{speex}}), MakeOgg({{Str("x")}, {Comment(8, 1, 56)}}, 77))},
    };
}

class HostileFileTest : public CTempDirTest, public ::testing::WithParamInterface<SHostileCase>
{
protected:
    CAudioManager m_manager;
};

} // namespace

TEST_P(HostileFileTest, FailsWithTheDocumentedMessageAndLeavesTheFileAlone)
{
    const SHostileCase& c = GetParam();
    const std::string path = Path("memo." + c.extension);
    WriteAllBytes(path, c.content);
    const bool wav = c.extension == "wav";
    const char* message = wav ? "PcmDecoder: Cannot read the .wav header"
                              : "CSpeexDecoder: Cannot read the Ogg header";

    CPcmDecoder pcm;
    CSpeexDecoder speex;
    CBaseDecoder& decoder = wav ? static_cast<CBaseDecoder&>(pcm) : speex;
    EXPECT_AUDIO_ERROR(decoder.Open(path, m_manager), message);
    std::size_t size = 8000;
    Bytes buffer(size);
    EXPECT_TRUE(decoder.Read(buffer.data(), size)) << "a failed Open leaves nothing to read";
    EXPECT_EQ(size, 0u);

    // Through the tagger and the manager, whose codec choice may reject the file first.
    m_manager.SetCodec(Codec::Pcm);
    EXPECT_THROW(m_manager.GetTagger().ReadRecordInfo(path), CAudioError);
    EXPECT_THROW(m_manager.GetRecordLength(path), CAudioError);
    m_manager.SetCodec(Codec::Speex);
    EXPECT_THROW(m_manager.GetTagger().WriteRecordInfo(path, "info", 4), CAudioError);
    EXPECT_EQ(m_manager.CodecIndex(), Codec::Speex);
    EXPECT_EQ(ReadAll(path), c.content) << "nothing was written into a file that is not a record";
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileFileTest, ::testing::ValuesIn(Corpus()),
                         [](const auto& param) {
                             std::string name = param.param.name;
                             for (auto& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

namespace {

class DamagedRecordTest : public CTempDirTest
{
protected:
    // Opens `path` with `decoder`; when that succeeds, reads to the end and measures.
    // Returns whether it opened. Any error must be the documented one.
    bool TryEverything(CBaseDecoder& decoder, const std::string& path, const char* message)
    {
        try {
            decoder.Open(path, m_manager);
        } catch (const CAudioError& e) {
            EXPECT_STREQ(e.what(), message);
            return false;
        }
        EXPECT_LE(decoder.GetInfo().size(), 1024u);
        DecodeAll(decoder);
        decoder.Close();
        decoder.Open(path, m_manager);
        decoder.GetLength();
        decoder.Close();
        return true;
    }

    CAudioManager m_manager;
};

} // namespace

// Every cut of a real record, and every single damaged byte in its first two kilobytes and in
// a stretch of audio pages, fails cleanly or reads to a clean end.
TEST_F(DamagedRecordTest, CutAndDamagedSpeexRecordsNeverCrashOrHang)
{
    m_manager.ApplyFormat(1);
    CSpeexEncoder encoder(m_manager);
    CSpeexDecoder decoder;
    Record(encoder, Path("good.ogg"), SpeechLike(4000), "info");
    const Bytes good = ReadAll(Path("good.ogg"));
    const char* message = "CSpeexDecoder: Cannot read the Ogg header";

    std::size_t opened = 0;
    for (std::size_t cut = 0; cut < good.size(); cut += 7) {
        WriteAllBytes(Path("cut.ogg"), Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        opened += TryEverything(decoder, Path("cut.ogg"), message);
    }
    EXPECT_GT(opened, 0u) << "cuts after the comment page still open";

    std::mt19937 random(5);
    for (std::size_t at = 0; at < good.size(); at += at < 2048 ? 3 : 29) {
        Bytes damaged = good;
        damaged[at] = static_cast<std::uint8_t>(damaged[at] ^ (1 + random() % 255));
        WriteAllBytes(Path("damaged.ogg"), damaged);
        TryEverything(decoder, Path("damaged.ogg"), message);
    }
}

TEST_F(DamagedRecordTest, SpeexAudioPagesOfJunkDecodeWithoutCrashing)
{
    std::vector<SPacketPlan> packets{{SpeexHeaderPacket()}, {Comment(8, 1, 56)}};
    std::mt19937 random(9);
    for (int i = 0; i < 40; ++i) {
        Bytes junk(static_cast<std::size_t>(random() % 300));
        for (auto& b : junk)
            b = static_cast<std::uint8_t>(random());
        packets.push_back({junk, (i + 1) * 160});
    }
    WriteAllBytes(Path("junk.ogg"), MakeOgg(packets));
    CSpeexDecoder decoder;
    decoder.Open(Path("junk.ogg"), m_manager);
    EXPECT_EQ(decoder.GetInfo(), std::string(40, 'i'));
    EXPECT_EQ(DecodeAll(decoder).size(), 40u * 160u);
    decoder.Close();
    decoder.Open(Path("junk.ogg"), m_manager);
    EXPECT_EQ(decoder.GetLength(), 40u * 160u) << "no end page: the last complete page counts";
}

TEST_F(DamagedRecordTest, CutPcmRecordsNeverCrash)
{
    CPcmEncoder encoder(m_manager);
    CPcmDecoder decoder;
    Record(encoder, Path("good.wav"), SpeechLike(300), "info");
    const Bytes good = ReadAll(Path("good.wav"));
    for (std::size_t cut = 0; cut < good.size(); cut += 5) {
        WriteAllBytes(Path("cut.wav"), Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        const bool opened =
            TryEverything(decoder, Path("cut.wav"), "PcmDecoder: Cannot read the .wav header");
        EXPECT_EQ(opened, cut >= 1070) << cut;
    }
}
