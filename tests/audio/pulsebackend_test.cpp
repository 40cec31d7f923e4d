#include "audio/player.h"
#include "audio/recorder.h"
#include "audiotestsupport.h"
#include "platform/pulsewavebackend.h"
#include "platform/wavedevice.h"
#include "platform/wavenoticesink.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <numbers>
#include <optional>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <ranges>
#include <sched.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace testsupport;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// A null sink of the test's own, loaded into the server and unloaded on demand or at the
// end: a device that nothing else plays into, and one that can be unplugged.
class CPrivateSink
{
public:
    explicit CPrivateSink(std::string name) : m_name(std::move(name))
    {
        const std::string command =
            "pactl load-module module-null-sink sink_name=" + m_name + " 2>/dev/null";
        if (std::FILE* pipe = popen(command.c_str(), "r")) {
            unsigned index = 0;
            if (std::fscanf(pipe, "%u", &index) == 1)
                m_module = index;
            pclose(pipe);
        }
    }
    ~CPrivateSink() { Unplug(); }
    CPrivateSink(const CPrivateSink&) = delete;
    CPrivateSink& operator=(const CPrivateSink&) = delete;

    bool Loaded() const { return m_module.has_value(); }
    const std::string& Name() const { return m_name; }
    std::string Monitor() const { return m_name + ".monitor"; }
    void Unplug()
    {
        if (m_module)
            std::system(("pactl unload-module " + std::to_string(*m_module)).c_str());
        m_module.reset();
    }

private:
    const std::string m_name;
    std::optional<unsigned> m_module;
};

// The time-coded signal: a linear chirp whose frequency dates every moment of it.
constexpr double kRate = 8000;
constexpr double kStartHz = 300;
constexpr double kHzPerSecond = 400;
constexpr double kChirpSeconds = 7.8;

// The chirp's value (-1..1) at `t` seconds.
double ChirpAt(double t)
{
    return std::sin(2 * std::numbers::pi * (kStartHz * t + kHzPerSecond * t * t / 2));
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double Seconds(Clock::time_point t)
{
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

// Plays the chirp into a sink on its own thread, with a short buffer, and
// notes after every write which signal moment is being played (written minus the stream's
// latency), so that a wall-clock moment can be dated on the signal's time line.
class CChirpPlayer
{
public:
    explicit CChirpPlayer(std::string sink) : m_sink(std::move(sink)), m_thread([this] { Run(); })
    {}
    ~CChirpPlayer()
    {
        m_quit = true;
        m_thread.join();
    }

    bool Failed() const { return m_failed; }
    double PlayedSeconds() const { return m_played; }
    // The signal moment playing at wall-clock `t`: the median over the notes of the
    // difference between the two clocks, which the sink keeps in step.
    double SignalAt(Clock::time_point t) const
    {
        std::lock_guard lock(m_mutex);
        std::vector<double> offsets;
        for (const auto& [wall, offset] : m_offsets)
            offsets.push_back(offset);
        return Seconds(t) - Median(offsets);
    }
    // How far the two clocks drifted apart between `from` and `to`: more than a few
    // milliseconds means the player was late and the sink played a gap into the signal
    // itself (a machine too loaded to date anything by it).
    double Unsteadiness(Clock::time_point from, Clock::time_point to) const
    {
        std::lock_guard lock(m_mutex);
        double low = 1e9, high = -1e9;
        for (const auto& [wall, offset] : m_offsets) {
            if (wall >= Seconds(from) && wall <= Seconds(to)) {
                low = std::min(low, offset);
                high = std::max(high, offset);
            }
        }
        return high - low;
    }

private:
    void Run()
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(kRate), 1};
        constexpr auto kAny = static_cast<std::uint32_t>(-1);
        pa_buffer_attr attributes{kAny, 640, kAny, kAny, kAny};
        int error = 0;
        pa_simple* stream =
            pa_simple_new(nullptr, "fidelity test", PA_STREAM_PLAYBACK, m_sink.c_str(), "chirp",
                          &format, nullptr, &attributes, &error);
        m_failed = !stream;
        constexpr std::size_t kChunk = 80; // 10 ms
        std::vector<std::int16_t> chunk(kChunk);
        const auto total = static_cast<std::size_t>(kChirpSeconds * kRate);
        for (std::size_t written = 0; stream && written < total && !m_quit; written += kChunk) {
            for (std::size_t i = 0; i < kChunk; ++i) {
                const double t = static_cast<double>(written + i) / kRate;
                chunk[i] = static_cast<std::int16_t>(std::lround(12000 * ChirpAt(t)));
            }
            if (pa_simple_write(stream, chunk.data(), kChunk * 2, &error) < 0) {
                m_failed = true;
                break;
            }
            const pa_usec_t latency = pa_simple_get_latency(stream, &error);
            const double playing =
                static_cast<double>(written + kChunk) / kRate - static_cast<double>(latency) / 1e6;
            std::lock_guard lock(m_mutex);
            const double now = Seconds(Clock::now());
            m_offsets.emplace_back(now, now - playing);
            m_played = playing;
        }
        if (stream)
            pa_simple_free(stream);
    }

    const std::string m_sink;
    std::atomic<bool> m_quit{false};
    std::atomic<bool> m_failed{false};
    std::atomic<double> m_played{0};
    mutable std::mutex m_mutex;
    std::vector<std::pair<double, double>> m_offsets; // wall clock, wall minus signal
    std::thread m_thread;
};

