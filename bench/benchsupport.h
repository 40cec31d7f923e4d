#pragma once

// Shared by the benchmarks: a scratch folder and a speech clip at the device format.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ogg/ogg.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace Bench {

using Bytes = std::vector<std::uint8_t>;

// Writes the pages libogg has completed, or every pending page when `flush` is set.
inline void WriteOggPages(ogg_stream_state& stream, std::FILE* file, bool flush)
{
    ogg_page page;
    while ((flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) != 0) {
        std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file);
        std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file);
    }
}

// This process's scratch folder, removed with everything in it when the process ends. The
// folder is removed by the destructor of what holds its path: a handler registered while the
// path was being made would run after the path was gone, and leave the folder behind.
struct SScratchDir
{
    std::filesystem::path path;
    ~SScratchDir()
    {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
};

inline const std::filesystem::path& ScratchDir()
{
    static const SScratchDir dir{[] {
        auto d = std::filesystem::temp_directory_path() /
                 ("parlantographer_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }()};
    return dir.path;
}

inline Bytes ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A vowel-like synthetic signal, for machines without a speech synthesiser.
inline Bytes SyntheticSpeech(std::size_t samples)
{
    Bytes out(samples);
    double phase = 0;
    for (std::size_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / 8000.0;
        phase += 2 * M_PI * (150 + 40 * std::sin(2 * M_PI * 0.8 * t)) / 8000.0;
        double v = 0;
        for (int h = 1; h <= 10; ++h)
            v += std::sin(h * phase) / h;
        const double loud = std::max(0.0, std::sin(2 * M_PI * 3 * t));
        out[i] = static_cast<std::uint8_t>(std::lround(128 + 50 * loud * v));
    }
    return out;
}

// About ten seconds of synthesised English speech at 8 kHz, unsigned 8-bit mono, made with
// espeak-ng and sox; the synthetic signal when either is missing or fails. `source` says
// which one was used.
inline const Bytes& SpeechClip(std::string* source = nullptr)
{
    static std::string used;
    static const Bytes clip = [] {
        const auto wav = ScratchDir() / "speech.wav";
        const auto raw = ScratchDir() / "speech.raw";
        const std::string command =
            "espeak-ng -w '" + wav.string() +
            "' 'Remember to call the garage about the brakes before Thursday, and ask Maria "
            "whether the quarterly figures are ready for the meeting on the fourteenth.' "
            ">/dev/null 2>&1 && sox '" +
            wav.string() + "' -r 8000 -b 8 -c 1 -e unsigned-integer -t raw '" + raw.string() +
            "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            Bytes speech = ReadAll(raw);
            if (speech.size() >= 8000) {
                used = "espeak-ng";
                return speech;
            }
        }
        used = "synthetic";
        return SyntheticSpeech(80000);
    }();
    if (source)
        *source = used;
    return clip;
}

// CPU seconds of the calling thread.
inline double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// `seconds` of the speech clip, over and over, into an open encoder in the recorder's
// one-second writes, the last one flagged.
template <typename Encoder> void WriteSpeechSeconds(Encoder& encoder, std::size_t seconds)
{
    constexpr std::size_t kSecond = 8000;
    const Bytes& clip = SpeechClip();
    Bytes second(kSecond);
    for (std::size_t s = 0; s < seconds; ++s) {
        for (std::size_t i = 0; i < kSecond; ++i)
            second[i] = clip[(s * kSecond + i) % clip.size()];
        encoder.Write(second, s + 1 == seconds);
    }
}

} // namespace Bench
