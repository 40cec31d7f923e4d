#pragma once

// Helpers for the audio tests: temporary folders, whole files, test signals, an Ogg page
// reader and writer for byte-level checks, and doubles for the recorder and player.

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/baseencoder.h"
#include "platform/simwavebackend.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <ogg/ogg.h>
#include <random>
#include <thread>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed at the end of the test.
class CTempDir
{
public:
    CTempDir() { std::filesystem::create_directories(m_path); }
    ~CTempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path =
        std::filesystem::temp_directory_path() /
        ("parlantographer-audio-" + std::to_string(std::random_device{}()));
};

// A temporary folder and a manager on the device the environment names (the simulated one).
class CAudioTest : public ::testing::Test
{
protected:
    std::string Path(const std::string& name) const { return m_dir.File(name); }

    CTempDir m_dir;
    CAudioManager m_manager;
};

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes Str(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

inline Bytes Slice(const Bytes& b, std::size_t from, std::size_t to)
{
    return Bytes(b.begin() + static_cast<long>(std::min(from, b.size())),
                 b.begin() + static_cast<long>(std::min(to, b.size())));
}

inline std::string Text(const Bytes& b, std::size_t at, std::size_t n)
{
    const Bytes part = Slice(b, at, at + n);
    return std::string(part.begin(), part.end());
}

inline Bytes LeBytes(std::uint32_t value, int count = 4)
{
    Bytes out;
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return out;
}

inline std::uint32_t Le(const Bytes& b, std::size_t at, int count = 4)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | b.at(at + static_cast<std::size_t>(i));
    return value;
}

// A WAVE file as other programs write it: 8 kHz 8-bit mono with a format chunk of `fmtSize`
// bytes (16, or 18 with an empty extension).
inline Bytes PlainWav(const Bytes& samples, std::uint32_t fmtSize = 16)
{
    const auto size = static_cast<std::uint32_t>(samples.size());
    Bytes b = Cat({Str("RIFF"), LeBytes(20 + fmtSize + size), Str("WAVEfmt "), LeBytes(fmtSize),
                   LeBytes(0x10001), LeBytes(8000), LeBytes(8000), LeBytes(0x80001)});
    b.resize(20 + fmtSize, 0);
    return Cat({b, Str("data"), LeBytes(size), samples});
}

// The sample at position i of the test pattern: never 0x80 (silence) and with a period
// (251) that no buffer or period size divides, so a lost, repeated or reordered stretch
// shows.
inline Bytes Pattern(std::size_t count, std::uint64_t from = 0)
{
    Bytes samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto k = static_cast<std::uint8_t>((from + i) % 251);
        samples[i] = k < 0x80 ? k : k + 1;
    }
    return samples;
}

// A voiced, speech-like signal (gliding pitch, formants, syllables, hiss), unsigned 8-bit.
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
        double v = 0;
        for (int h = 1; h <= 12; ++h)
            v += (std::exp(-std::pow((h * f0 - 700) / 500, 2)) +
                  0.5 * std::exp(-std::pow((h * f0 - 1500) / 600, 2))) *
                 std::sin(h * phase) / h;
        const double s = 128 + 60 * std::max(0.0, std::sin(2 * M_PI * 3.1 * t)) * v + hiss(noise);
        out[i] = static_cast<std::uint8_t>(std::clamp(std::lround(s), 0L, 255L));
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

// Loudness contour: the RMS of each 20 ms frame.
inline Bytes Envelope(const Bytes& a)
{
    Bytes out;
    for (std::size_t at = 0; at + 160 <= a.size(); at += 160)
        out.push_back(static_cast<std::uint8_t>(
            std::min(255.0, 128 + std::sqrt(Energy(Slice(a, at, at + 160))))));
    return out;
}

// Correlation around 0x80 at the best lag in [0, maxLag] of `b` behind `a`.
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

// Encodes `samples` as the recorder does: one-second writes, the final one flagged last.
inline void Record(CBaseEncoder& encoder, const std::string& path, const Bytes& samples,
                   const std::string& info = {})
{
    encoder.SetInfo(info);
    encoder.Open(path, false);
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(8000, samples.size() - at);
        EXPECT_NE(encoder.Write(samples.data() + at, n, at + n == samples.size()), 0);
        at += n;
    } while (at < samples.size());
    encoder.Close();
}

// Everything a decoder delivers until it reports the end; fails the test if it never does.
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
    std::int64_t sequence;
    std::size_t bodyOffset;
    std::size_t bodySize;
};

struct SPacket
{
    Bytes data;
    std::int64_t granule;
    std::int64_t number;
    bool eos;
};

// The complete pages of a file and the packets of its first stream, through libogg
// (checksums checked).
struct SOgg
{
    std::vector<SPage> pages;
    std::vector<SPacket> packets;
};