// Where in the chirp each 50 ms window of a recording lies: the window's mean frequency
// from its zero crossings (interpolated between samples) dates its middle. Returns the
// signal moment at the recording's first sample as each window sees it; a window without
// a readable tone gives NaN.
std::vector<double> SignalAtStartPerWindow(const Bytes& samples)
{
    constexpr std::size_t kWindow = 400;
    std::vector<double> starts;
    for (std::size_t from = 0; from + kWindow <= samples.size(); from += kWindow) {
        std::vector<double> crossings;
        for (std::size_t i = from + 1; i < from + kWindow; ++i) {
            const double a = samples[i - 1] - 128.0, b = samples[i] - 128.0;
            if ((a < 0) != (b < 0))
                crossings.push_back(static_cast<double>(i - 1) + a / (a - b));
        }
        if (crossings.size() < 10) {
            starts.push_back(std::nan(""));
            continue;
        }
        const double span = (crossings.back() - crossings.front()) / kRate;
        const double hz = static_cast<double>(crossings.size() - 1) / (2 * span);
        const double middle = (crossings.back() + crossings.front()) / 2 / kRate;
        starts.push_back((hz - kStartHz) / kHzPerSecond - middle);
    }
    return starts;
}

// Every window lies where a continuous recording puts it: a gap would shift those after it
// by its length.
void ExpectNoGap(const std::vector<double>& starts, double start)
{
    for (std::size_t i = 0; i < starts.size(); ++i)
        EXPECT_NEAR(starts[i], start, 0.015) << "window " << i << " of " << starts.size();
}

// A manager on the sound server with a null sink of the test's own (named after the test, as
// the cases may run side by side); skips where there is no server or no pactl.
class PulseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto backend = CPulseWaveBackend::Connect();
        if (!backend)
            GTEST_SKIP() << "no sound server answers";
        m_sink = std::make_unique<CPrivateSink>(
            std::string("parlantographer_") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        if (!m_sink->Loaded())
            GTEST_SKIP() << "pactl cannot load a null sink";
        m_manager = std::make_unique<CAudioManager>(std::move(backend));
        m_manager->GetRecorder().SetDeviceName(m_sink->Monitor());
    }
    // The chirp playing into the sink, past the null sink's first two seconds, which it
    // renders at once: the chirp is dated from when it plays in small steps.
    std::unique_ptr<CChirpPlayer> StartChirp() const
    {
        auto player = std::make_unique<CChirpPlayer>(m_sink->Name());
        while (player->PlayedSeconds() < 0.4 && !player->Failed())
            std::this_thread::sleep_for(5ms);
        return player;
    }

    // The samples of a PCM record the recorder made: all that follows its header.
    Bytes Samples(const std::string& name) const
    {
        return Slice(ReadFile(m_dir.File(name)), kRecordHeaderSize, SIZE_MAX);
    }

    CTempFolder m_dir;
    std::unique_ptr<CPrivateSink> m_sink;
    std::unique_ptr<CAudioManager> m_manager;
};

