#include "browser/playbacksession.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/player.h"
#include "platform/scopeexit.h"
#include "store/settingsstore.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>

namespace {
// Often enough for a play head that glides rather than jumps across a short record.
constexpr int kTickMs = 50;
} // namespace

CPlaybackSession::CPlaybackSession(CAudioManager& audio, QObject* parent)
    : QObject(parent), m_audio(audio), m_player(audio.GetPlayer())
{
    m_ticker.setInterval(kTickMs);
    connect(&m_ticker, &QTimer::timeout, this, &CPlaybackSession::OnTick);
}

CPlaybackSession::~CPlaybackSession()
{
    // The windows that listen may be half destroyed by now.
    blockSignals(true);
    try {
        Stop();
    } catch (const CAudioError&) {
        // A destructor cannot report; the player has released the record all the same.
    }
    m_player.SetEndOfPlaybackHandler({});
}

void CPlaybackSession::KeepSpeedIn(CSettingsStore& settings)
{
    SetSpeed(settings.PlaybackSpeed());
    connect(this, &CPlaybackSession::SpeedChanged, this,
            [&settings](double speed) { settings.SetPlaybackSpeed(speed); });
}

std::uint32_t CPlaybackSession::SampleRate() const
{
    return m_audio.SampleRate();
}

void CPlaybackSession::Play(const std::filesystem::path& path, std::uint64_t startSample)
{
    Stop();
    const std::string& file = path.native();
    const std::uint64_t total = m_audio.GetRecordSamples(file);
    const std::uint64_t start = std::min(startSample, total);
    // Each playback gets its own number; the handler runs on the playback thread and
    // only posts, so the number tells a late notice from the current playback's.
    const std::uint64_t generation = ++m_generation;
    // The session outlives every playback it starts (its destructor stops the player), and
    // a queued call whose object is gone is dropped.
    m_player.SetEndOfPlaybackHandler([this, generation] {
        QMetaObject::invokeMethod(
            this, [this, generation] { OnEndOfRecord(generation); }, Qt::QueuedConnection);
    });
    m_player.Play(file, start);
    m_path = path;
    m_totalSamples = total;
    m_playing = true;
    m_paused = false;
    m_draining = false;
    m_ticker.start();
    emit StateChanged(true);
    emit Progress(ElapsedSamples(), m_totalSamples);
}

void CPlaybackSession::Stop()
{
    if (m_paused) {
        m_paused = false;
        m_path.clear();
        emit StateChanged(false);
        return;
    }
    if (!m_playing)
        return;
    Finish();
}

void CPlaybackSession::Pause()
{
    if (!m_playing)
        return;
    if (m_draining) {
        Finish();
        return;
    }
    Finish(ElapsedSamples());
}

void CPlaybackSession::Resume()
{
    if (!m_paused)
        return;
    const std::filesystem::path path = m_path;
    // Paused on the last sample, a resume would end at once: it plays the record again.
    Play(path, m_pausedAt < m_totalSamples ? m_pausedAt : 0);
}

void CPlaybackSession::Seek(std::uint64_t sample)
{
    if (m_paused) {
        m_pausedAt = std::min(sample, m_totalSamples);
        emit PositionJumped();
        emit Progress(m_pausedAt, m_totalSamples);
        return;
    }
    if (!m_playing)
        return;
    const std::filesystem::path path = m_path;
    Play(path, sample);
    emit PositionJumped();
}

void CPlaybackSession::SkipBy(int seconds)
{
    if (!m_playing && !m_paused)
        return;
    const auto at = static_cast<std::int64_t>(ElapsedSamples()) +
                    static_cast<std::int64_t>(seconds) * m_audio.SampleRate();
    Seek(static_cast<std::uint64_t>(std::max<std::int64_t>(0, at)));
}

void CPlaybackSession::SetSpeed(double speed)
{
    if (speed == m_player.Speed())
        return;
    m_player.SetSpeed(speed);
    emit SpeedChanged(m_player.Speed());
}

double CPlaybackSession::Speed() const
{
    return m_player.Speed();
}

std::uint64_t CPlaybackSession::ElapsedSamples() const
{
    if (m_paused)
        return m_pausedAt;
    return m_playing ? std::min(m_player.PlayheadSamples(), m_totalSamples) : 0;
}

void CPlaybackSession::OnEndOfRecord(std::uint64_t generation)
{
    if (!m_playing || generation != m_generation)
        return;
    // The last blocks are still playing out; the ticker finishes once they have.
    m_draining = true;
    OnTick();
}

void CPlaybackSession::OnTick()
{
    if (!m_playing)
        return;
    if (m_draining && m_player.WaitUntilStopped(std::chrono::milliseconds(0))) {
        Finish();
        return;
    }
    emit Progress(ElapsedSamples(), m_totalSamples);
}

void CPlaybackSession::Finish(std::optional<std::uint64_t> keepAt)
{
    ++m_generation;
    m_ticker.stop();
    m_playing = false;
    m_draining = false;
    m_paused = keepAt.has_value();
    m_pausedAt = keepAt.value_or(0);
    if (!m_paused)
        m_path.clear();
    // The state changes even when the player reports a failure while stopping.
    const CScopeExit notify([this] { emit StateChanged(false); });
    m_player.StopPlaying();
}
