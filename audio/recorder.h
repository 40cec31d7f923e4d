#pragma once

#include "audio/baseaudiodevice.h"

#include <string>

// Captures from input device 0 and hands every filled one-second block to the
// current encoder of the audio manager; the final partial block is flagged last.
class CRecorder : public CBaseAudioDevice
{
public:
    explicit CRecorder(CAudioManager& manager);
    ~CRecorder() override;

    // CheckDevices, the current encoder's Open(path, false), Start. Errors propagate
    // unchanged as CAudioError.
    void Record(const std::string& path);
    // Stop, then the current encoder's Close, which finalises the file.
    void StopRecording();

    void CheckDevices() override;
    void Start() override;
    void Stop() override;
};