using PulseFidelity = PulseTest;
using PulseDevices = PulseTest;

// Records the monitor of a null sink through the engine's recorder while the chirp plays
// into the sink, and dates the file's first and last samples on the chirp's time line:
// what was played between Record's return and the stop request must be in the file,
// without a gap.
TEST_F(PulseFidelity, TheRecordingHoldsWhatPlayedBetweenRecordAndStop)
{
    CRecorder& recorder = m_manager->GetRecorder();
    const std::unique_ptr<CChirpPlayer> chirp = StartChirp();
    ASSERT_FALSE(chirp->Failed());
    const CChirpPlayer& player = *chirp;

    recorder.Record(m_dir.File("memo.wav"));
    const Clock::time_point recording = Clock::now();
    std::this_thread::sleep_for(1500ms);
    const Clock::time_point stopping = Clock::now();
    recorder.StopRecording();

    // A recording limited to one second ends by itself a second after it started.
    recorder.SetSampleLimit(8000);
    recorder.Record(m_dir.File("second.wav"));
    const Clock::time_point limited = Clock::now();
    ASSERT_TRUE(recorder.WaitForSampleLimit(3s));
    const double limitedSeconds = std::chrono::duration<double>(Clock::now() - limited).count();
    recorder.StopRecording();
    EXPECT_EQ(Samples("second.wav").size(), 8000u);
    EXPECT_NEAR(limitedSeconds, 1.0, 0.3);

    const Bytes samples = Samples("memo.wav");
    ASSERT_GT(samples.size(), 8000u);
    const std::vector<double> starts = SignalAtStartPerWindow(samples);
    const double start = Median(starts);
    const double end = start + static_cast<double>(samples.size()) / kRate;
    const double lostAtStart = start - player.SignalAt(recording);
    const double lostAtStop = player.SignalAt(stopping) - end;
    const double unsteadiness = player.Unsteadiness(recording - 100ms, stopping + 100ms);
    std::cout << "lost at the start " << lostAtStart * 1000 << " ms, at the stop "
              << lostAtStop * 1000 << " ms, one-second limit after " << limitedSeconds
              << " s, player unsteady by " << unsteadiness * 1000 << " ms\n";
    if (unsteadiness > 0.005)
        GTEST_SKIP() << "the chirp itself stalled by " << unsteadiness * 1000
                     << " ms on a loaded machine: there is nothing to date the recording by";
    EXPECT_LE(lostAtStart, 0.100);
    EXPECT_LE(lostAtStop, 0.050);
    ExpectNoGap(starts, start);
}