inline SOgg ReadOgg(const Bytes& file)
{
    SOgg out;
    ogg_sync_state sync;
    ogg_stream_state stream;
    ogg_sync_init(&sync);
    std::copy(file.begin(), file.end(), ogg_sync_buffer(&sync, static_cast<long>(file.size())));
    ogg_sync_wrote(&sync, static_cast<long>(file.size()));
    ogg_page page;
    ogg_packet packet;
    for (std::size_t offset = 0; ogg_sync_pageout(&sync, &page) == 1;) {
        const auto header = static_cast<std::size_t>(page.header_len);
        const auto body = static_cast<std::size_t>(page.body_len);
        out.pages.push_back({offset, page.header[5], ogg_page_granulepos(&page),
                             static_cast<std::uint32_t>(ogg_page_serialno(&page)),
                             ogg_page_pageno(&page), offset + header, body});
        offset += header + body;
        if (out.pages.size() == 1)
            ogg_stream_init(&stream, ogg_page_serialno(&page));
        ogg_stream_pagein(&stream, &page);
        while (ogg_stream_packetout(&stream, &packet) == 1)
            out.packets.push_back({Bytes(packet.packet, packet.packet + packet.bytes),
                                   packet.granulepos, packet.packetno, packet.e_o_s != 0});
    }
    if (!out.pages.empty())
        ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    return out;
}

struct SPacketPlan
{
    Bytes data;
    std::int64_t granule = 0;
};

// An Ogg stream with one page per packet, for hand-made (also malformed) files.
inline Bytes MakeOgg(std::vector<SPacketPlan> packets, int serial = static_cast<int>(0xAABBCCDDu))
{
    Bytes out;
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);
    for (auto& plan : packets) {
        ogg_packet packet{plan.data.data(), static_cast<long>(plan.data.size()),
                          out.empty(),      0,
                          plan.granule,     &plan - packets.data()};
        ogg_stream_packetin(&stream, &packet);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0)
            out = Cat({out, Bytes(page.header, page.header + page.header_len),
                       Bytes(page.body, page.body + page.body_len)});
    }
    ogg_stream_clear(&stream);
    return out;
}

struct SWrite
{
    std::size_t size;
    bool last;
};

// Keeps every sample and call, and creates the file at Open as a real encoder would.
class CCollectingEncoder : public CBaseEncoder
{
public:
    using CBaseEncoder::CBaseEncoder;
    void Open(const std::string& path, bool) override
    {
        WriteFile(path, {});
        ++opens;
        m_open = true;
        samples.clear();
        writes.clear();
    }
    void Close() override
    {
        m_info.clear();
        closes += m_open;
        m_open = false;
    }
    int Write(const std::uint8_t* data, std::size_t size, bool last) override
    {
        writeAfterClose = writeAfterClose || !m_open;
        std::this_thread::sleep_for(writeDelay);
        samples.insert(samples.end(), data, data + size);
        writes.push_back({size, last});
        return 1;
    }

    std::chrono::milliseconds writeDelay{0};
    int opens = 0;
    int closes = 0;
    bool writeAfterClose = false;
    Bytes samples; // read after the recording has stopped
    std::vector<SWrite> writes;

private:
    bool m_open = false;
};

enum class EFault
{
    None,
    NoDevices,
    RejectFormat,
    RejectFormatWithoutText,
    FailOpen
};

// The simulated backend, made to fail one way.
class CFaultyBackend : public CSimWaveBackend
{
public:
    using CSimWaveBackend::CSimWaveBackend;
    std::vector<SWaveDeviceInfo> Devices(EWaveDirection direction) override
    {
        if (fault == EFault::NoDevices)
            return {};
        return CSimWaveBackend::Devices(direction);
    }
    int QueryFormat(EWaveDirection direction, const std::string& name,
                    const SWaveFormat& format) override
    {
        if (fault == EFault::RejectFormat || fault == EFault::RejectFormatWithoutText)
            return kInjected;
        return CSimWaveBackend::QueryFormat(direction, name, format);
    }
    int Open(EWaveDirection direction, const std::string& name, const SWaveFormat& format,
             MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device) override
    {
        if (fault == EFault::FailOpen)
            return kInjected;
        return CSimWaveBackend::Open(direction, name, format, sink, device);
    }
    bool ErrorText(int code, std::string& text) override
    {
        if (code != kInjected)
            return CSimWaveBackend::ErrorText(code, text);
        text = "Injected device failure";
        return fault != EFault::RejectFormatWithoutText;
    }

    static constexpr int kInjected = 99;
    EFault fault = EFault::None;
};

// A manager on a faulty simulated device that captures the pattern and writes what it plays
// to "played.raw".
class CDeviceTest : public ::testing::Test
{
protected:
    static constexpr std::size_t kInputSamples = 400000;
    void MakeManager(bool realtime)
    {
        WriteFile(m_dir.File("input.raw"), Pattern(kInputSamples));
        auto backend = std::make_unique<CFaultyBackend>(
            SSimWaveConfig{m_dir.File("input.raw"), m_dir.File("played.raw"), realtime});
        m_backend = backend.get();
        m_manager = std::make_unique<CAudioManager>(std::move(backend));
    }
    Bytes Played() const { return ReadFile(m_dir.File("played.raw")); }

    CTempDir m_dir;
    CFaultyBackend* m_backend = nullptr;
    std::unique_ptr<CAudioManager> m_manager;
};

} // namespace testsupport

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

// Asserts that `statement` throws CAudioError with the code `errc`.
#define EXPECT_AUDIO_ERRC(statement, errc)                                                         \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no error from " #statement;                                          \
        } catch (const CAudioError& e) {                                                           \
            EXPECT_EQ(e.code(), make_error_code(errc)) << e.what();                                \
        }                                                                                          \
    } while (false)
