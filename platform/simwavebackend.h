#pragma once

#include "platform/wavebackend.h"

#include <string>

// What the simulated device reads, writes and how fast.
struct SSimWaveConfig
{
    std::string inputPath;  // WAV (8 kHz, 8-bit, mono) or raw unsigned 8-bit; empty: silence
    std::string outputPath; // every played sample is appended; empty: dropped
    bool realtime = true;   // false: as fast as buffers are queued
};

// One input and one output device, both named "Simulated" and each the default of its
// direction, that accept only the engine's sample format (8000 Hz, 8-bit, mono PCM).
class CSimWaveBackend : public MWaveBackend
{
public:
    explicit CSimWaveBackend(SSimWaveConfig config) : m_config(std::move(config)) {}

    // PARLANTOGRAPHER_SIM_INPUT, PARLANTOGRAPHER_SIM_OUTPUT and PARLANTOGRAPHER_SIM_SPEED
    // (realtime, the default, or fast). Throws std::invalid_argument for another speed.
    static std::unique_ptr<CSimWaveBackend> FromEnvironment();

    std::vector<SWaveDeviceInfo> Devices(EWaveDirection direction) override;
    int QueryFormat(EWaveDirection direction, const std::string& name,
                    const SWaveFormat& format) override;
    int Open(EWaveDirection direction, const std::string& name, const SWaveFormat& format,
             MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device) override;

    static constexpr const char* kDeviceName = "Simulated";
    bool ErrorText(int code, std::string& text) override;

    enum EError
    {
        kErrorNoDevice = 1,
        kErrorFormat = 2,
        kErrorInputFile = 3,
        kErrorOutputFile = 4,
    };

private:
    SSimWaveConfig m_config;
};
