#include "audio/pcmdecoder.h"
#include "audio/pcmencoder.h"
#include "audio/rawdatadecoder.h"
#include "audio/rawdataencoder.h"
#include "audio/wavheader.h"
#include "codectestsupport.h"

#include <sys/stat.h>

using namespace CodecTest;

namespace {

class PcmCodecTest : public CTempDirTest
{
protected:
    CAudioManager m_manager;
    CPcmEncoder m_encoder{m_manager};
    CPcmDecoder m_decoder;
};

// A plain WAV file as other programs write it: `fmtSize` 16 or 18 (with cbSize 0).
Bytes PlainWav(const Bytes& samples, std::uint32_t fmtSize = 16)
{
    Bytes b;
    auto put = [&](const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
    };
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](std::uint16_t v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put("RIFF");
    put32(static_cast<std::uint32_t>(4 + 8 + fmtSize + 8 + samples.size()));
    put("WAVEfmt ");
    put32(fmtSize);
    put16(1);
    put16(1);
    put32(8000);
    put32(8000);
    put16(1);
    put16(8);
    if (fmtSize == 18)
        put16(0);
    put("data");
    put32(static_cast<std::uint32_t>(samples.size()));
    b.insert(b.end(), samples.begin(), samples.end());
    return b;
}

} // namespace

TEST_F(PcmCodecTest, HeaderMatchesTheByteTableAndCloseFillsTheLengths)
{
    const Bytes samples = SpeechLike(80000);
    Record(m_encoder, Path("r.wav"), samples, "abc");
    const Bytes f = ReadAll(Path("r.wav"));

    ASSERT_EQ(f.size(), 81070u);
    EXPECT_EQ(Text(f, 0, 4), "RIFF");
    EXPECT_EQ(Le32(f, 4), 81062u);
    EXPECT_EQ(Text(f, 8, 8), "WAVEfmt ");
    EXPECT_EQ(Le32(f, 16), 1042u);
    EXPECT_EQ(Le16(f, 20), 1);
    EXPECT_EQ(Le16(f, 22), 1);
    EXPECT_EQ(Le32(f, 24), 8000u);
    EXPECT_EQ(Le32(f, 28), 8000u);
    EXPECT_EQ(Le16(f, 32), 1);
    EXPECT_EQ(Le16(f, 34), 8);
    EXPECT_EQ(Le16(f, 36), 1024);
    EXPECT_EQ(Text(f, 38, 3), "abc");
    EXPECT_EQ(Bytes(f.begin() + 41, f.begin() + 1062), Bytes(1021, 0));
    EXPECT_EQ(Text(f, 1062, 4), "data");
    EXPECT_EQ(Le32(f, 1066), 80000u);
    EXPECT_EQ(Bytes(f.begin() + 1070, f.end()), samples);
}

TEST_F(PcmCodecTest, RoundTripDeliversEverySampleAndTheInformation)
{
    const Bytes samples = SpeechLike(20500);
    Record(m_encoder, Path("r.wav"), samples, "memo info");
    m_decoder.Open(Path("r.wav"), m_manager);
    EXPECT_EQ(m_decoder.GetInfo(), std::string("memo info") + std::string(1015, '\0'));
    EXPECT_EQ(m_decoder.GetLength(), 20500u);
    // The end is reported with the last samples, not one empty read later.
    std::size_t size = 20500;
    Bytes buffer(size);
    EXPECT_TRUE(m_decoder.Read(buffer.data(), size));
    EXPECT_EQ(size, 20500u);
    EXPECT_EQ(buffer, samples);
    m_decoder.Close();
    EXPECT_TRUE(m_decoder.GetInfo().empty());

    m_decoder.Open(Path("r.wav"), m_manager);
    EXPECT_EQ(DecodeAll(m_decoder, 3000), samples);
}

TEST_F(PcmCodecTest, InformationIsCutToTheArea)
{
    const std::string longInfo(1500, 'x');
    Record(m_encoder, Path("r.wav"), Bytes(100, 0x80), longInfo);
    const Bytes f = ReadAll(Path("r.wav"));
    EXPECT_EQ(Text(f, 1062, 4), "data");
    m_decoder.Open(Path("r.wav"), m_manager);
    EXPECT_EQ(m_decoder.GetInfo(), std::string(1024, 'x'));
}

// Files written by other programs: no information, samples from just after "data".
TEST_F(PcmCodecTest, PlainWavFilesOpenWithEmptyInformation)
{
    const Bytes samples = SpeechLike(1234);
    for (std::uint32_t fmtSize : {16u, 18u}) {
        SCOPED_TRACE(fmtSize);
        WriteAllBytes(Path("plain.wav"), PlainWav(samples, fmtSize));
        m_decoder.Open(Path("plain.wav"), m_manager);
        EXPECT_TRUE(m_decoder.GetInfo().empty());
        EXPECT_EQ(m_decoder.GetLength(), 1234u);
        EXPECT_EQ(DecodeAll(m_decoder), samples);
        m_decoder.Close();
    }
}

