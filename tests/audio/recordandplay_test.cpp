// Recording and playback through the manager's own recorder, player and codecs on the
// simulated device: what plays is exactly what the record decodes to. A Speex record, played
// while the recording format is PCM, so that neither codec may stand in for the other (the
// command-line tests follow a PCM record from the input to the output sample by sample).

#include "audio/player.h"
#include "audio/recorder.h"
#include "audio/speexdecoder.h"
#include "audio/tagger.h"
#include "audiotestsupport.h"

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

TEST(RecordAndPlay, ARecordPlaysBackExactlyAsItDecodes)
{
    constexpr std::size_t kSamples = 20000; // 2.5 seconds: three blocks
    CTempFolder dir;
    WriteFile(dir.File("input.raw"), SpeechLike(3 * 8000));
    CAudioManager manager(std::make_unique<CSimWaveBackend>(
        SSimWaveConfig{dir.File("input.raw"), dir.File("played.raw"), false}));
    manager.ApplyFormat(3);
    const std::string record = dir.File("memo.ogg");
    CRecorder& recorder = manager.GetRecorder();
    recorder.SetSampleLimit(kSamples);
    recorder.Record(record, "Tags: dictation");
    ASSERT_TRUE(recorder.WaitForSampleLimit(10s));
    recorder.StopRecording();

    EXPECT_EQ(manager.GetTagger().ReadRecordInfo(record).rfind("Tags: dictation", 0), 0u);
    // An independent decoder. Speex works in 20 ms frames with a look-ahead: its lengths may
    // differ by a frame or two.
    CSpeexDecoder reference;
    reference.Open(record, manager);
    const Bytes decoded = DecodeAll(reference);
    reference.Close();
    EXPECT_NEAR(manager.GetRecordSamples(record), kSamples, 2 * 160);
    EXPECT_NEAR(static_cast<double>(decoded.size()), kSamples, 2 * 160);

    std::atomic<int> ends{0};
    CPlayer& player = manager.GetPlayer();
    player.SetEndOfPlaybackHandler([&] { ++ends; });
    manager.ApplyFormat(0); // the recording format has no say in playback
    player.Play(record);
    ASSERT_TRUE(player.WaitUntilStopped(10s));
    player.StopPlaying();
    player.SetEndOfPlaybackHandler({});
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(ReadFile(dir.File("played.raw")), decoded);
}

} // namespace
