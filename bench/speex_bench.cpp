// Speex encoding and decoding through the engine's codec pair, beside a bare loop of library
// calls on the same speech clip. Each benchmark runs both in every iteration and reports
// seconds of audio per CPU second for each, and their ratio (engine / bare; 1.0 = no cost).

#include "audio/audiomanager.h"
#include "audio/oggchecksum.h"
#include "audio/speexdecoder.h"
#include "audio/speexencoder.h"
#include "benchsupport.h"
#include "platform/wavebackend.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <ogg/ogg.h>
#include <speex/speex.h>

using namespace Bench;

namespace {

constexpr std::size_t kSecond = 8000;

// The recorder's pattern: one-second writes, the last one flagged.
void EngineEncode(CAudioManager& manager, const Bytes& clip, const std::string& path)
{
    const auto ownedEncoder = manager.CreateEncoder(manager.CodecIndex());
    CBaseEncoder& encoder = *ownedEncoder;
    encoder.Open(path, false);
    for (std::size_t at = 0; at < clip.size(); at += kSecond) {
        const std::size_t n = std::min(kSecond, clip.size() - at);
        encoder.Write(std::span(clip).subspan(at, n), at + n == clip.size());
    }
    encoder.Close();
}

// The same stream with nothing but libspeex and libogg calls.
void BareEncode(int quality, const Bytes& clip, const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    void* state = speex_encoder_init(speex_lib_get_mode(SPEEX_MODEID_NB));
    speex_encoder_ctl(state, SPEEX_SET_QUALITY, &quality);
    SpeexBits bits;
    speex_bits_init(&bits);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    spx_int16_t pcm[160];
    char packetBytes[2000];
    const std::size_t frames = clip.size() / 160;
    for (std::size_t f = 0; f < frames; ++f) {
        for (int i = 0; i < 160; ++i)
            pcm[i] =
                static_cast<spx_int16_t>((clip[f * 160 + static_cast<std::size_t>(i)] - 128) * 256);
        speex_bits_reset(&bits);
        speex_encode_int(state, pcm, &bits);
        speex_bits_insert_terminator(&bits);
        ogg_packet packet{};
        packet.packet = reinterpret_cast<unsigned char*>(packetBytes);
        packet.bytes = speex_bits_write(&bits, packetBytes, sizeof packetBytes);
        packet.granulepos = static_cast<ogg_int64_t>((f + 1) * 160);
        packet.packetno = static_cast<ogg_int64_t>(f);
        packet.e_o_s = f + 1 == frames;
        ogg_stream_packetin(&stream, &packet);
        WriteOggPages(stream, file, false);
    }
    WriteOggPages(stream, file, true);
    ogg_stream_clear(&stream);
    speex_bits_destroy(&bits);
    speex_encoder_destroy(state);
    std::fclose(file);
}

// The player's pattern: one-second reads until the end.
std::size_t EngineDecode(CAudioManager& manager, const std::string& path)
{
    const auto ownedDecoder = manager.CreateDecoder(manager.CodecIndex());
    CBaseDecoder& decoder = *ownedDecoder;
    decoder.Open(path, manager);
    std::uint8_t buffer[kSecond];
    std::size_t total = 0;
    for (bool end = false; !end;) {
        const SDecoded read = decoder.Read(buffer);
        total += read.size;
        end = read.end;
    }
    decoder.Close();
    return total;
}

// Reads every page, skips the two header packets, decodes the rest to 8-bit samples.
std::size_t BareDecode(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    void* state = speex_decoder_init(speex_lib_get_mode(SPEEX_MODEID_NB));
    int enhance = 1;
    speex_decoder_ctl(state, SPEEX_SET_ENH, &enhance);
    SpeexBits bits;
    speex_bits_init(&bits);
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    ogg_stream_state stream;
    bool started = false;
    spx_int16_t pcm[160];
    std::uint8_t out[160];
    std::size_t total = 0, packets = 0;
    for (;;) {
        char* buffer = ogg_sync_buffer(&sync, 4096);
        const std::size_t got = std::fread(buffer, 1, 4096, file);
        if (got == 0)
            break;
        ogg_sync_wrote(&sync, static_cast<long>(got));
        ogg_page page;
        while (ogg_sync_pageout(&sync, &page) == 1) {
            if (!started) {
                ogg_stream_init(&stream, ogg_page_serialno(&page));
                started = true;
            }
            ogg_stream_pagein(&stream, &page);
            ogg_packet packet;
            while (ogg_stream_packetout(&stream, &packet) == 1) {
                if (packets++ < 2 || packet.e_o_s)
                    continue;
                speex_bits_read_from(&bits, reinterpret_cast<char*>(packet.packet),
                                     static_cast<int>(packet.bytes));
                speex_decode_int(state, &bits, pcm);
                for (int i = 0; i < 160; ++i)
                    out[i] =
                        static_cast<std::uint8_t>((static_cast<std::uint16_t>(pcm[i]) >> 8) ^ 0x80);
                benchmark::DoNotOptimize(out);
                total += 160;
            }
        }
    }
    if (started)
        ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    speex_bits_destroy(&bits);
    speex_decoder_destroy(state);
    std::fclose(file);
    return total;
}

void Report(benchmark::State& state, double audioSeconds, double engineCpu, double bareCpu)
{
    const double engine = audioSeconds / engineCpu;
    const double bare = audioSeconds / bareCpu;
    state.counters["engine_audio_s_per_cpu_s"] = engine;
    state.counters["bare_audio_s_per_cpu_s"] = bare;
    state.counters["ratio"] = engine / bare;
}

// What every run of a quality needs: the speech clip (its source as the label) and an
// engine set to that quality.
struct SSetup
{
    explicit SSetup(benchmark::State& state)
        : quality(static_cast<std::uint32_t>(state.range(0))), clip(SpeechClip(&source))
    {
        state.SetLabel(source);
        manager.ApplyFormat(static_cast<int>(quality));
    }

