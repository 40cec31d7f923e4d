#include "platform/wavebackend.h"

#include "platform/portaudiowavebackend.h"
#include "platform/pulsewavebackend.h"
#include "platform/simwavebackend.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

bool HasWaveDevice(const std::vector<SWaveDeviceInfo>& devices, const std::string& name)
{
    return std::any_of(devices.begin(), devices.end(),
                       [&](const SWaveDeviceInfo& device) { return device.name == name; });
}

std::unique_ptr<MWaveBackend> CreateWaveBackend()
{
    const char* value = std::getenv("PARLANTOGRAPHER_AUDIO");
    const std::string_view choice = value ? value : "";
    if (choice.empty() || choice == "pulse") {
        if (auto server = CPulseWaveBackend::Connect())
            return server;
        return std::make_unique<CPortAudioWaveBackend>();
    }
    if (choice == "portaudio")
        return std::make_unique<CPortAudioWaveBackend>();
    if (choice == "sim")
        return CSimWaveBackend::FromEnvironment();
    throw std::invalid_argument("PARLANTOGRAPHER_AUDIO must be \"pulse\", \"portaudio\" or \"sim\" "
                                "(or unset), not \"" +
                                std::string(choice) + "\"");
}
