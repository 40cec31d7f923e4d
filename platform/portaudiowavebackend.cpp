#include "platform/portaudiowavebackend.h"

#include "platform/portaudiosession.h"
#include "platform/portaudiowavedevice.h"
#include "platform/wavenoticesink.h"

#include <cstring>
#include <portaudio.h>

CPortAudioWaveBackend::CPortAudioWaveBackend() = default;
CPortAudioWaveBackend::~CPortAudioWaveBackend() = default;

int CPortAudioWaveBackend::DefaultDevice(EWaveDirection direction)
{
    if (!m_session)
        m_session = std::make_unique<CPortAudioSession>();
    if (m_session->Error() != paNoError)
        return m_session->Error();
    const PaDeviceIndex device = direction == EWaveDirection::Input ? Pa_GetDefaultInputDevice()
                                                                    : Pa_GetDefaultOutputDevice();
    return device == paNoDevice ? paInvalidDevice : device;
}

unsigned CPortAudioWaveBackend::DeviceCount(EWaveDirection direction)
{
    return DefaultDevice(direction) >= 0 ? 1 : 0;
}

int CPortAudioWaveBackend::DeviceName(EWaveDirection direction, unsigned index, std::string& name)
{
    const int device = DefaultDevice(direction);
    if (device < 0)
        return device;
    if (index != 0)
        return paInvalidDevice;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (!info)
        return paInvalidDevice;
    name = info->name ? info->name : "";
    return paNoError;
}

int CPortAudioWaveBackend::QueryFormat(EWaveDirection direction, unsigned index,
                                       const SWaveFormat& format)
{
    const int device = DefaultDevice(direction);
    if (device < 0)
        return device;
    if (index != 0)
        return paInvalidDevice;
    PaStreamParameters parameters{};
    if (const int error = CPortAudioWaveDevice::StreamParameters(device, format, parameters))
        return error;
    const bool input = direction == EWaveDirection::Input;
    return Pa_IsFormatSupported(input ? &parameters : nullptr, input ? nullptr : &parameters,
                                format.samplesPerSec);
}

int CPortAudioWaveBackend::Open(EWaveDirection direction, unsigned index, const SWaveFormat& format,
                                MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device)
{
    const int paDevice = DefaultDevice(direction);
    if (paDevice < 0)
        return paDevice;
    if (index != 0)
        return paInvalidDevice;
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