    std::uint32_t quality;
    std::string source;
    const Bytes& clip;
    CAudioManager manager;
};

void BM_SpeexEncode(benchmark::State& state)
{
    SSetup setup(state);
    const auto quality = setup.quality;
    const Bytes& clip = setup.clip;
    CAudioManager& manager = setup.manager;
    const std::string enginePath = (ScratchDir() / "engine.ogg").string();
    const std::string barePath = (ScratchDir() / "bare.ogg").string();
    double engineCpu = 0, bareCpu = 0, audio = 0;
    for (auto _ : state) {
        double t0 = ThreadCpuSeconds();
        EngineEncode(manager, clip, enginePath);
        double t1 = ThreadCpuSeconds();
        BareEncode(CSpeexEncoder::MappedQuality(quality), clip, barePath);
        double t2 = ThreadCpuSeconds();
        engineCpu += t1 - t0;
        bareCpu += t2 - t1;
        audio += static_cast<double>(clip.size()) / kSecond;
    }
    Report(state, audio, engineCpu, bareCpu);
}

void BM_SpeexDecode(benchmark::State& state)
{
    SSetup setup(state);
    const Bytes& clip = setup.clip;
    CAudioManager& manager = setup.manager;
    const std::string path = (ScratchDir() / "decode.ogg").string();
    EngineEncode(manager, clip, path);
    double engineCpu = 0, bareCpu = 0, audio = 0;
    for (auto _ : state) {
        double t0 = ThreadCpuSeconds();
        const std::size_t engineSamples = EngineDecode(manager, path);
        double t1 = ThreadCpuSeconds();
        const std::size_t bareSamples = BareDecode(path);
        double t2 = ThreadCpuSeconds();
        if (engineSamples != bareSamples) {
            state.SkipWithError("engine and bare loop decoded different sample counts");
            return;
        }
        engineCpu += t1 - t0;
        bareCpu += t2 - t1;
        audio += static_cast<double>(engineSamples) / kSecond;
    }
    Report(state, audio, engineCpu, bareCpu);
}

// A page's checksum as listing records checks it, beside libogg's own on the same page:
// the page that ends a stream (28 bytes), a header page (1,108 bytes) and a 4 KB page. Ratio is
// folded / libogg.
void BM_PageChecksum(benchmark::State& state)
{
    Bytes page(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(i * 131 + 7);
    double foldedCpu = 0, liboggCpu = 0;
    std::uint32_t sink = 0;
    for (auto _ : state) {
        double t0 = ThreadCpuSeconds();
        for (int i = 0; i < 1000; ++i)
            sink += OggChecksum::Of(page.data(), page.size());
        double t1 = ThreadCpuSeconds();
        for (int i = 0; i < 1000; ++i)
            sink -= OggChecksum::ByLibogg(page.data(), page.size());
        double t2 = ThreadCpuSeconds();
        foldedCpu += t1 - t0;
        liboggCpu += t2 - t1;
    }
    if (sink != 0)
        state.SkipWithError("the folded checksum differs from libogg's");
    const double pages = static_cast<double>(state.iterations()) * 1000;
    state.counters["folded_ns"] = foldedCpu / pages * 1e9;
    state.counters["libogg_ns"] = liboggCpu / pages * 1e9;
    state.counters["ratio"] = foldedCpu / liboggCpu;
}

} // namespace

BENCHMARK(BM_PageChecksum)->Arg(28)->Arg(1108)->Arg(4096);
BENCHMARK(BM_SpeexEncode)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeexDecode)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
