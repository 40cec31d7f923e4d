#include "audio/recorder.h"
#include "audiotestsupport.h"

#include <thread>

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

class RecorderTest : public CDeviceTest
{
protected:
    void MakeRecorder(bool realtime)
    {
        m_recorder.reset();
        MakeManager(realtime);
        m_encoder = std::make_unique<CCollectingEncoder>(*m_manager);
        m_recorder = std::make_unique<CRecorder>(*m_manager, m_encoder.get());
    }

    // One-second writes, then one flagged last; the samples are the input's from its first,
    // nothing lost, repeated or reordered, and as many as were captured.
    void ExpectSampleExact()
    {
        const auto& writes = m_encoder->writes;
        ASSERT_FALSE(writes.empty());
        for (std::size_t i = 0; i + 1 < writes.size(); ++i) {
            EXPECT_EQ(writes[i].size, 8000u) << "write " << i;
            EXPECT_FALSE(writes[i].last) << "write " << i;
        }
        EXPECT_TRUE(writes.back().last);
        EXPECT_LE(writes.back().size, 8000u);
        EXPECT_EQ(m_encoder->samples.size(), m_recorder->CapturedSamples());
        const Bytes& samples = m_encoder->samples;
        Bytes expected = Pattern(std::min(samples.size(), kInputSamples));
        expected.resize(samples.size(), 0x80); // the input is silence after its end
        EXPECT_TRUE(samples == expected)
            << "from sample "
            << std::mismatch(samples.begin(), samples.end(), expected.begin()).first -
                   samples.begin();
        EXPECT_FALSE(m_encoder->writeAfterClose);
        EXPECT_EQ(m_encoder->closes, m_encoder->opens);
    }

    std::unique_ptr<CCollectingEncoder> m_encoder;
    std::unique_ptr<CRecorder> m_recorder;
};

TEST_F(RecorderTest, RecordsEveryDeliveredSampleWhereverTheStopComes)
{
    const std::pair<bool, std::chrono::microseconds> stops[] = {
        {false, 0us},  {false, 30us}, {false, 200us}, {false, 700us}, {false, 2ms},  {false, 5ms},
        {false, 13ms}, {false, 40ms}, {true, 0us},    {true, 30ms},   {true, 170ms}, {true, 530ms}};
    for (auto [realtime, after] : stops) {
        SCOPED_TRACE(std::to_string(realtime) + " " + std::to_string(after.count()) + "us");
        MakeRecorder(realtime);
        m_recorder->Record(m_dir.File("memo.wav"), "info");
        EXPECT_FALSE(m_recorder->IsStopped());
        std::this_thread::sleep_for(after);
        m_recorder->StopRecording();
        EXPECT_TRUE(m_recorder->IsStopped());
        ExpectSampleExact();
    }
}

// While the encoder works on one second the device fills the other buffer: a slow encoder
// loses nothing in real time.
TEST_F(RecorderTest, ASlowEncoderLosesNoSampleBetweenSeconds)
{
    MakeRecorder(true);
    m_encoder->writeDelay = 120ms; // six periods of the device
    m_recorder->Record(m_dir.File("memo.wav"));
    std::this_thread::sleep_for(2150ms);
    m_recorder->StopRecording();
    ExpectSampleExact();
    // The device's clock ran past two whole seconds: two writes met it still capturing.
    EXPECT_GE(m_encoder->samples.size(), 16000u + 800u);
}

// One recorder for every limit: each recording starts afresh.
TEST_F(RecorderTest, EndsByItselfAtExactlyTheLimitAndRefusesASecondRecordUntilStopped)
{
    MakeRecorder(false);
    for (std::uint64_t limit : {20000, 1, 160, 7999, 8000, 8001, 16000}) {
        SCOPED_TRACE(limit);
        m_recorder->SetSampleLimit(limit);
        m_recorder->Record(m_dir.File("memo.wav"));
        ASSERT_TRUE(m_recorder->WaitForSampleLimit(10s));
        std::this_thread::sleep_for(5ms); // the device goes on delivering: all of it dropped
        EXPECT_EQ(m_recorder->CapturedSamples(), limit);
        // Ended by its limit but not stopped: the encoder still holds the file, and a second
        // Record is refused without making one.
        EXPECT_FALSE(m_recorder->IsStopped());
        EXPECT_AUDIO_ERRC(m_recorder->Record(m_dir.File("second.wav")),
                          EAudioErrc::AlreadyRecording);
        EXPECT_FALSE(std::filesystem::exists(m_dir.File("second.wav")));
        m_recorder->StopRecording();
        EXPECT_EQ(m_encoder->samples.size(), limit);
        ExpectSampleExact();
        // Every full second at once, then the rest (empty on a boundary) flagged last.
        EXPECT_EQ(m_encoder->writes.size(), limit / 8000 + 1);
    }
}