// A pause on the server: the chirp is recorded without a gap up to the pause and from the
// resume on, and what played in between is left out as long as the pause lasted; the device
// stayed open all along, so nothing around the pause is lost to opening it again.
TEST_F(PulseFidelity, APauseLeavesOutWhatPlayedMeanwhileAndNothingElse)
{
    CRecorder& recorder = m_manager->GetRecorder();
    const std::unique_ptr<CChirpPlayer> chirp = StartChirp();
    ASSERT_FALSE(chirp->Failed());
    const CChirpPlayer& player = *chirp;

    // 2 s recorded, 3 s paused, 2 s recorded: a record of 4 s.
    recorder.Record(m_dir.File("memo.wav"));
    std::this_thread::sleep_for(2000ms);
    const Clock::time_point pausing = Clock::now();
    ASSERT_TRUE(recorder.Pause());
    std::this_thread::sleep_for(3000ms);
    const Clock::time_point resuming = Clock::now();
    ASSERT_TRUE(recorder.Resume());
    const auto joint = static_cast<std::size_t>(recorder.CapturedSamples());
    std::this_thread::sleep_for(2000ms);
    recorder.StopRecording();

    const Bytes samples = Samples("memo.wav");
    EXPECT_NEAR(static_cast<double>(samples.size()) / kRate, 4.0, 0.3);
    const std::vector<double> starts = SignalAtStartPerWindow(samples);
    const std::size_t jointWindow = joint / 400;
    ASSERT_GT(jointWindow, 4u);
    ASSERT_GT(starts.size(), jointWindow + 4);
    const std::vector<double> before(starts.begin(), starts.begin() + jointWindow);
    // After the joint each window is dated as if the pause had been recorded.
    std::vector<double> after(starts.begin() + static_cast<long>(jointWindow) + 1, starts.end());
    const double start = Median(before);
    const double left = Median(after) - start;
    const double paused = std::chrono::duration<double>(resuming - pausing).count();
    std::cout << "left out " << left * 1000 << " ms of a " << paused * 1000 << " ms pause\n";
    if (player.Unsteadiness(pausing - 2100ms, resuming + 2100ms) > 0.005)
        GTEST_SKIP() << "the chirp itself stalled on a loaded machine";
    ExpectNoGap(before, start);
    ExpectNoGap(after, start + left);
    EXPECT_NEAR(left, paused, 0.06);
}

// The player on the server plays its buffers one after the other without a gap and says
// it has stopped once the last one has played: a chirp record played into a null sink is
// recorded from the sink's monitor in one piece, as long as it is.
TEST_F(PulseFidelity, ThePlayerPlaysEveryBufferInTurnAndEnds)
{
    CRecorder& recorder = m_manager->GetRecorder();
    CPlayer& player = m_manager->GetPlayer();
    player.SetDeviceName(m_sink->Name());
    constexpr double kSeconds = 2.5;
    Bytes chirp(static_cast<std::size_t>(kSeconds * kRate));
    for (std::size_t i = 0; i < chirp.size(); ++i)
        chirp[i] = static_cast<std::uint8_t>(
            std::lround(128 + 60 * ChirpAt(static_cast<double>(i) / kRate)));
    WriteFile(m_dir.File("chirp.wav"), WavFile(chirp));

    recorder.Record(m_dir.File("memo.wav"));
    player.Play(m_dir.File("chirp.wav"));
    ASSERT_TRUE(player.WaitUntilStopped(10s));
    player.StopPlaying();
    std::this_thread::sleep_for(200ms);
    recorder.StopRecording();

    // The windows that hold the chirp, without the two at its edges that hold silence too.
    std::vector<double> starts = SignalAtStartPerWindow(Samples("memo.wav"));
    const auto tone = [](double start) {
        return !std::isnan(start);
    };
    const auto first = std::ranges::find_if(starts, tone);
    const auto last = std::ranges::find_if(starts | std::views::reverse, tone).base();
    ASSERT_GT(last - first, 4);
    starts.assign(first + 1, last - 1);
    ExpectNoGap(starts, Median(starts));
    EXPECT_NEAR(static_cast<double>(starts.size() + 2) * 0.05, kSeconds, 0.1);
}

