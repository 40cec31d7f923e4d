#pragma once

#include <memory>
#include <string>
#include <vector>

// The wave-device layer: counts and names the input and output devices, checks the
// sample format, and opens device 0 for capture or playback with completion notices
// delivered to a device thread. Two backends: PortAudio (default) and a simulated
// device (PARLANTOGRAPHER_AUDIO=sim) for tests and headless machines.
class MWaveBackend
{
public:
    virtual ~MWaveBackend() = default;

    virtual std::vector<std::string> InputDeviceNames() = 0;
    virtual std::vector<std::string> OutputDeviceNames() = 0;
};

// The backend the environment asks for (PARLANTOGRAPHER_AUDIO=portaudio|sim).
std::unique_ptr<MWaveBackend> CreateWaveBackend();
