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
    return Cat({Str("RIFF"), LeBytes(0x7FFFFFFF), Str("WAVEfmt "), LeBytes(1042),
                Slice(WavFile({}), 20, 36), rest});
}

Bytes SpeexHeaderPacket(int mode = SPEEX_MODEID_NB, int channels = 1, int framesPerPacket = 1)
{
    SpeexHeader header{};
    speex_init_header(&header, mode == SPEEX_MODEID_NB ? 8000 : 16000, channels,
                      speex_lib_get_mode(mode));
    header.frames_per_packet = framesPerPacket;
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
        // No system call failed: the error names the file but gives no system reason.
        try {
            decoder.Open(path, m_manager);
            ADD_FAILURE() << "opened";
        } catch (const CAudioError& e) {
            EXPECT_EQ(e.code(), make_error_code(EAudioErrc::CannotReadHeader));
            EXPECT_STREQ(e.what(), wav ? kBadWav : kBadOgg);
            EXPECT_EQ(e.Path(), path);
            EXPECT_EQ(e.SystemMessage(), "");
        }
        Bytes buffer(8000);
        const SDecoded read = decoder.Read(buffer);
        EXPECT_TRUE(read.end) << "a failed Open leaves nothing to read";
        EXPECT_EQ(read.size, 0u);

        // Through the tagger and the manager, whose codec choice may reject the file first.
        EXPECT_THROW(m_manager.GetTagger().ReadRecordInfo(path), CAudioError);
        EXPECT_THROW(m_manager.GetRecordLength(path), CAudioError);
        EXPECT_THROW(m_manager.GetTagger().WriteRecordInfo(path, "info", 4), CAudioError);
        EXPECT_EQ(ReadFile(path), content)
            << "nothing was written into a file that is not a record";
    }
}

// Every cut of a real record, and single damaged bytes in the first two kilobytes and in a
// stretch of audio pages of a Speex one, fail with the codec's message or read to a clean end,
// measured as long as decoding finds them.
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
        const std::size_t decoded = DecodeAll(decoder).size();
        decoder.Close();
        // The length from the header or the last page is what decoding finds.
        decoder.Open(Path("damaged"), m_manager);
        EXPECT_EQ(decoder.GetLength(),
                  &decoder == &pcm ? decoded
                                   : static_cast<std::uint64_t>(GranuleReadingForward(content)));
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

// Two frames per packet, as other encoders write: `packets` packets of a voiced signal.
Bytes TwoFramesPerPacket(int packets)
{
    void* state = speex_encoder_init(speex_lib_get_mode(SPEEX_MODEID_NB));
    SpeexBits bits;
    speex_bits_init(&bits);
    std::vector<SPacketPlan> plans{{SpeexHeaderPacket(SPEEX_MODEID_NB, 1, 2)}, {Comment(8, 1, 56)}};
    const Bytes signal = SpeechLike(static_cast<std::size_t>(packets) * 320);
    for (int p = 0; p < packets; ++p) {
        speex_bits_reset(&bits);
        for (int f = 0; f < 2; ++f) {
            std::vector<spx_int16_t> frame(160);
            for (std::size_t i = 0; i < 160; ++i)
                frame[i] = static_cast<spx_int16_t>((signal[(p * 2 + f) * 160 + i] - 128) * 256);
            speex_encode_int(state, frame.data(), &bits);
        }
        Bytes packet(2000);
        packet.resize(static_cast<std::size_t>(
            speex_bits_write(&bits, reinterpret_cast<char*>(packet.data()), 2000)));
        plans.push_back({packet, (p + 1) * 320});
    }
    speex_bits_destroy(&bits);
    speex_encoder_destroy(state);
    return MakeOgg(plans);
}

// Files of other programs: formats this engine cannot play are refused with a message that
// says so, rather than measured and played as 8 kHz mono; Speex streams with several frames
// in a packet or the ".spx" name are read whole; an encoder's own comment is no information.
TEST_F(CAudioTest, ForeignFilesAreReadWholeOrRefusedClearly)
{
    const char* const kWavFormat = "PcmDecoder: Only 8 kHz, 8-bit mono PCM .wav files can be read";
    const char* const kSpeexFormat =
        "CSpeexDecoder: Only narrow-band mono Speex at 8 kHz can be read";
    const Bytes wav = WavFile(Bytes(9600, 0x90));
    const Bytes foreignComment =
        Cat({LeBytes(4), Str("othr"), LeBytes(1), LeBytes(26), Str("ENCODER=some other program")});
    const std::tuple<const char*, const char*, Bytes> refused[] = {
        {"stereo.wav", kWavFormat, With(wav, 22, LeBytes(2, 2))},
        {"cd.wav", kWavFormat, With(wav, 24, LeBytes(44100))},
        {"16bit.wav", kWavFormat, With(wav, 34, LeBytes(16, 2))},
        {"extensible.wav", kWavFormat,
         With(WavFile(Bytes(100, 0x90), {.extension = Bytes(24, 0)}), 20, LeBytes(0xFFFE, 2))},
        {"wideband.ogg", kSpeexFormat,
         MakeOgg({{SpeexHeaderPacket(SPEEX_MODEID_WB)}, {Comment(8, 1, 56)}})},
        {"stereo.spx", kSpeexFormat,
         MakeOgg({{SpeexHeaderPacket(SPEEX_MODEID_NB, 2)}, {Comment(8, 1, 56)}})},
    };
    for (const auto& [name, message, content] : refused) {
        SCOPED_TRACE(name);
        WriteFile(Path(name), content);
        EXPECT_AUDIO_ERROR(m_manager.GetRecordLength(Path(name)), message);
        EXPECT_AUDIO_ERROR(m_manager.GetTagger().ReadRecordInfo(Path(name)), message);
    }

    const Bytes twoFrames = TwoFramesPerPacket(25);
    for (const char* name : {"two.ogg", "two.spx"}) {
        WriteFile(Path(name), twoFrames);
        EXPECT_EQ(m_manager.GetRecordSamples(Path(name)), 8000u);
        const Bytes decoded = DecodeAll(*m_manager.OpenDecoder(Path(name)), 1000);
        EXPECT_EQ(decoded.size(), 8000u) << "both frames of every packet";
        EXPECT_GT(Energy(Slice(decoded, 4000, 8000)), 50.0);
    }

    WriteFile(Path("foreign.ogg"), MakeOgg({{SpeexHeaderPacket()}, {foreignComment}}));
    EXPECT_EQ(m_manager.GetTagger().ReadRecordInfo(Path("foreign.ogg")), "");
}

} // namespace
