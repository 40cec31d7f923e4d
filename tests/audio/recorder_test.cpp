#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/recorder.h"
#include "audiotestsupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

constexpr std::size_t kInputSamples = 400000; // 50 s: longer than any fast-mode stop point

class RecorderTest : public ::testing::Test
{
protected:
    void MakeManager(bool realtime)
    {
        WriteFile(m_dir.File("input.raw"), Pattern(kInputSamples));
        auto backend =
            std::make_unique<CFaultyBackend>(SSimWaveConfig{m_dir.File("input.raw"), "", realtime});
        m_backend = backend.get();
        m_manager = std::make_unique<CAudioManager>(std::move(backend));
        m_encoder = std::make_unique<CCollectingEncoder>(*m_manager);
        m_recorder = std::make_unique<CRecorder>(*m_manager, m_encoder.get());
    }

    // One-second writes, then one flagged last; the samples are the input's, from its
    // first, with nothing lost, repeated or reordered, and as many as were captured.
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
        const auto& samples = m_encoder->samples;
        EXPECT_EQ(samples.size(), m_recorder->CapturedSamples());
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const std::uint8_t expected = i < kInputSamples ? PatternSample(i) : 0x80;
            if (samples[i] != expected) {
                ADD_FAILURE() << "sample " << i << " of " << samples.size() << " differs";
                return;
            }
        }
        EXPECT_FALSE(m_encoder->writeAfterClose);
        EXPECT_EQ(m_encoder->closes, m_encoder->opens);
    }

    CTempDir m_dir;
    CFaultyBackend* m_backend = nullptr;
    std::unique_ptr<CAudioManager> m_manager;
    std::unique_ptr<CCollectingEncoder> m_encoder;
    std::unique_ptr<CRecorder> m_recorder;
};

struct SStopPoint
{
    bool realtime;
    std::chrono::microseconds after;
};

class RecorderStopTest : public RecorderTest, public ::testing::WithParamInterface<SStopPoint>
{
};

TEST_P(RecorderStopTest, RecordsEveryDeliveredSampleWhereverTheStopComes)
{
    MakeManager(GetParam().realtime);
    m_recorder->Record(m_dir.File("memo.wav"), "info");
    EXPECT_FALSE(m_recorder->IsStopped());
    std::this_thread::sleep_for(GetParam().after);
    m_recorder->StopRecording();
    EXPECT_TRUE(m_recorder->IsStopped());
    ExpectSampleExact();
}

INSTANTIATE_TEST_SUITE_P(Fast, RecorderStopTest,
                         ::testing::Values(SStopPoint{false, 0us}, SStopPoint{false, 30us},
                                           SStopPoint{false, 200us}, SStopPoint{false, 700us},
                                           SStopPoint{false, 2ms}, SStopPoint{false, 5ms},
                                           SStopPoint{false, 13ms}, SStopPoint{false, 40ms}));
INSTANTIATE_TEST_SUITE_P(Realtime, RecorderStopTest,
                         ::testing::Values(SStopPoint{true, 0us}, SStopPoint{true, 30ms},
                                           SStopPoint{true, 170ms}, SStopPoint{true, 530ms}));

// While the encoder works on one second the device fills the other buffer: a slow encoder
// loses nothing in real time.
TEST_F(RecorderTest, ASlowEncoderLosesNoSampleBetweenSeconds)
{
    MakeManager(true);
    m_encoder->writeDelay = 120ms; // six periods of the device
    m_recorder->Record(m_dir.File("memo.wav"));
    std::this_thread::sleep_for(2150ms); // two seconds go to the encoder while capturing
    m_recorder->StopRecording();
    ExpectSampleExact();
    // The device's clock has run past two whole seconds, so two writes met the device
    // still capturing.
    EXPECT_GE(m_encoder->samples.size(), 16000u + 800u);
}

class RecorderLimitTest : public RecorderTest, public ::testing::WithParamInterface<std::uint64_t>
{
};

TEST_P(RecorderLimitTest, EndsByItselfAtExactlyTheLimit)
{
    const std::uint64_t limit = GetParam();
    MakeManager(false);
    m_recorder->SetSampleLimit(limit);
    m_recorder->Record(m_dir.File("memo.wav"));
    ASSERT_TRUE(m_recorder->WaitForSampleLimit(10s));
    std::this_thread::sleep_for(5ms); // the device goes on delivering: all of it dropped
    EXPECT_EQ(m_recorder->CapturedSamples(), limit);
    m_recorder->StopRecording();
    EXPECT_EQ(m_encoder->samples.size(), limit);
    ExpectSampleExact();
    EXPECT_EQ(m_encoder->writes.size(), (limit + 7999) / 8000);
}

