#pragma once

// Doubles and helpers for the recorder and player tests: an encoder that keeps what it
// receives, a decoder that plays a known pattern, and a backend that wraps the simulated
// device so single operations can be made to fail.

#include "audio/basedecoder.h"
#include "audio/baseencoder.h"
#include "platform/simwavebackend.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

// The sample at position i of the test pattern: never 0x80 (silence) and with a period
// (251) that no buffer or period size divides, so a lost, repeated or reordered stretch
// shows.
inline std::uint8_t PatternSample(std::uint64_t i)
{
    return static_cast<std::uint8_t>(i % 251 < 0x80 ? i % 251 : i % 251 + 1);
}
std::vector<std::uint8_t> Pattern(std::size_t count);

// A fresh folder under the system's temporary folder, removed at the end of the test.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFile(const std::string& path);

struct SWrite
{
    std::size_t size;
    bool last;
};

// Keeps every sample written and every call, and creates the file at Open as a real
// encoder would.
class CCollectingEncoder : public CBaseEncoder
{
public:
    using CBaseEncoder::CBaseEncoder;
    void Open(const std::string& path, bool existing) override;
    void Close() override;
    int Write(const std::uint8_t* data, std::size_t size, bool last) override;

    std::chrono::milliseconds writeDelay{0}; // a slow encoder
    std::string infoAtOpen;
    int opens = 0;
    int closes = 0;
    bool writeAfterClose = false;

    // Read after the recording has stopped.
    std::vector<std::uint8_t> samples;
    std::vector<SWrite> writes;

private:
    bool m_open = false;
};

// Plays `total` pattern samples (or for ever with total 0) and counts its calls.
class CPatternDecoder : public CBaseDecoder
{
public:
    explicit CPatternDecoder(std::uint64_t total) : m_total(total) {}
    void Open(const std::string& path, CAudioManager& manager) override;
    void Close() override;
    bool Read(std::uint8_t* buffer, std::size_t& size) override;
    std::uint32_t GetLength() override { return static_cast<std::uint32_t>(m_total); }

    std::chrono::milliseconds readDelay{0}; // a slow decoder
    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<bool> readWhileClosed{false};
    std::vector<std::size_t> readSizes; // read after the playback thread has ended

private:
    std::uint64_t m_total;
    std::uint64_t m_position = 0;
    std::atomic<bool> m_open{false};
};

// The simulated backend, with switches that make single operations fail.
class CFaultyBackend : public CSimWaveBackend
{
public:
    using CSimWaveBackend::CSimWaveBackend;
    unsigned DeviceCount(EWaveDirection direction) override;
    int QueryFormat(EWaveDirection direction, unsigned index, const SWaveFormat& format) override;
    int Open(EWaveDirection direction, unsigned index, const SWaveFormat& format,
             MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device) override;
    bool ErrorText(int code, std::string& text) override;

    static constexpr int kInjected = 99;
    bool noDevices = false;
    bool rejectFormat = false;
    bool failOpen = false;
    bool noErrorText = false;
};

// A 44-byte WAVE header and `samples`, for paths the manager must accept as PCM.
void WriteWav(const std::string& path, const std::vector<std::uint8_t>& samples);

} // namespace testsupport
