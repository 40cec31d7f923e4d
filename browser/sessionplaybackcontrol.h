#pragma once

#include "browser/playbackcontrol.h"

#include <functional>

class CPlaybackSession;

// The browser's playback as the desktop's player controls see it: the record that plays or
// is paused, its name as the rows show it, and the four requests, which act on the playback
// as the page's play button and position bar do. A request the player refuses (the record
// vanished, the device failed) reaches `onError` with the player's message; it never escapes
// into the bus call.
class CSessionPlaybackControl : public MPlaybackControl
{
public:
    CSessionPlaybackControl(CPlaybackSession& session,
                            std::function<void(const QString& message)> onError)
        : m_session(session), m_onError(std::move(onError))
    {}

    EStatus Status() const override;
    QString Title() const override;
    QString FilePath() const override;
    std::chrono::microseconds Length() const override;
    std::chrono::microseconds Position() const override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void SetPosition(std::chrono::microseconds position) override;

private:
    std::chrono::microseconds Duration(std::uint64_t samples) const;
    void Guarded(const std::function<void()>& request);

    CPlaybackSession& m_session;
    std::function<void(const QString&)> m_onError;
};
