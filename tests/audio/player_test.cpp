#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/player.h"
#include "audiotestsupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

class PlayerTest : public ::testing::Test
{
protected:
    void MakePlayer(bool realtime, std::uint64_t samples)
    {
        auto backend = std::make_unique<CFaultyBackend>(
            SSimWaveConfig{"", m_dir.File("played.raw"), realtime});
        m_backend = backend.get();
        m_manager = std::make_unique<CAudioManager>(std::move(backend));
        m_decoder = std::make_unique<CPatternDecoder>(samples);
        m_player = std::make_unique<CPlayer>(*m_manager, m_decoder.get());
        WriteWav(m_record, {});
    }

    std::vector<std::uint8_t> Played() const { return ReadFile(m_dir.File("played.raw")); }

    CTempDir m_dir;
    std::string m_record = m_dir.File("memo.wav");
    CFaultyBackend* m_backend = nullptr;
    std::unique_ptr<CAudioManager> m_manager;
    std::unique_ptr<CPatternDecoder> m_decoder;
    std::unique_ptr<CPlayer> m_player;
};

TEST_F(PlayerTest, PlaysARecordOfTwoAndAHalfSecondsAsThreeBlocks)
{
    MakePlayer(false, 20000);
    std::atomic<int> ends{0};
    m_player->SetEndOfPlaybackHandler([&] { ++ends; });
    m_player->Play(m_record);
    ASSERT_TRUE(m_player->WaitUntilStopped(10s));
    EXPECT_TRUE(m_player->IsStopped());
    m_player->StopPlaying();
    EXPECT_EQ(Played(), Pattern(20000));
    EXPECT_EQ(m_decoder->readSizes, (std::vector<std::size_t>{8000, 8000, 4000}));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(m_decoder->opens, 1);
    EXPECT_EQ(m_decoder->closes, 1);
}

// The next second is decoded while the current one plays: even a slow decoder leaves no
// silence between seconds at the pace of a card.
TEST_F(PlayerTest, ConsecutiveSecondsPlayWithoutSilenceBetweenThem)
{
    MakePlayer(true, 13000);
    m_decoder->readDelay = 120ms;
    m_player->Play(m_record);
    ASSERT_TRUE(m_player->WaitUntilStopped(10s));
    m_player->StopPlaying();
    const auto played = Played();
    ASSERT_EQ(played.size(), 13000u);
    EXPECT_EQ(played, Pattern(13000));
}

TEST_F(PlayerTest, StopDuringPlaybackReleasesEverythingOnce)
{
    MakePlayer(false, 0); // endless
    std::atomic<int> ends{0};
    m_player->SetEndOfPlaybackHandler([&] { ++ends; });
    for (std::chrono::microseconds after : {0us, 100us, 1000us, 5000us}) {
        std::filesystem::remove(m_dir.File("played.raw"));
        m_player->Play(m_record);
        EXPECT_FALSE(m_player->IsStopped());
        std::this_thread::sleep_for(after);
        m_player->StopPlaying();
        EXPECT_TRUE(m_player->IsStopped());
        EXPECT_TRUE(m_player->WaitUntilStopped(0ms));
        const auto played = Played();
        EXPECT_EQ(played, Pattern(played.size())) << "a prefix of what was decoded";
    }
    EXPECT_EQ(m_decoder->opens, 4);
    EXPECT_EQ(m_decoder->closes, 4);
    EXPECT_FALSE(m_decoder->readWhileClosed);
    EXPECT_EQ(ends, 0);
}

TEST_F(PlayerTest, TheEndHandlerMayStopThePlaybackItself)
{
    MakePlayer(false, 9000);
    std::atomic<int> ends{0};
    m_player->SetEndOfPlaybackHandler([&] {
        ++ends;
        m_player->StopPlaying();
    });
    m_manager->SetCodec(Codec::Speex);
    m_player->Play(m_record);
    ASSERT_TRUE(m_player->WaitUntilStopped(10s));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(m_decoder->closes, 1);
    EXPECT_EQ(m_manager->CodecIndex(), Codec::Speex);

    // And the player is ready for the next record.
    m_player->Play(m_record);
    ASSERT_TRUE(m_player->WaitUntilStopped(10s));
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(m_decoder->closes, 2);
}

TEST_F(PlayerTest, WaitingWhenNothingPlaysReturnsAtOnce)
{
    MakePlayer(false, 100);
    EXPECT_TRUE(m_player->WaitUntilStopped(0ms));
    m_player->StopPlaying();
    EXPECT_TRUE(m_player->IsStopped());
}

TEST_F(PlayerTest, TheCodecSelectionComesBackAfterPlaybackAndAfterAFailure)
{
    MakePlayer(false, 0);
    m_manager->SetCodec(Codec::Speex);

    m_player->Play(m_record);
    EXPECT_EQ(m_manager->CodecIndex(), Codec::Pcm) << "the file's codec while it plays";
    m_player->StopPlaying();
    EXPECT_EQ(m_manager->CodecIndex(), Codec::Speex);

    m_backend->noDevices = true;
    try {
        m_player->Play(m_record);
        FAIL() << "Play succeeded";
    } catch (const CAudioError& e) {
        EXPECT_STREQ(e.what(), "Player: There are no output audio devices");
    }
    EXPECT_EQ(m_manager->CodecIndex(), Codec::Speex);
    EXPECT_TRUE(m_player->IsStopped());

    m_backend->noDevices = false;
    m_backend->failOpen = true;
    EXPECT_THROW(m_player->Play(m_record), CAudioError);
    EXPECT_EQ(m_manager->CodecIndex(), Codec::Speex);
    EXPECT_EQ(m_decoder->opens, m_decoder->closes) << "the decoder closed after Start failed";

    try {
        m_player->Play(m_dir.File("missing.wav"));
        FAIL() << "Play succeeded";
    } catch (const CAudioError& e) {
        EXPECT_STREQ(e.what(), "GetSuitableCodec(): Cannot open the input file");
    }
    EXPECT_EQ(m_manager->CodecIndex(), Codec::Speex);
}

} // namespace
