// Recording and playback through the audio manager's own recorder, player and codecs,
// on the simulated device.

#include "audio/audiomanager.h"
#include "audio/pcmdecoder.h"
#include "audio/player.h"
#include "audio/recorder.h"
#include "audio/speexdecoder.h"
#include "audio/tagger.h"
#include "audiotestsupport.h"
#include "codectestsupport.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

constexpr std::size_t kSamples = 20000; // 2.5 seconds: three blocks

struct SFormat
{
    const char* name;
    int format; // the "Format" setting
    const char* extension;
};

class RecordAndPlayTest : public ::testing::TestWithParam<SFormat>
{
protected:
    void SetUp() override
    {
        m_input = CodecTest::SpeechLike(3 * 8000);
        WriteFile(m_dir.File("input.raw"), m_input);
        m_manager = std::make_unique<CAudioManager>(std::make_unique<CSimWaveBackend>(
            SSimWaveConfig{m_dir.File("input.raw"), m_dir.File("played.raw"), false}));
        m_manager->ApplyFormat(GetParam().format);
        m_record = m_dir.File(std::string("memo.") + GetParam().extension);
    }

    void RecordMemo(const std::string& info)
    {
        CRecorder& recorder = m_manager->GetRecorder();
        recorder.SetSampleLimit(kSamples);
        recorder.Record(m_record, info);
        ASSERT_TRUE(recorder.WaitForSampleLimit(10s));
        recorder.StopRecording();
    }

    // What an independent decoder of the record's kind delivers.
    std::vector<std::uint8_t> DecodeRecord()
    {
        std::unique_ptr<CBaseDecoder> reference;
        if (m_manager->GetSuitableCodec(m_record) == Codec::Pcm)
            reference = std::make_unique<CPcmDecoder>();
        else
            reference = std::make_unique<CSpeexDecoder>();
        reference->Open(m_record, *m_manager);
        auto decoded = CodecTest::DecodeAll(*reference);
        reference->Close();
        return decoded;
    }

    CTempDir m_dir;
    std::vector<std::uint8_t> m_input;
    std::unique_ptr<CAudioManager> m_manager;
    std::string m_record;
};

TEST_P(RecordAndPlayTest, ARecordPlaysBackExactlyAsItDecodes)
{
    RecordMemo("Tags: dictation");
    const std::uint32_t codec = m_manager->CodecIndex();

    // The information is in the header, and the length is the captured one.
    EXPECT_EQ(m_manager->GetTagger().ReadRecordInfo(m_record).rfind("Tags: dictation", 0), 0u);
    // Speex works in 20 ms frames and has a look-ahead: its lengths may differ by a frame.
    const double slack = codec == Codec::Pcm ? 0 : 2 * 160;
    EXPECT_NEAR(m_manager->GetRecordSamples(m_record), kSamples, slack);
    const auto decoded = DecodeRecord();
    EXPECT_NEAR(static_cast<double>(decoded.size()), kSamples, slack);
    if (codec == Codec::Pcm) {
        EXPECT_EQ(decoded, std::vector<std::uint8_t>(m_input.begin(), m_input.begin() + kSamples));
    }

    std::atomic<int> ends{0};
    CPlayer& player = m_manager->GetPlayer();
    player.SetEndOfPlaybackHandler([&] { ++ends; });
    player.Play(m_record);
    ASSERT_TRUE(player.WaitUntilStopped(10s));
    player.StopPlaying();
    player.SetEndOfPlaybackHandler({});
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(ReadFile(m_dir.File("played.raw")), decoded);
    EXPECT_EQ(m_manager->CodecIndex(), codec);
}

// Playing a record of the other format borrows its codec and gives the selection back.
TEST_P(RecordAndPlayTest, PlayingTheOtherFormatLeavesTheSelectionAlone)
{
    RecordMemo({});
    const std::uint32_t recorded = m_manager->CodecIndex();
    const int other = GetParam().format == 0 ? 2 : 0;
    m_manager->ApplyFormat(other);
    m_manager->GetPlayer().Play(m_record);
    EXPECT_EQ(m_manager->CodecIndex(), recorded);
    ASSERT_TRUE(m_manager->GetPlayer().WaitUntilStopped(10s));
    m_manager->GetPlayer().StopPlaying();
    EXPECT_EQ(m_manager->CodecIndex(), kRecordingFormats[other].codec);
    EXPECT_EQ(ReadFile(m_dir.File("played.raw")), DecodeRecord());
}

INSTANTIATE_TEST_SUITE_P(Formats, RecordAndPlayTest,
                         ::testing::Values(SFormat{"Pcm", 0, "wav"}, SFormat{"SpeexQ3", 3, "ogg"}),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
