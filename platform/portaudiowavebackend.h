#pragma once

#include "platform/wavebackend.h"

#include <memory>

class CPortAudioSession;

// The sound card through PortAudio, where no sound server answers. Every PortAudio device
// with channels of a direction is listed by its PortAudio name; the default is PortAudio's
// default device of that direction (which follows the desktop's choice of card), and only
// the device that is opened is asked about the format, so no unrelated raw hardware device
// can veto a recording by rejecting 8 kHz. Error codes are PortAudio's and their texts
// Pa_GetErrorText's. The library is initialised at the first question, so a program that
// never touches audio never probes the sound system.
class CPortAudioWaveBackend : public MWaveBackend
{
public:
    CPortAudioWaveBackend();
    ~CPortAudioWaveBackend() override;

    std::vector<SWaveDeviceInfo> Devices(EWaveDirection direction) override;
    int QueryFormat(EWaveDirection direction, const std::string& name,
                    const SWaveFormat& format) override;
    int Open(EWaveDirection direction, const std::string& name, const SWaveFormat& format,
             MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device) override;
    bool ErrorText(int code, std::string& text) override;

private:
    // PortAudio's device index for a name (empty: the default of the direction), or a
    // negative error code.
    int FindDevice(EWaveDirection direction, const std::string& name);
    // 0 once the library is initialised, else PortAudio's error code.
    int Initialise();

    std::unique_ptr<CPortAudioSession> m_session;
};
