#include "audio/player.h"
#include "audiotestsupport.h"

#include <thread>

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

// Plays `total` pattern samples (for ever with total 0) and counts its calls.
class CPatternDecoder : public CBaseDecoder
{
public:
    explicit CPatternDecoder(std::uint64_t total) : m_total(total) {}
    void Open(const std::string&, const CAudioManager&) override
    {
        m_position = 0;
        readSizes.clear();
        ++opens;
        m_open = true;
    }
    void Close() override
    {
        closes += m_open;
        m_open = false;
    }
    SDecoded Read(std::span<std::uint8_t> buffer) override
    {
        readWhileClosed = readWhileClosed || !m_open;
        std::this_thread::sleep_for(readDelay);
        std::size_t size = buffer.size();
        if (m_total > 0)
            size = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_total - m_position));
        const Bytes samples = Pattern(size, m_position);
        std::copy(samples.begin(), samples.end(), buffer.begin());
        m_position += size;
        readSizes.push_back(size);
        return {size, m_total > 0 && m_position == m_total};
    }
    std::uint32_t GetLength() override { return static_cast<std::uint32_t>(m_total); }

    std::chrono::milliseconds readDelay{0};
    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<bool> readWhileClosed{false};
    std::vector<std::size_t> readSizes; // read after the playback thread has ended

private:
    std::uint64_t m_total;
    std::uint64_t m_position = 0;
    std::atomic<bool> m_open{false};
};

class PlayerTest : public CDeviceTest
{
protected:
    void MakePlayer(bool realtime, std::uint64_t samples)
    {
        MakeManager(realtime);
        m_decoder = std::make_unique<CPatternDecoder>(samples);
        m_player = std::make_unique<CPlayer>(*m_manager, m_decoder.get());
        m_player->SetEndOfPlaybackHandler([this] { ++m_ends; });
        WriteFile(m_record, WavFile({}));
    }

    std::string m_record = m_dir.File("memo.wav");
    std::atomic<int> m_ends{0};
    std::unique_ptr<CPatternDecoder> m_decoder;
    std::unique_ptr<CPlayer> m_player;
};

// One-second blocks; the next is decoded while the current one plays, so that even a slow
// decoder leaves no silence between seconds at the pace of a card.
TEST_F(PlayerTest, ConsecutiveSecondsPlayWithoutSilenceBetweenThem)
{
    MakePlayer(true, 17000);
    m_decoder->readDelay = 120ms;
    m_player->Play(m_record);
    ASSERT_TRUE(m_player->WaitUntilStopped(10s));
    EXPECT_TRUE(m_player->IsStopped());
    m_player->StopPlaying();
    EXPECT_EQ(Played(), Pattern(17000));
    EXPECT_EQ(m_decoder->readSizes, (std::vector<std::size_t>{8000, 8000, 1000}));
    EXPECT_EQ(m_ends, 1);
    EXPECT_EQ(m_decoder->opens, 1);
    EXPECT_EQ(m_decoder->closes, 1);
}

TEST_F(PlayerTest, StopDuringPlaybackReleasesEverythingOnce)
{
    MakePlayer(false, 0); // endless
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
    EXPECT_EQ(m_ends, 0);
}

// The handler stops the playback on the playback thread while the controlling thread stops
// it too, as a user's Stop that meets the end of the record does: the two stops must not run
// into each other (a second close of the device would surface as an error).
TEST_F(PlayerTest, TheEndHandlerMayStopThePlaybackWhileTheUserDoes)
{
    MakePlayer(false, 9000);
    std::atomic<bool> ending{false};
    m_player->SetEndOfPlaybackHandler([&] {
        ++m_ends;
        ending = true;
        m_player->StopPlaying();
    });
    constexpr int kRounds = 40;
    for (int round = 1; round <= kRounds; ++round) {
        ending = false;
        m_player->Play(m_record);
        if (round % 2 == 0) {
            while (!ending)
                std::this_thread::yield();
            EXPECT_NO_THROW(m_player->StopPlaying()) << "round " << round;
        }
        ASSERT_TRUE(m_player->WaitUntilStopped(10s));
    }
    EXPECT_EQ(m_ends, kRounds);
    EXPECT_EQ(m_decoder->closes, kRounds);
}

TEST_F(PlayerTest, AFailedStartLeavesNothingOpen)
{
    MakePlayer(false, 0);
    m_backend->fault = EFault::NoDevices;
    EXPECT_AUDIO_ERRC(m_player->Play(m_record), EAudioErrc::NoOutputDevice);
    EXPECT_TRUE(m_player->IsStopped());
    m_backend->fault = EFault::FailOpen;
    EXPECT_THROW(m_player->Play(m_record), CAudioError);
    EXPECT_EQ(m_decoder->opens, m_decoder->closes) << "the decoder closed after Start failed";
    EXPECT_AUDIO_ERROR(m_player->Play(m_dir.File("missing.wav")),
                       "GetSuitableCodec(): Cannot open the input file");
}

// Faster or slower, the played length follows the speed, the end is reported once, when the
// last block is decoded, and the position ends where the record does.
TEST_F(PlayerTest, AtAnySpeedTheWholeRecordPlaysAndTheEndComesOnce)
{
    MakePlayer(false, 17000);
    for (const double speed : {0.75, 1.5}) {
        SCOPED_TRACE(speed);
        std::filesystem::remove(m_dir.File("played.raw"));
        m_ends = 0;
        m_player->SetSpeed(speed);
        m_player->Play(m_record);
        ASSERT_TRUE(m_player->WaitUntilStopped(10s));
        m_player->StopPlaying();
        EXPECT_NEAR(static_cast<double>(Played().size()), 17000 / speed, 17000 / speed * 0.02);
        EXPECT_EQ(m_ends, 1);
        EXPECT_EQ(m_player->PositionSamples(), 17000u);
        EXPECT_EQ(m_player->PlayheadSamples(), 17000u);
    }
}

} // namespace
