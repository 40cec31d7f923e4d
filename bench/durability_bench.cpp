// What pushing a recording to the disk costs, against the same recording without it. A
// recording is 40 one-second writes of speech, made to the encoder as the device thread makes
// them, one second of audio every 20 ms: fifty times real time, so that a sync is nearly
// always under way while the next second is written. Measured per recording:
// - the device thread's share: the time spent in the encoder's writes, per second of audio;
// - the whole recording: Open (which syncs the new name's folder) and Close (the last sync)
//   included, the pauses between seconds left out.
// Each synced run has a plain run beside it; the ratio synced / plain of every pair is printed
// as min / median / max. The scratch folder must be on a disk (not a tmpfs, where a sync costs
// nothing): set TMPDIR to choose it.

#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "benchsupport.h"
#include "platform/wavebackend.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace Bench;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSeconds = 40;
constexpr std::chrono::milliseconds kPace{20};
constexpr int kRepetitions = 7;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One recording in `format` (0 PCM, 3 Speex quality 3), with or without syncs.
void Record(benchmark::State& state, int format, bool sync)
{
    CAudioManager manager;
    manager.ApplyFormat(format);
    const Bytes& clip = SpeechClip();
    const std::string path =
        (ScratchDir() / ("durability" + std::to_string(format) + (format ? ".ogg" : ".wav")))
            .string();
    for (auto _ : state) {
        const auto encoder = manager.CreateEncoder(manager.CodecIndex());
        encoder->SetSyncToDisk(sync);
        double writing = 0;
        double paused = 0;
        const Clock::time_point start = Clock::now();
        encoder->Open(path, false);
        for (int s = 0; s < kSeconds; ++s) {
            const std::size_t at = static_cast<std::size_t>(s) * 8000 % (clip.size() - 8000);
            const Clock::time_point written = Clock::now();
            encoder->Write({clip.data() + at, 8000}, s + 1 == kSeconds);
            writing += Since(written);
            const Clock::time_point pause = Clock::now();
            std::this_thread::sleep_for(kPace);
            paused += Since(pause);
        }
        encoder->Close();
        state.SetIterationTime(Since(start) - paused);
        state.counters["write_us_per_audio_s"] = writing / kSeconds * 1e6;
    }
}

void BM_PcmPlain(benchmark::State& state)
{
    Record(state, 0, false);
}
void BM_PcmSynced(benchmark::State& state)
{
    Record(state, 0, true);
}
void BM_SpeexPlain(benchmark::State& state)
{
    Record(state, 3, false);
}
void BM_SpeexSynced(benchmark::State& state)
{
    Record(state, 3, true);
}

#define DURABILITY_BENCHMARK(name)                                                                 \
    BENCHMARK(name)                                                                                \
        ->Iterations(1)                                                                            \
        ->Repetitions(kRepetitions)                                                                \
        ->ReportAggregatesOnly(false)                                                              \
        ->UseManualTime()                                                                          \
        ->Unit(benchmark::kMillisecond)
DURABILITY_BENCHMARK(BM_PcmPlain);
DURABILITY_BENCHMARK(BM_PcmSynced);
DURABILITY_BENCHMARK(BM_SpeexPlain);
DURABILITY_BENCHMARK(BM_SpeexSynced);

// Keeps every repetition's two measures and prints the synced / plain ratios.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            SMeasures& measures = m_runs[run.run_name.function_name];
            measures.recording.push_back(run.GetAdjustedRealTime());
            measures.writes.push_back(run.counters.at("write_us_per_audio_s").value);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* format : {"Pcm", "Speex"}) {
            const SMeasures& plain = m_runs[std::string("BM_") + format + "Plain"];
            const SMeasures& synced = m_runs[std::string("BM_") + format + "Synced"];
            Print(format, "device thread's writes", synced.writes, plain.writes);
            Print(format, "whole recording", synced.recording, plain.recording);
        }
    }

private:
    struct SMeasures
    {
        std::vector<double> recording;
        std::vector<double> writes;
    };

    static void Print(const char* format, const char* what, const std::vector<double>& synced,
                      const std::vector<double>& plain)
    {
        std::vector<double> ratios;
        for (std::size_t i = 0; i < std::min(synced.size(), plain.size()); ++i) {
            if (plain[i] > 0)
                ratios.push_back(synced[i] / plain[i]);
        }
        if (ratios.empty())
            return;
        std::sort(ratios.begin(), ratios.end());
        std::cout << format << ", " << what << ", synced / plain: min " << ratios.front()
                  << ", median " << ratios[ratios.size() / 2] << ", max " << ratios.back() << '\n';
    }

    std::map<std::string, SMeasures> m_runs;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::cout << "scratch folder: " << ScratchDir().string() << '\n';
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
