#pragma once

#include "audio/baseaudiodevice.h"

#include <functional>
#include <string>

// Plays a record file to output device 0 on a playback thread.
class CPlayer : public CBaseAudioDevice
{
public:
    explicit CPlayer(CAudioManager& manager);
    ~CPlayer() override;

    // Switches to the file's codec (restored by StopPlaying, or at once on failure),
    // CheckDevices, the decoder's Open, Start. Errors propagate as CAudioError.
    void Play(const std::string& path);
    // Stop, the decoder's Close, the codec selection restored. Never waits for the
    // playback thread, so it may be called from the end-of-playback handler.
    void StopPlaying();

    // Called on the playback thread when the decoder reports the end of the stream,
    // before the last block is queued. Receivers on a UI thread must post, not block.
    void SetEndOfPlaybackHandler(std::function<void()> handler);

    void CheckDevices() override;
    void Start() override;
    void Stop() override;
};
