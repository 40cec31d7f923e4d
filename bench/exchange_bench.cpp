// What exporting and importing a memo costs, as ratios against encoding the same minute with
// the engine's Speex encoder at format 3 (what recording it cost), measured beside it in
// every iteration: the window shows progress and offers Cancel on the strength of these
// numbers. Counters give the ratio's minimum, median and maximum over the iterations, and how
// many times faster than real time the transfer runs.

#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/baseencoder.h"
#include "benchsupport.h"
#include "exchange/recordexporter.h"
#include "exchange/recordimporter.h"
#include "platform/wavebackend.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>

using namespace Bench;

namespace {

constexpr std::size_t kSeconds = 60;
constexpr std::size_t kSecond = 8000;

const QString& Record(const CAudioManager& audio)
{
    static const QString path = [&audio] {
        const std::string file = (ScratchDir() / "memo.wav").string();
        const auto encoder = audio.CreateEncoderOfFormat(0);
        encoder->SetInfo("*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\nCall back\n[[Contacts]]\n");
        encoder->Open(file, false);
        WriteSpeechSeconds(*encoder, kSeconds);
        encoder->Close();
        return QString::fromStdString(file);
    }();
    return path;
}

// The same minute as a 44.1 kHz 16-bit stereo WAV, as a phone or an editor would give it.
const QString& StereoFile()
{
    static const QString path = [] {
        const auto file = ScratchDir() / "stereo.wav";
        const std::size_t frames = kSeconds * 44100;
        const auto le = [](std::uint32_t v, int n) {
            Bytes out;
            for (int i = 0; i < n; ++i)
                out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
            return out;
        };
        Bytes wav{'R', 'I', 'F', 'F'};
        for (const Bytes& part :
             {le(static_cast<std::uint32_t>(36 + frames * 4), 4),
              Bytes{'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}, le(16, 4), le(1, 2), le(2, 2),
              le(44100, 4), le(44100 * 4, 4), le(4, 2), le(16, 2), Bytes{'d', 'a', 't', 'a'},
              le(static_cast<std::uint32_t>(frames * 4), 4)})
            wav.insert(wav.end(), part.begin(), part.end());
        const Bytes& clip = SpeechClip();
        for (std::size_t f = 0; f < frames; ++f) {
            const auto v =
                static_cast<std::uint16_t>((clip[f * 8000 / 44100 % clip.size()] - 128) * 256);
            const Bytes sample = le(v, 2);
            wav.insert(wav.end(), {sample[0], sample[1], sample[0], sample[1]});
        }
        std::FILE* out = std::fopen(file.c_str(), "wb");
        std::fwrite(wav.data(), 1, wav.size(), out);
        std::fclose(out);
        return QString::fromStdString(file.string());
    }();
    return path;
}

double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The baseline: the record's minute decoded and encoded again as Speex, quality 3.
void EncodeSpeex(const CAudioManager& audio, const QString& path)
{
    const auto decoder = audio.OpenDecoder(path.toStdString());
    const auto encoder = audio.CreateEncoderOfFormat(3);
    encoder->Open((ScratchDir() / "baseline.ogg").string(), false);
    std::vector<std::uint8_t> buffer(kSecond);
    for (bool end = false; !end;) {
        const SDecoded decoded = decoder->Read(buffer);
        end = decoded.end;
        encoder->Write(std::span(buffer.data(), decoded.size), end);
    }
    encoder->Close();
}

void Measure(benchmark::State& state, const std::function<void(const CAudioManager&)>& transfer)
{
    CAudioManager audio;
    const QString& record = Record(audio);
    std::vector<double> ratios;
    double transferSeconds = 0;
    for (auto _ : state) {
        const double baseline = SecondsOf([&] { EncodeSpeex(audio, record); });
        const double seconds = SecondsOf([&] { transfer(audio); });
        ratios.push_back(seconds / baseline);
        transferSeconds += seconds;
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["ratio_min"] = ratios.front();
    state.counters["ratio_median"] = ratios[ratios.size() / 2];
    state.counters["ratio_max"] = ratios.back();
    state.counters["x_realtime"] =
        static_cast<double>(kSeconds) * static_cast<double>(ratios.size()) / transferSeconds;
}

void BM_Export(benchmark::State& state, const char* extension)
{
    const QString out = QString::fromStdString((ScratchDir() / "out.").string()) + extension;
    Measure(state, [&out](const CAudioManager& audio) {
        if (!CRecordExporter(audio).Export(Record(audio), out, true).Ok())
            std::abort();
    });
}

void BM_ImportStereo(benchmark::State& state, int format)
{
    const QString folder = QString::fromStdString((ScratchDir() / "Data").string());
    StereoFile();
    Measure(state, [&](const CAudioManager& audio) {
        const auto result = CRecordImporter(audio).Import(StereoFile(), folder, format);
        if (!result.Ok() || !QFile::remove(result.path))
            std::abort();
    });
}

} // namespace

BENCHMARK_CAPTURE(BM_Export, wav, "wav")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_Export, flac, "flac")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_Export, opus, "opus")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_Export, mp3, "mp3")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_ImportStereo, to_pcm, 0)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_ImportStereo, to_speex_q3, 3)->Unit(benchmark::kMillisecond)->Iterations(10);

BENCHMARK_MAIN();
