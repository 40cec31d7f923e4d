#include "audio/audiomanager.h"
#include "audio/player.h"
#include "audio/speexencoder.h"
#include "audio/tagger.h"
#include "audiotestsupport.h"

#include <atomic>
#include <thread>

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

// The records browser plays one record while it measures, lists and retags others: each
// of those operations has its own codec, so none disturbs another, on any thread.
TEST_F(CDeviceTest, PlaybackMeasuringAndRetaggingRunTogether)
{
    MakeManager(false);
    CAudioManager& manager = *m_manager;
    const Bytes speech = SpeechLike(3 * 8000);
    manager.ApplyFormat(3);
    Record(*manager.CreateEncoder(Codec::Speex), m_dir.File("played.ogg"), speech, "p");
    const std::string others[] = {m_dir.File("a.wav"), m_dir.File("b.ogg")};
    Record(*manager.CreateEncoder(Codec::Pcm), others[0], Pattern(16000), "a");
    Record(*manager.CreateEncoder(Codec::Speex), others[1], speech, "b");
    manager.ApplyFormat(0);

    std::atomic<bool> failed{false};
    auto retagLoop = [&](const std::string& path, std::uint32_t seconds) {
        for (int round = 0; round < 40 && !failed; ++round) {
            const std::string info = "Tags: round " + std::to_string(round) + " " + path;
            manager.GetTagger().WriteRecordInfo(path, info.data(), info.size());
            if (manager.GetTagger().ReadRecordInfo(path).rfind(info, 0) != 0 ||
                manager.GetRecordLength(path) != seconds)
                failed = true;
        }
    };
    std::thread first(retagLoop, others[0], 2u);
    std::thread second(retagLoop, others[1], 3u);

    CPlayer& player = manager.GetPlayer();
    Bytes once;
    for (int round = 0; round < 3; ++round) {
        std::filesystem::remove(m_dir.File("played.raw"));
        player.Play(m_dir.File("played.ogg"));
        ASSERT_TRUE(player.WaitUntilStopped(10s));
        player.StopPlaying();
        const Bytes played = Played();
        if (round == 0)
            once = played;
        EXPECT_EQ(played, once) << "every playback decodes the same samples";
    }
    first.join();
    second.join();
    EXPECT_FALSE(failed);
    EXPECT_GT(once.size(), 2u * 8000);
    EXPECT_EQ(manager.CodecIndex(), Codec::Pcm) << "the recording format is not touched";
}

} // namespace
