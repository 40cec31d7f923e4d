#include "browser/sessionplaybackcontrol.h"

#include "audio/audioerror.h"
#include "browser/playbacksession.h"
#include "store/nativepath.h"
#include "store/recordrename.h"

MPlaybackControl::EStatus CSessionPlaybackControl::Status() const
{
    if (m_session.IsPlaying())
        return EStatus::Playing;
    return m_session.IsPaused() ? EStatus::Paused : EStatus::Stopped;
}

QString CSessionPlaybackControl::Title() const
{
    // The memo's name as the rows and an export's title give it: without its extension.
    return m_session.Path().empty() ? QString() : RecordRename::EditableName(m_session.Path());
}

QString CSessionPlaybackControl::FilePath() const
{
    return m_session.Path().empty() ? QString() : NativePath::Display(m_session.Path());
}

std::chrono::microseconds CSessionPlaybackControl::Duration(std::uint64_t samples) const
{
    const std::uint32_t rate = m_session.SampleRate();
    return std::chrono::microseconds(
        rate == 0 ? 0 : static_cast<std::int64_t>(samples * 1'000'000 / rate));
}

std::chrono::microseconds CSessionPlaybackControl::Length() const
{
    return m_session.Path().empty() ? std::chrono::microseconds(0)
                                    : Duration(m_session.TotalSamples());
}

std::chrono::microseconds CSessionPlaybackControl::Position() const
{
    return Duration(m_session.ElapsedSamples());
}

void CSessionPlaybackControl::Play()
{
    Guarded([this] { m_session.Resume(); });
}

void CSessionPlaybackControl::Pause()
{
    Guarded([this] { m_session.Pause(); });
}

void CSessionPlaybackControl::Stop()
{
    Guarded([this] { m_session.Stop(); });
}

void CSessionPlaybackControl::SetPosition(std::chrono::microseconds position)
{
    const auto sample = static_cast<std::uint64_t>(std::max<std::int64_t>(0, position.count())) *
                        m_session.SampleRate() / 1'000'000;
    Guarded([this, sample] { m_session.Seek(sample); });
}

void CSessionPlaybackControl::Guarded(const std::function<void()>& request)
{
    try {
        request();
    } catch (const CAudioError& error) {
        if (m_onError)
            m_onError(QString::fromStdString(error.what()));
    }
}
