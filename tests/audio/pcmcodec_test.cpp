#include "audio/pcmdecoder.h"
#include "audio/pcmencoder.h"
#include "audio/wavheader.h"
#include "audiotestsupport.h"

#include <cerrno>
#include <cstring>

using namespace testsupport;

namespace {

class PcmCodecTest : public CAudioTest
{
protected:
    CPcmEncoder m_encoder{m_manager};
    CPcmDecoder m_decoder;
};

TEST_F(PcmCodecTest, HeaderMatchesTheByteTableAndCloseFillsTheLengths)
{
    const Bytes samples = SpeechLike(80000);
    Record(m_encoder, Path("r.wav"), samples, "abc");
    const Bytes f = ReadFile(Path("r.wav"));
    ASSERT_EQ(f.size(), 81070u);
    EXPECT_EQ(Text(f, 0, 4) + Text(f, 8, 8) + Text(f, 1062, 4), "RIFFWAVEfmt data");
    const std::tuple<std::size_t, int, std::uint32_t> fields[] = {
        {4, 4, 81062}, {16, 4, 1042}, {20, 2, 1}, {22, 2, 1},    {24, 4, 8000},
        {28, 4, 8000}, {32, 2, 1},    {34, 2, 8}, {36, 2, 1024}, {1066, 4, 80000}};
    for (auto [at, size, value] : fields)
        EXPECT_EQ(Le(f, at, size), value) << "field at " << at;
    EXPECT_EQ(Text(f, 38, 1024), "abc" + std::string(1021, '\0'));
    EXPECT_EQ(Slice(f, 1070, f.size()), samples);
}

// The information is cut to its area, and the end comes with the last samples, not one
// empty read later.
TEST_F(PcmCodecTest, RoundTripDeliversEverySampleAndTheInformation)
{
    const Bytes samples = SpeechLike(20500);
    Record(m_encoder, Path("r.wav"), samples, std::string(1500, 'x'));
    m_decoder.Open(Path("r.wav"), m_manager);
    EXPECT_EQ(m_decoder.GetInfo(), std::string(1024, 'x'));
    EXPECT_EQ(m_decoder.GetLength(), 20500u);
    Bytes buffer(20500);
    const SDecoded read = m_decoder.Read(buffer);
    EXPECT_TRUE(read.end);
    EXPECT_EQ(read.size, 20500u);
    EXPECT_EQ(buffer, samples);
    m_decoder.Close();
    EXPECT_TRUE(m_decoder.GetInfo().empty());

    m_decoder.Open(Path("r.wav"), m_manager);
    EXPECT_EQ(DecodeAll(m_decoder, 3000), samples);
}

// Files of other programs (also a cut copy whose length field claims more than it holds):
// no information, samples from just after "data" up to the real end.
TEST_F(PcmCodecTest, PlainWavFilesOpenWithEmptyInformation)
{
    const Bytes samples = SpeechLike(1234);
    const Bytes cut = Slice(WavFile(Cat({samples, Bytes(500, 1)})), 0, 44 + 1234);
    for (const Bytes& wav : {WavFile(samples), WavFile(samples, {.extension = Bytes(2, 0)}), cut}) {
        WriteFile(Path("plain.wav"), wav);
        m_decoder.Open(Path("plain.wav"), m_manager);
        EXPECT_TRUE(m_decoder.GetInfo().empty());
        EXPECT_EQ(m_decoder.GetLength(), 1234u);
        EXPECT_EQ(DecodeAll(m_decoder), samples);
        m_decoder.Close();
    }
}

// A recording cut short (crash, power loss) never reaches Close: its header already holds the
// information and its length fields still say 0x7FFFFFFF. It reads up to its real end.
TEST_F(PcmCodecTest, UnclosedRecordKeepsItsInformationAndReadsToItsRealEnd)
{
    const Bytes samples = SpeechLike(12000);
    m_encoder.SetInfo("written at open");
    m_encoder.Open(Path("live.wav"), false);
    ASSERT_TRUE(m_encoder.Write(std::span(samples).first(8000), false));
    ASSERT_TRUE(m_encoder.Write(std::span(samples).subspan(8000, 4000), false));
    std::filesystem::copy_file(Path("live.wav"), Path("crashed.wav"));
    m_encoder.Close();

    const Bytes f = ReadFile(Path("crashed.wav"));
    ASSERT_EQ(f.size(), 13070u);
    EXPECT_EQ(Le(f, 4), WavHeader::kUnknownLength);
    EXPECT_EQ(Le(f, 1066), WavHeader::kUnknownLength);
    m_decoder.Open(Path("crashed.wav"), m_manager);
    EXPECT_EQ(m_decoder.GetInfo().substr(0, 15), "written at open");
    EXPECT_EQ(m_decoder.GetLength(), 12000u);
    EXPECT_EQ(DecodeAll(m_decoder), samples);
    m_decoder.Close();
    EXPECT_EQ(m_manager.GetRecordLength(Path("crashed.wav")), 2u) << "1.5 s, rounded";
}

TEST_F(CAudioTest, OpenFailuresCarryEachCodecsMessageThePathAndTheSystemsReason)
{
    const std::tuple<std::uint32_t, const char*, const char*> codecs[] = {
        {Codec::Pcm, "PcmEncoder: Cannot open the output file",
         "PcmDecoder: Cannot open the input file"},
        {Codec::Speex, "SpeexEncoder: Cannot open the output file",
         "CSpeexDecoder: Cannot open the input file"},
        {Codec::Raw, "PcmEncoder: Cannot open the output file",
         "PcmDecoder: Cannot open the input file"}};
    for (auto [codec, writeError, readError] : codecs) {
        const auto ownedEncoder = m_manager.CreateEncoder(codec);
        const auto ownedDecoder = m_manager.CreateDecoder(codec);
        CBaseEncoder& encoder = *ownedEncoder;
        CBaseDecoder& decoder = *ownedDecoder;
        // what() stays the user's message; the file and the system's reason come with it.
        try {
            decoder.Open(Path("missing"), m_manager);
            ADD_FAILURE() << "a missing file opened";
        } catch (const CAudioError& e) {
            EXPECT_EQ(e.code(), make_error_code(EAudioErrc::CannotOpenFile));
            EXPECT_STREQ(e.what(), readError);
            EXPECT_EQ(e.Path(), Path("missing"));
            EXPECT_EQ(e.SystemMessage(), std::strerror(ENOENT));
        }
        EXPECT_AUDIO_ERROR(encoder.Open(Path("no/such/folder/r"), false), writeError);
        if (codec != Codec::Raw) // which always starts a new file
            EXPECT_AUDIO_ERROR(encoder.Open(Path("missing"), true), writeError);
        const Bytes one{0x80};
        EXPECT_FALSE(encoder.Write(one, true));
        Bytes buffer(8000);
        const SDecoded read = decoder.Read(buffer);
        EXPECT_TRUE(read.end) << "a closed decoder is at its end";
        EXPECT_EQ(read.size, 0u);
    }
}

} // namespace
