// What the level meter adds to the capture path: each 20-ms fragment of speech is copied
// into a one-second buffer (what the buffer queue does with every fragment anyway, the
// baseline), and then, in the second benchmark, also measured. The ratio of the two is
// the meter's share of the copy's work.

#include "audio/levelmeter.h"
#include "benchsupport.h"

#include <benchmark/benchmark.h>
#include <cstring>

using namespace Bench;

namespace {

constexpr std::size_t kFragment = 160; // 20 ms at 8000 samples a second

void Copy(const Bytes& clip, Bytes& second, std::size_t& at, std::size_t& offset)
{
    if (at + kFragment > second.size())
        at = 0;
    if (offset + kFragment > clip.size())
        offset = 0;
    std::memcpy(second.data() + at, clip.data() + offset, kFragment);
    at += kFragment;
    offset += kFragment;
}

void BM_CopyFragment(benchmark::State& state)
{
    const Bytes& clip = SpeechClip();
    Bytes second(8000);
    std::size_t at = 0;
    std::size_t offset = 0;
    for (auto _ : state) {
        Copy(clip, second, at, offset);
        benchmark::DoNotOptimize(second.data());
    }
}

void BM_CopyAndMeterFragment(benchmark::State& state)
{
    const Bytes& clip = SpeechClip();
    Bytes second(8000);
    std::size_t at = 0;
    std::size_t offset = 0;
    CLevelMeter meter;
    meter.Start(8, 8000);
    for (auto _ : state) {
        Copy(clip, second, at, offset);
        meter.Add(second.data() + at - kFragment, kFragment);
        benchmark::DoNotOptimize(second.data());
    }
    benchmark::DoNotOptimize(meter.Level());
}

} // namespace

BENCHMARK(BM_CopyFragment);
BENCHMARK(BM_CopyAndMeterFragment);

BENCHMARK_MAIN();
