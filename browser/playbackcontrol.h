#pragma once

#include <QString>
#include <chrono>

// The one playback as the desktop's player controls see it (media keys, the sound menu):
// what plays and how far, and the four things they may ask. The browser's playback session
// answers it; CMprisService puts it on the session bus.
class MPlaybackControl
{
public:
    enum class EStatus
    {
        Stopped,
        Playing,
        Paused
    };

    virtual ~MPlaybackControl() = default;

    virtual EStatus Status() const = 0;
    // The memo's name as the record lists show it; empty when no memo is loaded.
    virtual QString Title() const = 0;
    // The memo's file; empty when no memo is loaded.
    virtual QString FilePath() const = 0;
    virtual std::chrono::microseconds Length() const = 0;
    virtual std::chrono::microseconds Position() const = 0;

    // Plays on from the position (the start when stopped); nothing without a memo.
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // Moves the playback to `position`, within [0, Length()].
    virtual void SetPosition(std::chrono::microseconds position) = 0;
};
