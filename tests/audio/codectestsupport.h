#pragma once

// Helpers shared by the codec tests: a temporary folder per test, whole-file reads and
// writes, a speech-like test signal, and a small Ogg page reader for byte-level checks.

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/baseencoder.h"
#include "platform/wavebackend.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <ogg/ogg.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace CodecTest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAllBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t Le32(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16) |
           static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

inline std::uint16_t Le16(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

inline std::string Text(const Bytes& b, std::size_t at, std::size_t n)
{
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n));
}

// A voiced, speech-like signal: a gliding 110-220 Hz pulse train through a few formant-like
// harmonics, with syllable-rate loudness changes and short pauses. Unsigned 8-bit.
inline Bytes SpeechLike(std::size_t samples, unsigned seed = 1)
{
    Bytes out(samples);
    std::mt19937 noise(seed);
    std::normal_distribution<double> hiss(0.0, 1.5);
    double phase = 0;
    for (std::size_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / 8000.0;
        const double f0 = 165 + 55 * std::sin(2 * M_PI * 0.7 * t);
        phase += 2 * M_PI * f0 / 8000.0;
        const double syllable = std::max(0.0, std::sin(2 * M_PI * 3.1 * t));
        double v = 0;
        for (int h = 1; h <= 12; ++h) {
            const double formant = std::exp(-std::pow((h * f0 - 700) / 500, 2)) +
                                   0.5 * std::exp(-std::pow((h * f0 - 1500) / 600, 2));
            v += formant * std::sin(h * phase) / h;
        }
        const double s = 128 + 60 * syllable * v + hiss(noise);
        out[i] = static_cast<std::uint8_t>(std::clamp(std::lround(s), 0L, 255L));
    }
    return out;
}

// Correlation of two signals around 0x80 at the best lag in [0, maxLag] of `b` behind `a`.
inline double BestCorrelation(const Bytes& a, const Bytes& b, std::size_t maxLag)
{
    double best = -1;
    for (std::size_t lag = 0; lag <= maxLag; ++lag) {
        double ab = 0, aa = 0, bb = 0;
        for (std::size_t i = 0; i + lag < b.size() && i < a.size(); ++i) {
            const double x = a[i] - 128.0, y = b[i + lag] - 128.0;
            ab += x * y;
            aa += x * x;
            bb += y * y;
        }
        if (aa > 0 && bb > 0)
            best = std::max(best, ab / std::sqrt(aa * bb));
    }
    return best;
}

// Loudness contour: the RMS of each 20 ms frame around 0x80.
inline Bytes Envelope(const Bytes& a)
{
    Bytes out;
    for (std::size_t at = 0; at + 160 <= a.size(); at += 160) {
        double e = 0;
        for (std::size_t i = at; i < at + 160; ++i)
            e += (a[i] - 128.0) * (a[i] - 128.0);
        out.push_back(static_cast<std::uint8_t>(std::min(255.0, 128 + std::sqrt(e / 160))));
    }
    return out;
}

inline double Energy(const Bytes& a)
{
    double e = 0;
    for (auto v : a)
        e += (v - 128.0) * (v - 128.0);
    return a.empty() ? 0 : e / static_cast<double>(a.size());
}

