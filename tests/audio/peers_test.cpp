// Records must open in independent programs. Each test is skipped when its program is missing.

#include "audio/pcmencoder.h"
#include "audio/speexencoder.h"
#include "codectestsupport.h"

#include <array>
#include <cstdio>
#include <cstdlib>

using namespace CodecTest;

namespace {

bool Installed(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Standard output of a shell command, and whether it exited with 0.
std::pair<bool, std::string> RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return {false, out};
    std::array<char, 512> chunk;
    while (std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
        out.append(chunk.data(), n);
    return {::pclose(pipe) == 0, out};
}

class PeerTest : public CTempDirTest
{
protected:
    std::string SpeexRecord()
    {
        m_manager.ApplyFormat(3);
        CSpeexEncoder encoder(m_manager);
        Record(encoder, Path("memo.ogg"), SpeechLike(16000), "peer");
        return Path("memo.ogg");
    }
    std::string PcmRecord()
    {
        CPcmEncoder encoder(m_manager);
        Record(encoder, Path("memo.wav"), SpeechLike(12345), "peer");
        return Path("memo.wav");
    }

    CAudioManager m_manager;
};

} // namespace

TEST_F(PeerTest, SpeexdecDecodesASpeexRecord)
{
    if (!Installed("speexdec"))
        GTEST_SKIP() << "speexdec is not installed";
    const std::string ogg = SpeexRecord();
    const auto [ok, out] = RunCommand("speexdec '" + ogg + "' '" + Path("out.wav") + "'");
    ASSERT_TRUE(ok);
    const Bytes wav = ReadAll(Path("out.wav"));
    ASSERT_GT(wav.size(), 44u);
    // 16-bit output of at least the frames before the end: about two seconds.
    EXPECT_GT(wav.size() - 44, 2u * 15000u);
}

TEST_F(PeerTest, FfprobeSeesSpeexAt8000HzMono)
{
    if (!Installed("ffprobe"))
        GTEST_SKIP() << "ffprobe is not installed";
    const auto [ok, out] =
        RunCommand("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels "
                   "-of default=noprint_wrappers=1 '" +
                   SpeexRecord() + "'");
    ASSERT_TRUE(ok);
    EXPECT_NE(out.find("codec_name=speex"), std::string::npos) << out;
    EXPECT_NE(out.find("sample_rate=8000"), std::string::npos) << out;
    EXPECT_NE(out.find("channels=1"), std::string::npos) << out;
}

TEST_F(PeerTest, PcmRecordOpensInSoxAndFfprobe)
{
    const std::string wav = PcmRecord();
    if (Installed("soxi")) {
        const auto [ok, out] = RunCommand("soxi -r '" + wav + "'; soxi -c '" + wav +
                                          "'; soxi -b '" + wav + "'; soxi -s '" + wav + "'");
        ASSERT_TRUE(ok);
        EXPECT_EQ(out, "8000\n1\n8\n12345\n");
    }
    if (Installed("ffprobe")) {
        const auto [ok, out] =
            RunCommand("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels "
                       "-of default=noprint_wrappers=1 '" +
                       wav + "'");
        ASSERT_TRUE(ok);
        EXPECT_NE(out.find("codec_name=pcm_u8"), std::string::npos) << out;
        EXPECT_NE(out.find("sample_rate=8000"), std::string::npos) << out;
        EXPECT_NE(out.find("channels=1"), std::string::npos) << out;
    }
    if (!Installed("soxi") && !Installed("ffprobe"))
        GTEST_SKIP() << "neither sox nor ffprobe is installed";
}
