#pragma once

#include "platform/wavetypes.h"

#include <memory>
#include <string>
#include <vector>

class MWaveDevice;
class MWaveNoticeSink;

// The wave-device layer: counts and names the input and output devices, checks the
// sample format, and opens a device for capture or playback with completion notices
// delivered to a device thread. Results are 0 on success, otherwise a backend error
// code for ErrorText. Two backends: PortAudio (default) and a simulated device
// (PARLANTOGRAPHER_AUDIO=sim) for tests and headless machines.
class MWaveBackend
{
public:
    virtual ~MWaveBackend() = default;

    virtual unsigned DeviceCount(EWaveDirection direction) = 0;
    // The device's name; an empty name marks a device that is not queried.
    virtual int DeviceName(EWaveDirection direction, unsigned index, std::string& name) = 0;
    // 0 when the device accepts the format.
    virtual int QueryFormat(EWaveDirection direction, unsigned index,
                            const SWaveFormat& format) = 0;
    // Opens the device; on success `device` holds it and the Open notice has been posted.
    virtual int Open(EWaveDirection direction, unsigned index, const SWaveFormat& format,
                     MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device) = 0;
    // The text of an error code; false when the code has no text.
    virtual bool ErrorText(int code, std::string& text) = 0;

    // Names of the devices of each family, in index order (those whose name can be had).
    std::vector<std::string> InputDeviceNames() { return DeviceNames(EWaveDirection::Input); }
    std::vector<std::string> OutputDeviceNames() { return DeviceNames(EWaveDirection::Output); }

private:
    std::vector<std::string> DeviceNames(EWaveDirection direction);
};

// The backend the environment asks for: PARLANTOGRAPHER_AUDIO=portaudio (the default) or
// sim. Throws std::invalid_argument naming the variable for any other value.
std::unique_ptr<MWaveBackend> CreateWaveBackend();
