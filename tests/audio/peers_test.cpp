// Records must open in independent programs. A check is skipped when its program is missing.

#include "audio/pcmencoder.h"
#include "audio/speexencoder.h"
#include "audiotestsupport.h"

#include <array>
#include <cstdio>
#include <cstdlib>

using namespace testsupport;

namespace {

bool Installed(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Standard output of a shell command; fails the test unless it exits with 0.
std::string Shell(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 512> chunk;
    while (std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
        out.append(chunk.data(), n);
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return out;
}

std::string Probe(const std::string& path)
{
    return Shell("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels -of "
                 "default=noprint_wrappers=1 '" +
                 path + "'");
}

TEST_F(CAudioTest, RecordsOpenInSpeexdecSoxAndFfprobe)
{
    m_manager.ApplyFormat(3);
    CSpeexEncoder speex(m_manager);
    CPcmEncoder pcm(m_manager);
    const std::string ogg = Path("memo.ogg"), wav = Path("memo.wav");
    Record(speex, ogg, SpeechLike(16000), "peer");
    Record(pcm, wav, SpeechLike(12345), "peer");
    if (Installed("speexdec")) {
        Shell("speexdec '" + ogg + "' '" + Path("out.wav") + "'");
        // 16-bit output of at least the frames before the end: about two seconds.
        EXPECT_GT(ReadFile(Path("out.wav")).size(), 44u + 2u * 15000u);
    }
    if (Installed("soxi")) {
        EXPECT_EQ(Shell("soxi -r '" + wav + "'; soxi -c '" + wav + "'; soxi -b '" + wav +
                        "'; soxi -s '" + wav + "'"),
                  "8000\n1\n8\n12345\n");
    }
    if (Installed("ffprobe")) {
        EXPECT_EQ(Probe(ogg), "codec_name=speex\nsample_rate=8000\nchannels=1\n");
        EXPECT_EQ(Probe(wav), "codec_name=pcm_u8\nsample_rate=8000\nchannels=1\n");
    }
    if (!Installed("speexdec") || !Installed("soxi") || !Installed("ffprobe"))
        GTEST_SKIP() << "speexdec, sox or ffprobe is not installed";
}

} // namespace
