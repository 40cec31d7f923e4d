// Malformed and hostile files in a record folder: every one fails with the codec's message or
// reads to a clean end; none crashes, hangs or reads out of bounds (run under the asan
// preset). The corpus is generated here, each file a few hundred bytes.

#include "audio/pcmdecoder.h"
#include "audio/pcmencoder.h"
#include "audio/speexdecoder.h"
#include "audio/speexencoder.h"
#include "audio/tagger.h"
#include "audiotestsupport.h"

#include <random>
#include <speex/speex.h>
#include <speex/speex_header.h>

using namespace testsupport;

namespace {

const char* const kBadWav = "PcmDecoder: Cannot read the .wav header";
const char* const kBadOgg = "CSpeexDecoder: Cannot read the Ogg header";

// "RIFF" size "WAVE" "fmt " size, 16 format bytes, then `rest`.
Bytes WavStart(const Bytes& rest)
{
    return Cat(
        {Str("RIFF"), LeBytes(0x7FFFFFFF), Str("WAVEfmt "), LeBytes(1042), Bytes(16, 1), rest});
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

// A comment packet with the given length fields and 40 information bytes.
Bytes Comment(std::uint32_t vendorLength, std::uint32_t count, std::uint32_t commentLength)
{
    return Cat({LeBytes(vendorLength), Bytes(std::min<std::uint32_t>(vendorLength, 8), 'v'),
                LeBytes(count), LeBytes(commentLength), Str("BINARY_COVERART="), Bytes(40, 'i')});
}

Bytes With(Bytes b, std::size_t at, const Bytes& bytes)
{
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(at));
    return b;
}

TEST_F(CAudioTest, HostileFilesFailWithTheCodecsMessageAndAreLeftAlone)
{
    const Bytes speex = SpeexHeaderPacket();
    const Bytes good = MakeOgg({{speex}, {Comment(8, 1, 56)}});
    const Bytes data0 = Cat({Str("data"), LeBytes(0)});
    const std::tuple<const char*, const char*, Bytes> corpus[] = {
        {"empty wav", "wav", {}},
        {"RIFF only", "wav", Str("RIFF")},
        {"header cut in the format fields", "wav", Slice(WavStart({}), 0, 30)},
        {"RIFX signature", "wav", With(WavStart(data0), 3, Str("X"))},
        {"LIST chunk at 12", "wav", With(WavStart(data0), 12, Str("LIST"))},
        {"area count past the end", "wav", WavStart(Cat({Bytes{0x00, 0x04}, Bytes(500, 'x')}))},
        {"area count 65535", "wav", WavStart(Cat({Bytes{0xFF, 0xFF}, Bytes(100, 'x')}))},
        {"fact chunk before data", "wav", WavStart(Cat({Bytes{0, 0}, Str("fact"), LeBytes(4)}))},
        {"data tag without length", "wav", WavStart(Str("data"))},
        {"empty ogg", "ogg", {}},
        {"OggS then garbage", "ogg", Cat({Str("OggS"), Bytes(300, 0xA5)})},
        {"header page only", "ogg", MakeOgg({{speex}})},
        {"header page cut short", "ogg", Slice(good, 0, 50)},
        {"header page with a bad checksum", "ogg",
         With(good, 30, {static_cast<std::uint8_t>(good[30] ^ 0x55)})},
        {"first packet not a Speex header", "ogg",
         MakeOgg({{Str("OpusHead........")}, {Comment(8, 1, 56)}})},
        {"Speex header too short", "ogg", MakeOgg({{Slice(speex, 0, 40)}, {Comment(8, 1, 56)}})},
        {"comment packet of 3 bytes", "ogg", MakeOgg({{speex}, {Bytes{8, 0, 0}}})},
        {"vendor length past the packet", "ogg", MakeOgg({{speex}, {Comment(0xFFFFFFF0u, 1, 56)}})},
        {"comment length past the packet", "ogg", MakeOgg({{speex}, {Comment(8, 1, 100000)}})},
        {"comment length wraps", "ogg", MakeOgg({{speex}, {Comment(8, 1, 0xFFFFFFFFu)}})},
        {"comment from another stream", "ogg",
         Cat({MakeOgg({{speex}}), MakeOgg({{Str("x")}, {Comment(8, 1, 56)}}, 77)})},
    };
    for (const auto& [name, extension, content] : corpus) {
        SCOPED_TRACE(name);
        const std::string path = Path(std::string("memo.") + extension);
        WriteFile(path, content);
        const bool wav = std::string(extension) == "wav";
        const auto owned = m_manager.CreateDecoder(wav ? Codec::Pcm : Codec::Speex);
        CBaseDecoder& decoder = *owned;
        EXPECT_AUDIO_ERROR(decoder.Open(path, m_manager), wav ? kBadWav : kBadOgg);
        std::size_t size = 8000;
        Bytes buffer(size);
        EXPECT_TRUE(decoder.Read(buffer.data(), size)) << "a failed Open leaves nothing to read";
        EXPECT_EQ(size, 0u);

        // Through the tagger and the manager, whose codec choice may reject the file first.
        EXPECT_THROW(m_manager.GetTagger().ReadRecordInfo(path), CAudioError);
        EXPECT_THROW(m_manager.GetRecordLength(path), CAudioError);
        EXPECT_THROW(m_manager.GetTagger().WriteRecordInfo(path, "info", 4), CAudioError);
        EXPECT_EQ(ReadFile(path), content)
            << "nothing was written into a file that is not a record";
    }
}

// Every cut of a real record, and single damaged bytes in the first two kilobytes and in a
// stretch of audio pages of a Speex one, fail with the codec's message or read to a clean end.
TEST_F(CAudioTest, CutAndDamagedRecordsNeverCrashOrHang)
{
    m_manager.ApplyFormat(1);
    CPcmEncoder pcmEncoder(m_manager);
    CSpeexEncoder speexEncoder(m_manager);
    CPcmDecoder pcm;
    CSpeexDecoder speex;
    Record(pcmEncoder, Path("good.wav"), SpeechLike(300), "info");
    Record(speexEncoder, Path("good.ogg"), SpeechLike(4000), "info");
    const Bytes wav = ReadFile(Path("good.wav")), ogg = ReadFile(Path("good.ogg"));
    // Whether `content` opened; when it did, it is read to the end and measured.
    auto opens = [&](CBaseDecoder& decoder, const Bytes& content, const char* message) {
        WriteFile(Path("damaged"), content);
        try {
            decoder.Open(Path("damaged"), m_manager);
        } catch (const CAudioError& e) {
            EXPECT_STREQ(e.what(), message);
            return false;
        }
        EXPECT_LE(decoder.GetInfo().size(), 1024u);
        DecodeAll(decoder);
        decoder.Close();
        decoder.Open(Path("damaged"), m_manager);
        decoder.GetLength();
        decoder.Close();
        return true;
    };
    for (std::size_t cut = 0; cut < wav.size(); cut += 5)
        EXPECT_EQ(opens(pcm, Slice(wav, 0, cut), kBadWav), cut >= 1070) << cut;
    std::size_t opened = 0;
    for (std::size_t cut = 0; cut < ogg.size(); cut += 7)
        opened += opens(speex, Slice(ogg, 0, cut), kBadOgg);
    EXPECT_GT(opened, 0u) << "cuts after the comment page still open";
    std::mt19937 random(5);
    for (std::size_t at = 0; at < ogg.size(); at += at < 2048 ? 3 : 29)
        opens(speex, With(ogg, at, {static_cast<std::uint8_t>(ogg[at] ^ (1 + random() % 255))}),
              kBadOgg);
}

// Audio packets of junk reach the Speex decoder itself; a stream without an end page counts
// up to its last complete page.
TEST_F(CAudioTest, SpeexAudioPagesOfJunkDecodeWithoutCrashing)
{
    std::vector<SPacketPlan> packets{{SpeexHeaderPacket()}, {Comment(8, 1, 56)}};
    std::mt19937 random(9);
    for (int i = 0; i < 40; ++i) {
        Bytes junk(static_cast<std::size_t>(random() % 300));
        for (auto& b : junk)
            b = static_cast<std::uint8_t>(random());
        packets.push_back({junk, (i + 1) * 160});
    }
    WriteFile(Path("junk.ogg"), MakeOgg(packets));
    CSpeexDecoder decoder;
    decoder.Open(Path("junk.ogg"), m_manager);
    EXPECT_EQ(decoder.GetInfo(), std::string(40, 'i'));
    EXPECT_EQ(DecodeAll(decoder).size(), 40u * 160u);
    decoder.Close();
    decoder.Open(Path("junk.ogg"), m_manager);
    EXPECT_EQ(decoder.GetLength(), 40u * 160u);
}

} // namespace