INSTANTIATE_TEST_SUITE_P(Limits, RecorderLimitTest,
                         ::testing::Values(1, 160, 7999, 8000, 8001, 16000, 20000));

TEST_F(RecorderTest, WithoutALimitTheWaitTimesOut)
{
    MakeManager(false);
    m_recorder->Record(m_dir.File("memo.wav"));
    EXPECT_FALSE(m_recorder->WaitForSampleLimit(20ms));
    m_recorder->StopRecording();
    ExpectSampleExact();
}

TEST_F(RecorderTest, TwoConsecutiveRecordingsStartClean)
{
    MakeManager(false);
    m_recorder->SetSampleLimit(12345);
    for (const char* name : {"first.wav", "second.wav"}) {
        SCOPED_TRACE(name);
        m_recorder->Record(m_dir.File(name), name);
        EXPECT_EQ(m_encoder->infoAtOpen, name);
        ASSERT_TRUE(m_recorder->WaitForSampleLimit(10s));
        m_recorder->StopRecording();
        ExpectSampleExact();
        EXPECT_EQ(m_encoder->samples.size(), 12345u);
    }
    EXPECT_EQ(m_encoder->opens, 2);
    EXPECT_EQ(m_encoder->closes, 2);
}

TEST_F(RecorderTest, ASecondRecordWhileRecordingIsRefusedAndHarmsNothing)
{
    MakeManager(false);
    m_recorder->SetSampleLimit(9000);
    m_recorder->Record(m_dir.File("first.wav"));
    ASSERT_TRUE(m_recorder->WaitForSampleLimit(10s));
    // Ended by its limit but not stopped: the encoder still holds the first file.
    EXPECT_FALSE(m_recorder->IsStopped());
    try {
        m_recorder->Record(m_dir.File("second.wav"));
        FAIL() << "Record succeeded";
    } catch (const CAudioError& e) {
        EXPECT_STREQ(e.what(), "Recorder: A recording is already running");
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("second.wav")));
    m_recorder->StopRecording();
    ExpectSampleExact();
    EXPECT_EQ(m_encoder->samples.size(), 9000u);
}

TEST_F(RecorderTest, StopWhenIdleDoesNothing)
{
    MakeManager(false);
    m_recorder->StopRecording();
    EXPECT_TRUE(m_recorder->IsStopped());
    EXPECT_EQ(m_encoder->closes, 0);
}

TEST_F(RecorderTest, DestroyingARunningRecorderFinalisesTheFile)
{
    MakeManager(false);
    m_recorder->Record(m_dir.File("memo.wav"));
    std::this_thread::sleep_for(2ms);
    m_recorder.reset();
    EXPECT_EQ(m_encoder->closes, 1);
    ASSERT_FALSE(m_encoder->writes.empty());
    EXPECT_TRUE(m_encoder->writes.back().last);
}

struct SRefusal
{
    const char* name;
    void (*arrange)(CFaultyBackend&);
    const char* message;
    bool fileCreated; // by the encoder, before the device failed
};

class RecorderRefusalTest : public RecorderTest, public ::testing::WithParamInterface<SRefusal>
{
};

TEST_P(RecorderRefusalTest, ReportsTheExactMessageAndLeavesNoFile)
{
    MakeManager(false);
    GetParam().arrange(*m_backend);
    const std::string path = m_dir.File("memo.wav");
    try {
        m_recorder->Record(path);
        FAIL() << "Record succeeded";
    } catch (const CAudioError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    EXPECT_TRUE(m_recorder->IsStopped());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(m_encoder->opens, GetParam().fileCreated ? 1 : 0);
    EXPECT_EQ(m_encoder->closes, m_encoder->opens);

    // The refusal leaves nothing behind: the next recording works.
    m_backend->noDevices = m_backend->rejectFormat = m_backend->failOpen = false;
    m_backend->noErrorText = false;
    m_recorder->SetSampleLimit(100);
    m_recorder->Record(path);
    ASSERT_TRUE(m_recorder->WaitForSampleLimit(10s));
    m_recorder->StopRecording();
    ExpectSampleExact();
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RecorderRefusalTest,
    ::testing::Values(SRefusal{"NoDevice", [](CFaultyBackend& b) { b.noDevices = true; },
                               "Recorder: There are no input audio devices", false},
                      SRefusal{"FormatRejected", [](CFaultyBackend& b) { b.rejectFormat = true; },
                               "Injected device failure", false},
                      SRefusal{"NoErrorText",
                               [](CFaultyBackend& b) {
                                   b.rejectFormat = true;
                                   b.noErrorText = true;
                               },
                               "Error in waveInGetErrorText()", false},
                      SRefusal{"OpenFails", [](CFaultyBackend& b) { b.failOpen = true; },
                               "Injected device failure", true}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