// A fresh temporary folder per test, removed afterwards.
class CTempDirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (auto& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        m_dir = std::filesystem::temp_directory_path() /
                ("parlantographer_" + name + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

// Encodes `samples` through `encoder` as the recorder does: one-second writes, the rest last.
inline void Record(CBaseEncoder& encoder, const std::string& path, const Bytes& samples,
                   const std::string& info = {}, std::size_t chunk = 8000)
{
    encoder.SetInfo(info);
    encoder.Open(path, false);
    std::size_t at = 0;
    do {
        const std::size_t n = std::min(chunk, samples.size() - at);
        const bool last = at + n == samples.size();
        EXPECT_NE(encoder.Write(samples.data() + at, n, last), 0);
        at += n;
    } while (at < samples.size());
    encoder.Close();
}

// Everything a decoder delivers until it reports the end, in one-second reads. Fails the test
// instead of looping if the decoder never reports an end.
inline Bytes DecodeAll(CBaseDecoder& decoder, std::size_t step = 8000)
{
    Bytes all, buffer(step);
    for (int guard = 0; guard < 100000; ++guard) {
        std::size_t size = buffer.size();
        const bool end = decoder.Read(buffer.data(), size);
        EXPECT_LE(size, buffer.size());
        all.insert(all.end(), buffer.begin(), buffer.begin() + static_cast<long>(size));
        if (end)
            return all;
    }
    ADD_FAILURE() << "the decoder never reported the end";
    return all;
}

struct SPage
{
    std::size_t offset;
    std::uint8_t type;
    std::int64_t granule;
    std::uint32_t serial;
    std::uint32_t sequence;
    std::vector<std::uint8_t> lacing;
    std::size_t bodyOffset;
    std::size_t bodySize;
};

// Splits a file into its Ogg pages by the raw page layout (no checksum check).
inline std::vector<SPage> Pages(const Bytes& file)
{
    std::vector<SPage> pages;
    std::size_t at = 0;
    while (at + 27 <= file.size() && Text(file, at, 4) == "OggS") {
        SPage p{};
        p.offset = at;
        p.type = file[at + 5];
        p.granule = static_cast<std::int64_t>(Le32(file, at + 6)) |
                    static_cast<std::int64_t>(Le32(file, at + 10)) << 32;
        p.serial = Le32(file, at + 14);
        p.sequence = Le32(file, at + 18);
        const std::size_t segments = file[at + 26];
        p.lacing.assign(file.begin() + static_cast<long>(at + 27),
                        file.begin() + static_cast<long>(at + 27 + segments));
        p.bodyOffset = at + 27 + segments;
        for (auto l : p.lacing)
            p.bodySize += l;
        pages.push_back(p);
        at = p.bodyOffset + p.bodySize;
    }
    return pages;
}

struct SPacket
{
    Bytes data;
    std::int64_t granule;
    std::int64_t number;
    bool eos;
};

// Every packet of the file's first stream, through libogg (checksums included).
inline std::vector<SPacket> Packets(const Bytes& file)
{
    std::vector<SPacket> out;
    ogg_sync_state sync;
    ogg_stream_state stream;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(file.size()));
    std::copy(file.begin(), file.end(), buffer);
    ogg_sync_wrote(&sync, static_cast<long>(file.size()));
    ogg_page page;
    bool started = false;
    while (ogg_sync_pageout(&sync, &page) == 1) {
        if (!started) {
            ogg_stream_init(&stream, ogg_page_serialno(&page));
            started = true;
        }
        ogg_stream_pagein(&stream, &page);
        ogg_packet packet;
        while (ogg_stream_packetout(&stream, &packet) == 1)
            out.push_back({Bytes(packet.packet, packet.packet + packet.bytes), packet.granulepos,
                           packet.packetno, packet.e_o_s != 0});
    }
    if (started)
        ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    return out;
}

struct SPacketPlan
{
    Bytes data;
    std::int64_t granule = 0;
    bool eos = false;
};

// An Ogg stream with one page per packet, for hand-made (also malformed) files.
inline Bytes MakeOgg(const std::vector<SPacketPlan>& packets,
                     int serial = static_cast<int>(0xAABBCCDDu))
{
    Bytes out;
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);
    std::int64_t number = 0;
    for (const auto& plan : packets) {
        ogg_packet packet{};
        Bytes data = plan.data;
        packet.packet = data.data();
        packet.bytes = static_cast<long>(data.size());
        packet.b_o_s = number == 0;
        packet.e_o_s = plan.eos;
        packet.granulepos = plan.granule;
        packet.packetno = number++;
        ogg_stream_packetin(&stream, &packet);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0) {
            out.insert(out.end(), page.header, page.header + page.header_len);
            out.insert(out.end(), page.body, page.body + page.body_len);
        }
    }
    ogg_stream_clear(&stream);
    return out;
}

// Runs `check` in a child process that, when started as root, first drops to an unprivileged
// user, so that file permissions apply. True when the check passed.
template <typename Check> bool RunUnprivileged(Check check)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        bool passed = false;
        try {
            passed = check();
        } catch (...) {
        }
        ::_exit(passed ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

inline Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace CodecTest

// Asserts that `statement` throws CAudioError with exactly `message`.
#define EXPECT_AUDIO_ERROR(statement, message)                                                     \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no error from " #statement;                                          \
        } catch (const CAudioError& e) {                                                           \
            EXPECT_STREQ(e.what(), message);                                                       \
        }                                                                                          \
    } while (false)
