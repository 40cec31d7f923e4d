#include "platform/wavebackend.h"

#include "platform/portaudiowavebackend.h"
#include "platform/simwavebackend.h"

#include <cstdlib>
#include <stdexcept>
#include <string_view>

std::vector<std::string> MWaveBackend::DeviceNames(EWaveDirection direction)
{
    std::vector<std::string> names;
    const unsigned count = DeviceCount(direction);
    for (unsigned i = 0; i < count; ++i) {
        std::string name;
        if (DeviceName(direction, i, name) == 0)
            names.push_back(name);
    }
    return names;
}

std::unique_ptr<MWaveBackend> CreateWaveBackend()
{
    const char* value = std::getenv("PARLANTOGRAPHER_AUDIO");
    const std::string_view choice = value ? value : "";
    if (choice.empty() || choice == "portaudio")
        return std::make_unique<CPortAudioWaveBackend>();
    if (choice == "sim")
        return CSimWaveBackend::FromEnvironment();
    throw std::invalid_argument("PARLANTOGRAPHER_AUDIO must be \"portaudio\" or \"sim\", not \"" +
                                std::string(choice) + "\"");
}
