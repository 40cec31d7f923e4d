// Embedding information into a record rewrites its header in place, so its cost must not
// grow with the record: a one-hour record is tagged beside a one-minute record of the same
// format in every iteration, and the ratio of their times is reported (1.0 = constant).

#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "audio/speexencoder.h"
#include "audio/tagger.h"
#include "benchsupport.h"
#include "platform/wavebackend.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <ogg/ogg.h>
#include <speex/speex.h>

using namespace Bench;

namespace {

constexpr std::size_t kSecond = 8000;

std::string PcmRecord(CAudioManager& manager, std::size_t seconds, const std::string& name)
{
    const std::string path = (ScratchDir() / name).string();
    manager.ApplyFormat(0);
    const auto ownedEncoder = manager.CreateEncoder(manager.CodecIndex());
    CBaseEncoder& encoder = *ownedEncoder;
    encoder.Open(path, false);
    const Bytes& clip = SpeechClip();
    Bytes second(clip.begin(), clip.begin() + static_cast<long>(std::min(clip.size(), kSecond)));
    second.resize(kSecond, 0x80);
    for (std::size_t s = 0; s < seconds; ++s)
        encoder.Write(second, s + 1 == seconds);
    encoder.Close();
    return path;
}

// The engine's two header pages, then `seconds` of one repeated speech frame framed by libogg
// in the same stream: the layout of a real recording, without encoding an hour of audio.
std::string SpeexRecord(CAudioManager& manager, std::size_t seconds, const std::string& name)
{
    const std::string path = (ScratchDir() / name).string();
    manager.ApplyFormat(1);
    const auto ownedEncoder = manager.CreateEncoder(manager.CodecIndex());
    CBaseEncoder& encoder = *ownedEncoder;
    encoder.Open(path, false);
    encoder.Close();

    void* state = speex_encoder_init(speex_lib_get_mode(SPEEX_MODEID_NB));
    int quality = 0;
    speex_encoder_ctl(state, SPEEX_SET_QUALITY, &quality);
    SpeexBits bits;
    speex_bits_init(&bits);
    spx_int16_t pcm[160] = {};
    speex_encode_int(state, pcm, &bits);
    speex_bits_insert_terminator(&bits);
    char frame[200];
    const int frameBytes = speex_bits_write(&bits, frame, sizeof frame);
    speex_bits_destroy(&bits);
    speex_encoder_destroy(state);

    std::FILE* file = std::fopen(path.c_str(), "ab");
    ogg_stream_state stream;
    ogg_stream_init(&stream, CSpeexEncoder::kSerial);
    stream.pageno = 2;
    const std::size_t frames = seconds * 50;
    for (std::size_t f = 0; f < frames; ++f) {
        ogg_packet packet{};
        packet.packet = reinterpret_cast<unsigned char*>(frame);
        packet.bytes = frameBytes;
        packet.granulepos = static_cast<ogg_int64_t>((f + 1) * 160);
        packet.packetno = static_cast<ogg_int64_t>(f + 2);
        packet.e_o_s = f + 1 == frames;
        ogg_stream_packetin(&stream, &packet);
        WriteOggPages(stream, file, false);
    }
    WriteOggPages(stream, file, true);
    ogg_stream_clear(&stream);
    std::fclose(file);
    return path;
}

double SecondsToTag(CAudioManager& manager, const std::string& path, const std::string& info)
{
    const auto start = std::chrono::steady_clock::now();
    manager.GetTagger().WriteRecordInfo(path, info.data(), info.size());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename MakeRecord> void TagHourBesideMinute(benchmark::State& state, MakeRecord make)
{
    CAudioManager manager;
    const std::string minute = make(manager, 60, "minute");
    const std::string hour = make(manager, 3600, "hour");
    manager.ApplyFormat(0);
    const std::string info(1024, 'i');
    double minuteTime = 0, hourTime = 0;
    for (auto _ : state) {
        minuteTime += SecondsToTag(manager, minute, info);
        hourTime += SecondsToTag(manager, hour, info);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["minute_us"] = minuteTime / n * 1e6;
    state.counters["hour_us"] = hourTime / n * 1e6;
    state.counters["hour_over_minute"] = hourTime / minuteTime;
}

void BM_TagPcm(benchmark::State& state)
{
    TagHourBesideMinute(state, [](CAudioManager& m, std::size_t s, const std::string& name) {
        return PcmRecord(m, s, name + ".wav");
    });
}

void BM_TagSpeex(benchmark::State& state)
{
    TagHourBesideMinute(state, [](CAudioManager& m, std::size_t s, const std::string& name) {
        return SpeexRecord(m, s, name + ".ogg");
    });
}

} // namespace

BENCHMARK(BM_TagPcm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TagSpeex)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
