#include "browser/mprisplayeradaptor.h"

#include "browser/mprisservice.h"

using std::chrono::microseconds;

CMprisPlayerAdaptor::CMprisPlayerAdaptor(CMprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service)
{
    connect(service, &CMprisService::Seeked, this, &CMprisPlayerAdaptor::Seeked);
}

QString CMprisPlayerAdaptor::PlaybackStatus() const
{
    return m_service->StatusText();
}

QVariantMap CMprisPlayerAdaptor::Metadata() const
{
    return m_service->Metadata();
}

qlonglong CMprisPlayerAdaptor::Position() const
{
    return m_service->Control().Position().count();
}

bool CMprisPlayerAdaptor::HasMemo() const
{
    return !m_service->Control().FilePath().isEmpty();
}

void CMprisPlayerAdaptor::Pause()
{
    if (m_service->Control().Status() == MPlaybackControl::EStatus::Playing)
        m_service->Control().Pause();
    m_service->Refresh();
}

void CMprisPlayerAdaptor::PlayPause()
{
    if (m_service->Control().Status() == MPlaybackControl::EStatus::Playing)
        m_service->Control().Pause();
    else
        m_service->Control().Play();
    m_service->Refresh();
}

void CMprisPlayerAdaptor::Stop()
{
    m_service->Control().Stop();
    m_service->Refresh();
}

void CMprisPlayerAdaptor::Play()
{
    if (m_service->Control().Status() != MPlaybackControl::EStatus::Playing)
        m_service->Control().Play();
    m_service->Refresh();
}

void CMprisPlayerAdaptor::Seek(qlonglong offset)
{
    const qlonglong position = m_service->Control().Position().count() + offset;
    MoveTo(position < 0 ? 0 : position);
}

void CMprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    // A request for a memo that no longer plays is stale: ignored, as the interface asks.
    if (trackId.path() == m_service->TrackId() && position >= 0)
        MoveTo(position);
}

void CMprisPlayerAdaptor::MoveTo(qlonglong position)
{
    MPlaybackControl& control = m_service->Control();
    if (control.FilePath().isEmpty() || position > control.Length().count())
        return;
    control.SetPosition(microseconds(position));
    m_service->NotifySeeked();
}
