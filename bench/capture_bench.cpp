// What capturing costs the program while it records in real time: the process's CPU time
// per second of audio, as a percentage of one core, through the sound server and through
// the simulated device at its real-time pace. Each iteration first lets the process sit
// idle for as long as it then measures a recording in progress, with the same backend
// open, so the share the recording adds is reported beside the idle baseline of the same
// run. (The server's own
// work happens in its process and is not counted.)

#include "audio/audiomanager.h"
#include "audio/recorder.h"
#include "benchsupport.h"
#include "platform/pulsewavebackend.h"
#include "platform/simwavebackend.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>

using namespace Bench;

namespace {

constexpr std::chrono::seconds kPeriod{3};

double ProcessCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double WallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void MeasureCapture(benchmark::State& state, std::unique_ptr<MWaveBackend> backend)
{
    CAudioManager manager(std::move(backend));
    manager.ApplyFormat(0);
    CRecorder& recorder = manager.GetRecorder();
    const std::string path = (ScratchDir() / "capture.wav").string();
    double idleCpu = 0, idleWall = 0, captureCpu = 0, captureWall = 0;
    for (auto _ : state) {
        double cpu = ProcessCpuSeconds(), wall = WallSeconds();
        std::this_thread::sleep_for(kPeriod);
        idleCpu += ProcessCpuSeconds() - cpu;
        idleWall += WallSeconds() - wall;

        // Measured once samples flow: an idle null sink sends its monitor's first samples
        // up to two seconds late.
        recorder.Record(path);
        for (const double giveUp = WallSeconds() + 5;
             recorder.CapturedSamples() < 8000 && WallSeconds() < giveUp;)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        cpu = ProcessCpuSeconds();
        wall = WallSeconds();
        std::this_thread::sleep_for(kPeriod);
        captureCpu += ProcessCpuSeconds() - cpu;
        captureWall += WallSeconds() - wall;
        recorder.StopRecording();
    }
    state.counters["idle_pct_of_core"] = 100 * idleCpu / idleWall;
    state.counters["capture_pct_of_core"] = 100 * captureCpu / captureWall;
    state.counters["added_pct_of_core"] = 100 * (captureCpu / captureWall - idleCpu / idleWall);
    state.counters["cpu_ms_per_audio_s"] = 1000 * captureCpu / captureWall;
}

void BM_CaptureThroughSoundServer(benchmark::State& state)
{
    auto backend = CPulseWaveBackend::Connect();
    if (!backend) {
        state.SkipWithError("skipped: no sound server answers");
        for (auto _ : state) {
        }
        return;
    }
    MeasureCapture(state, std::move(backend));
}

void BM_CaptureThroughSimulatedDevice(benchmark::State& state)
{
    MeasureCapture(state, std::make_unique<CSimWaveBackend>(SSimWaveConfig{}));
}

} // namespace

BENCHMARK(BM_CaptureThroughSoundServer)->Iterations(2)->Unit(benchmark::kSecond);
BENCHMARK(BM_CaptureThroughSimulatedDevice)->Iterations(2)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