// Records the user may not write (copied from a read-only medium) still open and play.
// Root may write anything, so the check runs in a child that gives up its rights.
TEST_F(PcmCodecTest, DecoderReadsReadOnlyFiles)
{
    Record(m_encoder, Path("r.wav"), Bytes(800, 0x90), "ro");
    ASSERT_EQ(::chmod(Path("r.wav").c_str(), 0444), 0);
    const bool ok = RunUnprivileged([&] {
        m_decoder.Open(Path("r.wav"), m_manager);
        return m_decoder.GetInfo().substr(0, 2) == "ro" && DecodeAll(m_decoder) == Bytes(800, 0x90);
    });
    EXPECT_TRUE(ok);
}

// A recording cut short (crash, power loss) never reaches Close: its header already holds the
// information, and its length fields still say 0x7FFFFFFF. Such a file reads up to its real end.
TEST_F(PcmCodecTest, UnclosedRecordKeepsItsInformationAndReadsToItsRealEnd)
{
    const Bytes samples = SpeechLike(12000);
    m_encoder.SetInfo("written at open");
    m_encoder.Open(Path("live.wav"), false);
    ASSERT_EQ(m_encoder.Write(samples.data(), 8000, false), 1);
    ASSERT_EQ(m_encoder.Write(samples.data() + 8000, 4000, false), 1);
    std::filesystem::copy_file(Path("live.wav"), Path("crashed.wav"));
    m_encoder.Close();

    const Bytes f = ReadAll(Path("crashed.wav"));
    ASSERT_EQ(f.size(), 13070u);
    EXPECT_EQ(Le32(f, 4), WavHeader::kUnknownLength);
    EXPECT_EQ(Le32(f, 1066), WavHeader::kUnknownLength);

    m_decoder.Open(Path("crashed.wav"), m_manager);
    EXPECT_EQ(m_decoder.GetInfo().substr(0, 15), "written at open");
    EXPECT_EQ(m_decoder.GetLength(), 12000u);
    EXPECT_EQ(DecodeAll(m_decoder), samples);
    m_decoder.Close();
    EXPECT_EQ(m_manager.GetRecordLength(Path("crashed.wav")), 1u);
}

TEST_F(PcmCodecTest, LengthFieldLargerThanTheFileIsCutToTheFile)
{
    Bytes wav = PlainWav(Bytes(500, 0x70));
    wav[40] = 0x10;
    wav[41] = 0x27; // claims 10000 samples
    WriteAllBytes(Path("short.wav"), wav);
    m_decoder.Open(Path("short.wav"), m_manager);
    EXPECT_EQ(m_decoder.GetLength(), 500u);
    EXPECT_EQ(DecodeAll(m_decoder), Bytes(500, 0x70));
}

TEST_F(PcmCodecTest, OpenFailuresCarryTheDocumentedMessages)
{
    EXPECT_AUDIO_ERROR(m_decoder.Open(Path("missing.wav"), m_manager),
                       "PcmDecoder: Cannot open the input file");
    EXPECT_AUDIO_ERROR(m_encoder.Open(Path("no/such/folder/r.wav"), false),
                       "PcmEncoder: Cannot open the output file");
    EXPECT_AUDIO_ERROR(m_encoder.Open(Path("missing.wav"), true),
                       "PcmEncoder: Cannot open the output file");
    EXPECT_EQ(m_encoder.Write(reinterpret_cast<const std::uint8_t*>("x"), 1, true), 0);
}

// Rewriting a header of another size would overwrite samples: refused, file untouched.
TEST_F(PcmCodecTest, RewriteRefusesAHeaderOfAnotherSize)
{
    const Bytes plain = PlainWav(SpeechLike(4000));
    WriteAllBytes(Path("plain.wav"), plain);
    m_encoder.SetInfo("would overwrite audio");
    EXPECT_AUDIO_ERROR(m_encoder.Open(Path("plain.wav"), true),
                       "PcmEncoder: Cannot rewrite a header of another size");
    EXPECT_EQ(ReadAll(Path("plain.wav")), plain);
}

TEST_F(PcmCodecTest, RawPairWritesOnlySamplesAndHasNoLength)
{
    CRawDataEncoder encoder(m_manager);
    CRawDataDecoder decoder;
    const Bytes samples = SpeechLike(9000);
    WriteAllBytes(Path("r.raw"), Bytes(20000, 1));
    encoder.SetInfo("ignored");
    encoder.Open(Path("r.raw"), true); // always a new file
    encoder.Write(samples.data(), 8000, false);
    encoder.Write(samples.data() + 8000, 1000, true);
    encoder.Close();
    EXPECT_EQ(ReadAll(Path("r.raw")), samples);

    decoder.Open(Path("r.raw"), m_manager);
    EXPECT_EQ(decoder.GetLength(), 0u);
    EXPECT_TRUE(decoder.GetInfo().empty());
    EXPECT_EQ(DecodeAll(decoder, 4500), samples); // ends exactly at a read boundary
    decoder.Close();

    EXPECT_AUDIO_ERROR(decoder.Open(Path("missing.raw"), m_manager),
                       "PcmDecoder: Cannot open the input file");
    EXPECT_AUDIO_ERROR(encoder.Open(Path("no/such/r.raw"), false),
                       "PcmEncoder: Cannot open the output file");
}
