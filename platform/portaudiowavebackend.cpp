#include "platform/portaudiowavebackend.h"

#include "platform/portaudiosession.h"
#include "platform/portaudiowavedevice.h"
#include "platform/wavenoticesink.h"

#include <cstring>
#include <portaudio.h>

CPortAudioWaveBackend::CPortAudioWaveBackend() = default;
CPortAudioWaveBackend::~CPortAudioWaveBackend() = default;

int CPortAudioWaveBackend::Initialise()
{
    if (!m_session)
        m_session = std::make_unique<CPortAudioSession>();
    return m_session->Error();
}

namespace {

bool HasChannels(const PaDeviceInfo& info, EWaveDirection direction)
{
    return (direction == EWaveDirection::Input ? info.maxInputChannels : info.maxOutputChannels) >
           0;
}

PaDeviceIndex DefaultOf(EWaveDirection direction)
{
    return direction == EWaveDirection::Input ? Pa_GetDefaultInputDevice()
                                              : Pa_GetDefaultOutputDevice();
}

} // namespace

std::vector<SWaveDeviceInfo> CPortAudioWaveBackend::Devices(EWaveDirection direction)
{
    std::vector<SWaveDeviceInfo> devices;
    if (Initialise() != paNoError)
        return devices;
    const PaDeviceIndex fallback = DefaultOf(direction);
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (!info || !info->name || !HasChannels(*info, direction))
            continue;
        devices.push_back({info->name, info->name, i == fallback});
    }
    // Without a default of PortAudio's, an empty name opens the first device listed.
    if (fallback == paNoDevice && !devices.empty())
        devices.front().isDefault = true;
    return devices;
}

int CPortAudioWaveBackend::FindDevice(EWaveDirection direction, const std::string& name)
{
    if (const int error = Initialise())
        return error;
    const PaDeviceIndex fallback = DefaultOf(direction);
    if (name.empty() && fallback != paNoDevice)
        return fallback;
    if (name.empty()) {
        const std::vector<SWaveDeviceInfo> devices = Devices(direction);
        return devices.empty() ? paInvalidDevice : FindDevice(direction, devices.front().name);
    }
    // Two host interfaces may offer the same name; the default one is preferred.
    if (const PaDeviceInfo* info = fallback == paNoDevice ? nullptr : Pa_GetDeviceInfo(fallback);
        info && info->name && name == info->name)
        return fallback;
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (info && info->name && name == info->name && HasChannels(*info, direction))
            return i;
    }
    return paInvalidDevice;
}

int CPortAudioWaveBackend::QueryFormat(EWaveDirection direction, const std::string& name,
                                       const SWaveFormat& format)
{
    const int device = FindDevice(direction, name);
    if (device < 0)
        return device;
    PaStreamParameters parameters{};
    if (const int error = CPortAudioWaveDevice::StreamParameters(device, format, parameters))
        return error;
    const bool input = direction == EWaveDirection::Input;
    return Pa_IsFormatSupported(input ? &parameters : nullptr, input ? nullptr : &parameters,
                                format.samplesPerSec);
}

int CPortAudioWaveBackend::Open(EWaveDirection direction, const std::string& name,
                                const SWaveFormat& format, MWaveNoticeSink& sink,
                                std::unique_ptr<MWaveDevice>& device)
{
    const int paDevice = FindDevice(direction, name);
    if (paDevice < 0)
        return paDevice;
    auto opened = std::make_unique<CPortAudioWaveDevice>(direction, sink);
    if (const int error = opened->OpenStream(paDevice, format))
        return error;
    device = std::move(opened);
    sink.PostWaveNotice(EWaveNotice::Open, nullptr);
    return paNoError;
}

bool CPortAudioWaveBackend::ErrorText(int code, std::string& text)
{
    const char* message = Pa_GetErrorText(static_cast<PaError>(code));
    // PortAudio answers an unknown code with a text of its own; that is no text.
    if (!message || std::strcmp(message, "Invalid error code") == 0)
        return false;
    text = message;
    return true;
}
