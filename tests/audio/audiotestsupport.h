#pragma once

// Helpers for the audio tests: test signals and doubles for the recorder and player.

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/baseencoder.h"
#include "platform/simwavebackend.h"
#include "support/expectthrowmsg.h"
#include "support/oggfile.h"
#include "support/tempfolder.h"
#include "support/wavfile.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace testsupport {

// A temporary folder and a manager on the device the environment names (the simulated one).
class CAudioTest : public ::testing::Test
{
protected:
    std::string Path(const std::string& name) const { return m_dir.File(name); }

    CTempFolder m_dir{"parlantographer-audio-"};
    CAudioManager m_manager;
};

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
        EXPECT_TRUE(encoder.Write(std::span(samples).subspan(at, n), at + n == samples.size()));
        at += n;
    } while (at < samples.size());
    encoder.Close();
}

// Everything a decoder delivers until it reports the end; fails the test if it never does.
inline Bytes DecodeAll(CBaseDecoder& decoder, std::size_t step = 8000)
{
    Bytes all, buffer(step);
    for (int guard = 0; guard < 100000; ++guard) {
        const SDecoded read = decoder.Read(buffer);
        EXPECT_LE(read.size, buffer.size());
        all.insert(all.end(), buffer.begin(), buffer.begin() + static_cast<long>(read.size));
        if (read.end)
            return all;
    }
    ADD_FAILURE() << "the decoder never reported the end";
    return all;
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
    bool Write(std::span<const std::uint8_t> data, bool last) override
    {
        writeAfterClose = writeAfterClose || !m_open;
        std::this_thread::sleep_for(writeDelay);
        samples.insert(samples.end(), data.begin(), data.end());
        writes.push_back({data.size(), last});
        return true;
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

    CTempFolder m_dir{"parlantographer-audio-"};
    CFaultyBackend* m_backend = nullptr;
    std::unique_ptr<CAudioManager> m_manager;
};

} // namespace testsupport

// Asserts that `statement` throws CAudioError with exactly `message`.
#define EXPECT_AUDIO_ERROR(statement, message) EXPECT_THROW_MSG(statement, CAudioError, message)

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
