#pragma once

#include "platform/wavetypes.h"

#include <memory>
#include <string>
#include <vector>

class MWaveDevice;
class MWaveNoticeSink;

// One input or output device as the backend offers it.
struct SWaveDeviceInfo
{
    std::string name;        // the identifier to open it by
    std::string description; // what people read
    bool isDefault = false;  // the one an empty name opens
    bool operator==(const SWaveDeviceInfo&) const = default;
};

// The wave-device layer: lists the input and output devices, checks the sample format,
// and opens a device for capture or playback with completion notices delivered to a
// device thread. Devices are addressed by name; an empty name is the default device of
// the direction. Results are 0 on success, otherwise a backend error code for
// ErrorText. Backends: the sound server (default), PortAudio where no server answers,
// and a simulated device (PARLANTOGRAPHER_AUDIO=sim) for tests and headless machines.
class MWaveBackend
{
public:
    virtual ~MWaveBackend() = default;

    // The devices of a direction; exactly one is the default when there are any.
    virtual std::vector<SWaveDeviceInfo> Devices(EWaveDirection direction) = 0;
    // 0 when the device accepts the format.
    virtual int QueryFormat(EWaveDirection direction, const std::string& name,
                            const SWaveFormat& format) = 0;
    // Opens the device; on success `device` holds it and the Open notice has been posted.
    virtual int Open(EWaveDirection direction, const std::string& name, const SWaveFormat& format,
                     MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device) = 0;
    // The text of an error code; false when the code has no text.
    virtual bool ErrorText(int code, std::string& text) = 0;
};

// True when `devices` holds one named `name`.
bool HasWaveDevice(const std::vector<SWaveDeviceInfo>& devices, const std::string& name);

// The backend the environment asks for: PARLANTOGRAPHER_AUDIO unset, empty or "pulse" is
// the sound server when one answers, else PortAudio; "portaudio" forces PortAudio; "sim"
// the simulated device. Throws std::invalid_argument naming the variable for any other
// value.
std::unique_ptr<MWaveBackend> CreateWaveBackend();