// A named device is listed, opened by its name and, once removed during a recording, ends
// the run: the recorder reports the loss and the audio captured until then is in the file.
// A name that is not present opens the default and says so.
TEST_F(PulseDevices, ARemovedDeviceEndsTheRecordingAndKeepsWhatWasCaptured)
{
    for (const EWaveDirection direction : {EWaveDirection::Input, EWaveDirection::Output}) {
        const auto devices = m_manager->GetWaveBackend().Devices(direction);
        EXPECT_EQ(std::ranges::count_if(devices, &SWaveDeviceInfo::isDefault), 1);
        EXPECT_TRUE(HasWaveDevice(devices, direction == EWaveDirection::Input ? m_sink->Monitor()
                                                                              : m_sink->Name()));
    }
    CRecorder& recorder = m_manager->GetRecorder();
    recorder.SetDeviceName("parlantographer_absent.monitor");
    recorder.CheckDevices();
    EXPECT_TRUE(recorder.FellBackToDefault());

    recorder.SetDeviceName(m_sink->Monitor());
    recorder.Record(m_dir.File("memo.wav"));
    EXPECT_FALSE(recorder.FellBackToDefault());
    // An idle null sink renders two seconds at a time, so its monitor's first samples come
    // late; once the first second is in, the rest flows in small fragments.
    const auto WaitFor = [](const auto& condition) {
        for (const auto deadline = Clock::now() + 5s; !condition() && Clock::now() < deadline;)
            std::this_thread::sleep_for(10ms);
        return condition();
    };
    ASSERT_TRUE(WaitFor([&] { return recorder.CapturedSamples() >= 8000; }));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(recorder.DeviceLost());
    m_sink->Unplug();
    EXPECT_TRUE(WaitFor([&] { return recorder.DeviceLost(); }));
    recorder.StopRecording();
    // The second in the encoder and the part of the next one in the returned buffer.
    EXPECT_GT(Samples("memo.wav").size(), 8000u + 1600u);
}

// The scheduling of the first thread that calls Note (a stop drains the last samples on the
// stopping thread).
struct SScheduling
{
    std::atomic<int> policy{-1};
    std::atomic<int> nice{0};
    std::once_flag noted;
    void Note()
    {
        std::call_once(noted, [this] {
            nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
            policy = sched_getscheduler(0);
        });
    }
};

// Whether this process may have real-time scheduling at all, asked on a thread of its own.
bool MayScheduleRealTime()
{
    bool granted = false;
    std::thread([&granted] {
        sched_param parameters{};
        parameters.sched_priority = sched_get_priority_min(SCHED_FIFO);
        granted = pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters) == 0;
    }).join();
    return granted;
}

// The pump moves samples every few milliseconds and must not be late, so it asks for
// real-time scheduling; the device thread encodes a second at a time and keeps the
// priority it was given.
TEST_F(PulseDevices, OnlyThePumpAsksForRealTimeScheduling)
{
    struct CNotingSink : MWaveNoticeSink
    {
        bool PostWaveNotice(EWaveNotice, SWaveBuffer*) override { return true; }
        void OnCaptured(const std::uint8_t*, std::size_t) override { pump.Note(); }
        SScheduling pump;
    } sink;
    std::unique_ptr<MWaveDevice> device;
    ASSERT_EQ(m_manager->GetWaveBackend().Open(EWaveDirection::Input, m_sink->Monitor(),
                                               MakeWaveFormat(8000, 8, 1), sink, device),
              0);
    Bytes block(8000);
    SWaveBuffer buffer;
    buffer.data = block.data();
    buffer.length = block.size();
    ASSERT_EQ(device->AddBuffer(buffer), 0);
    ASSERT_EQ(device->Start(), 0);
    for (const auto deadline = Clock::now() + 5s; sink.pump.policy < 0 && Clock::now() < deadline;)
        std::this_thread::sleep_for(10ms);
    device->Reset();
    device->Close();
    EXPECT_EQ(sink.pump.policy, MayScheduleRealTime() ? SCHED_FIFO : SCHED_OTHER);

    struct CNotingEncoder : CCollectingEncoder
    {
        using CCollectingEncoder::CCollectingEncoder;
        bool Write(std::span<const std::uint8_t> data, bool last) override
        {
            encoder.Note();
            return CCollectingEncoder::Write(data, last);
        }
        SScheduling encoder;
    } encoder(*m_manager);
    CRecorder recorder(*m_manager, &encoder);
    recorder.SetDeviceName(m_sink->Monitor());
    recorder.Record(m_dir.File("memo.wav"));
    recorder.StopRecording(); // at least the last write
    EXPECT_EQ(encoder.encoder.policy, SCHED_OTHER);
    EXPECT_EQ(encoder.encoder.nice, getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())));
}

} // namespace
