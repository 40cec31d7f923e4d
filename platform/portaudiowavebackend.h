#pragma once

#include "platform/wavebackend.h"

#include <memory>

class CPortAudioSession;

// The sound card through PortAudio. Each family has one device: PortAudio's default
// device of that direction (which follows the desktop's choice of sound server and card),
// so that device 0, the one the engine opens, is always the one the user expects and no
// unrelated raw hardware device can veto a recording by rejecting 8 kHz. Error codes are
// PortAudio's and their texts Pa_GetErrorText's. The library is initialised at the first
// question, so a program that never touches audio never probes the sound system.
class CPortAudioWaveBackend : public MWaveBackend
{
public:
    CPortAudioWaveBackend();
    ~CPortAudioWaveBackend() override;

    unsigned DeviceCount(EWaveDirection direction) override;
    int DeviceName(EWaveDirection direction, unsigned index, std::string& name) override;
    int QueryFormat(EWaveDirection direction, unsigned index, const SWaveFormat& format) override;
    int Open(EWaveDirection direction, unsigned index, const SWaveFormat& format,
             MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device) override;
    bool ErrorText(int code, std::string& text) override;

private:
    // PortAudio's device index for our device 0 of a family, or a negative error code.
    int DefaultDevice(EWaveDirection direction);

    std::unique_ptr<CPortAudioSession> m_session;
};
