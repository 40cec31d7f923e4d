// What a record's waveform costs: the peaks of a ten-minute Speex memo (format 3), against
// decoding the same memo as the player does, measured beside it in every iteration. Counters
// give the ratio's minimum, median and maximum over the iterations, and the peaks' own
// seconds (wall clock and processor), which is how long the waveform takes to appear for such
// a memo.

#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/baseencoder.h"
#include "audio/waveformpeaks.h"
#include "benchsupport.h"
#include "platform/wavebackend.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>

using namespace Bench;

namespace {

constexpr std::size_t kSeconds = 600;
constexpr std::size_t kSecond = 8000;

const std::string& Memo(const CAudioManager& audio)
{
    static const std::string path = [&audio] {
        const std::string file = (ScratchDir() / "memo.ogg").string();
        const auto encoder = audio.CreateEncoderOfFormat(3);
        encoder->SetSyncToDisk(false);
        encoder->Open(file, false);
        WriteSpeechSeconds(*encoder, kSeconds);
        encoder->Close();
        return file;
    }();
    return path;
}

double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The baseline: the memo decoded to its end in the player's one-second reads.
void Decode(const CAudioManager& audio, const std::string& path)
{
    const auto decoder = audio.OpenDecoder(path);
    std::vector<std::uint8_t> buffer(kSecond);
    for (bool end = false; !end;) {
        const SDecoded read = decoder->Read(buffer);
        benchmark::DoNotOptimize(buffer.data());
        end = read.end || read.size == 0;
    }
}

void BM_PeaksOfTenMinutesAgainstDecoding(benchmark::State& state)
{
    CAudioManager audio;
    const std::string& memo = Memo(audio);
    std::vector<double> ratios;
    std::vector<double> seconds;
    // The processor's seconds too: on a loaded machine the wall clock counts the waits for it.
    std::vector<double> cpuSeconds;
    for (auto _ : state) {
        const double baseline = SecondsOf([&] { Decode(audio, memo); });
        const double cpuBefore = ThreadCpuSeconds();
        const double peaks = SecondsOf([&] {
            const auto computed = WaveformPeaks::Compute(audio, memo);
            if (!computed || computed->totalSamples < (kSeconds - 1) * kSecond)
                std::abort();
        });
        cpuSeconds.push_back(ThreadCpuSeconds() - cpuBefore);
        ratios.push_back(peaks / baseline);
        seconds.push_back(peaks);
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(seconds.begin(), seconds.end());
    std::sort(cpuSeconds.begin(), cpuSeconds.end());
    state.counters["ratio_min"] = ratios.front();
    state.counters["ratio_median"] = ratios[ratios.size() / 2];
    state.counters["ratio_max"] = ratios.back();
    state.counters["peaks_s_min"] = seconds.front();
    state.counters["peaks_s_median"] = seconds[seconds.size() / 2];
    state.counters["peaks_s_max"] = seconds.back();
    state.counters["peaks_cpu_s_median"] = cpuSeconds[cpuSeconds.size() / 2];
}

} // namespace

BENCHMARK(BM_PeaksOfTenMinutesAgainstDecoding)->Unit(benchmark::kMillisecond)->Iterations(10);

BENCHMARK_MAIN();
