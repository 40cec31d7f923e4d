#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <optional>

class CAudioManager;
class CPlayer;
class CSettingsStore;

// The browser's one playback: which record plays, how far it has got and how long it
// is. It runs the manager's player on the user-interface thread. The player's end of a
// record reaches it as a queued call and becomes a state change; a notice that belongs
// to a playback already stopped or replaced is ignored, so it can never stop or restart
// the playback the user is hearing now.
class CPlaybackSession : public QObject
{
    Q_OBJECT
public:
    explicit CPlaybackSession(CAudioManager& audio, QObject* parent = nullptr);
    // Stops a playback still running.
    ~CPlaybackSession() override;

    // Stops what plays and plays `path` from `startSample` (clamped to the record).
    // Throws CAudioError as the player does; the session is idle then.
    void Play(const std::filesystem::path& path, std::uint64_t startSample = 0);
    // Stops the playback, a paused one too; nothing when idle.
    void Stop();
    // Stops the player but keeps the record and the position, for Resume; nothing unless
    // playing. A record that has already played to its end stops instead.
    void Pause();
    // Plays the paused record on from where it paused; nothing unless paused.
    void Resume();
    // Plays the current record on from exactly `sample` (clamped to the record; at its end
    // the playback ends); paused, it moves the position and stays paused; nothing when idle.
    void Seek(std::uint64_t sample);
    // Plays on `seconds` later (earlier when negative) than the play head; nothing when idle.
    void SkipBy(int seconds);
    // How fast records play (1: as recorded), from the next block on; kept for the next
    // playbacks too.
    void SetSpeed(double speed);
    double Speed() const;
    // Starts at the speed `settings` keep and keeps every speed chosen there. A speed that
    // cannot be kept still plays; only the next start forgets it.
    void KeepSpeedIn(CSettingsStore& settings);

    bool IsPlaying() const { return m_playing; }
    bool IsPaused() const { return m_paused; }
    // The record playing or paused; empty when idle.
    std::filesystem::path Path() const { return m_path; }
    std::uint64_t TotalSamples() const { return m_totalSamples; }
    // Where the play head is: between the blocks the device has played, as far as the time
    // since the block began has played; where it paused when paused; 0 when idle. Drawn at this
    // position, a play head moves smoothly.
    std::uint64_t ElapsedSamples() const;
    std::uint32_t SampleRate() const;

signals:
    // Playing started or resumed, or playing ended (by Stop, by a failure, at the record's
    // end) or paused (IsPaused then tells).
    void StateChanged(bool playing);
    // The position jumped (a seek or a skip), rather than moving on as it plays.
    void PositionJumped();
    // A few times a second while playing.
    void Progress(std::uint64_t elapsedSamples, std::uint64_t totalSamples);
    void SpeedChanged(double speed);

private:
    void OnEndOfRecord(std::uint64_t generation);
    void OnTick();
    // Ends the player's run; `keepAt` keeps the record paused there, else the session is idle.
    void Finish(std::optional<std::uint64_t> keepAt = std::nullopt);

    CAudioManager& m_audio;
    CPlayer& m_player;
    QTimer m_ticker;
    std::filesystem::path m_path;
    std::uint64_t m_generation = 0;
    std::uint64_t m_totalSamples = 0;
    bool m_playing = false;
    bool m_paused = false;
    std::uint64_t m_pausedAt = 0;
    // The player has reached the record's end and is playing out its last blocks.
    bool m_draining = false;
};
