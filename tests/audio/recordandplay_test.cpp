// Recording and playback through the manager's own recorder, player and codecs on the
// simulated device: what plays is exactly what the record decodes to.

#include "audio/pcmdecoder.h"
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
    for (int format : {0, 3}) {
        SCOPED_TRACE(format);
        CTempFolder dir;
        const Bytes input = SpeechLike(3 * 8000);
        WriteFile(dir.File("input.raw"), input);
        CAudioManager manager(std::make_unique<CSimWaveBackend>(
            SSimWaveConfig{dir.File("input.raw"), dir.File("played.raw"), false}));
        manager.ApplyFormat(format);
        const std::string record = dir.File(format == 0 ? "memo.wav" : "memo.ogg");
        CRecorder& recorder = manager.GetRecorder();
        recorder.SetSampleLimit(kSamples);
        recorder.Record(record, "Tags: dictation");
        ASSERT_TRUE(recorder.WaitForSampleLimit(10s));
        recorder.StopRecording();

        EXPECT_EQ(manager.GetTagger().ReadRecordInfo(record).rfind("Tags: dictation", 0), 0u);
        // An independent decoder of the record's kind. Speex works in 20 ms frames with a
        // look-ahead: its lengths may differ by a frame or two.
        CPcmDecoder pcm;
        CSpeexDecoder speex;
        CBaseDecoder& reference = format == 0 ? static_cast<CBaseDecoder&>(pcm) : speex;
        reference.Open(record, manager);
        const Bytes decoded = DecodeAll(reference);
        reference.Close();
        const double slack = format == 0 ? 0 : 2 * 160;
        EXPECT_NEAR(manager.GetRecordSamples(record), kSamples, slack);
        EXPECT_NEAR(static_cast<double>(decoded.size()), kSamples, slack);
        if (format == 0) {
            EXPECT_EQ(decoded, Slice(input, 0, kSamples));
        }

        std::atomic<int> ends{0};
        CPlayer& player = manager.GetPlayer();
        player.SetEndOfPlaybackHandler([&] { ++ends; });
        manager.ApplyFormat(3 - format); // the recording format has no say in playback
        player.Play(record);
        ASSERT_TRUE(player.WaitUntilStopped(10s));
        player.StopPlaying();
        player.SetEndOfPlaybackHandler({});
        EXPECT_EQ(ends, 1);
        EXPECT_EQ(ReadFile(dir.File("played.raw")), decoded);
    }
}

} // namespace