TEST_F(RecorderTest, DestroyingARunningRecorderFinalisesTheFile)
{
    MakeRecorder(false);
    m_recorder->Record(m_dir.File("memo.wav"));
    std::this_thread::sleep_for(2ms);
    m_recorder.reset();
    EXPECT_EQ(m_encoder->closes, 1);
    ASSERT_FALSE(m_encoder->writes.empty());
    EXPECT_TRUE(m_encoder->writes.back().last);
}

// Each refusal has its exact message, leaves no file, and leaves nothing in the way of the
// next recording.
TEST_F(RecorderTest, DeviceFailuresReportTheExactMessageAndLeaveNoFile)
{
    const std::tuple<EFault, const char*, int> cases[] = {
        {EFault::NoDevices, "Recorder: There are no input audio devices", 0},
        {EFault::RejectFormat, "Injected device failure", 0},
        {EFault::RejectFormatWithoutText, "Error in waveInGetErrorText()", 0},
        // The encoder has made the file before the device fails to open.
        {EFault::FailOpen, "Injected device failure", 1}};
    const std::string path = m_dir.File("memo.wav");
    for (auto [fault, message, opens] : cases) {
        SCOPED_TRACE(message);
        MakeRecorder(false);
        m_backend->fault = fault;
        EXPECT_AUDIO_ERROR(m_recorder->Record(path), message);
        EXPECT_TRUE(m_recorder->IsStopped());
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_EQ(m_encoder->opens, opens);
        EXPECT_EQ(m_encoder->closes, opens);

        m_backend->fault = EFault::None;
        m_recorder->SetSampleLimit(100);
        m_recorder->Record(path);
        ASSERT_TRUE(m_recorder->WaitForSampleLimit(10s));
        m_recorder->StopRecording();
        ExpectSampleExact();
        std::filesystem::remove(path);
    }
}

// The pattern's sample after `sample`.
std::uint8_t NextInPattern(std::uint8_t sample)
{
    return Pattern(1, (sample < 0x80 ? sample : sample - 1u) + 1u)[0];
}

// 2 s recorded, 3 s paused, 2 s recorded, in real time: the record holds 4 s, the samples
// before and after the pause each unbroken and joined once, nothing of the pause in it; and
// while paused the file already holds every sample captured before the pause, so a kill then
// would lose none of them.
TEST_F(RecorderTest, APauseKeepsNothingOfItsOwnAndLosesNothingAroundIt)
{
    MakeManager(true);
    CRecorder& recorder = m_manager->GetRecorder();
    const std::string path = m_dir.File("memo.wav");
    recorder.Record(path);
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(recorder.Pause());
    EXPECT_FALSE(recorder.Pause());
    std::this_thread::sleep_for(1500ms); // the buffer under way at the pause has come back
    const std::uint64_t beforePause = recorder.CapturedSamples();
    EXPECT_NEAR(static_cast<double>(beforePause), 16000, 2400);
    EXPECT_EQ(DecodeAll(*m_manager->OpenDecoder(path)).size(), beforePause);
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(recorder.CapturedSamples(), beforePause);
    ASSERT_TRUE(recorder.Resume());
    EXPECT_FALSE(recorder.IsPaused());
    std::this_thread::sleep_for(2s);
    recorder.StopRecording();

    const Bytes samples = DecodeAll(*m_manager->OpenDecoder(path));
    EXPECT_NEAR(static_cast<double>(samples.size()), 32000, 2400);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples[0], Pattern(1)[0]);
    std::vector<std::size_t> joints;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i] != NextInPattern(samples[i - 1]))
            joints.push_back(i);
    }
    EXPECT_EQ(joints, std::vector<std::size_t>{beforePause});
}

} // namespace
