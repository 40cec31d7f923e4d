#include "browser/mprisservice.h"

#include "browser/mprisplayeradaptor.h"
#include "browser/mprisrootadaptor.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QUrl>

namespace {

const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
const QString kTrackPrefix = QStringLiteral("/com/brindlewares/Parlantographer/Track/");

} // namespace

CMprisService::CMprisService(MPlaybackControl& control, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_control(control), m_bus(bus)
{
    new CMprisRootAdaptor(this);
    new CMprisPlayerAdaptor(this);
}

CMprisService::~CMprisService()
{
    Unregister();
}

void CMprisService::Refresh()
{
    const bool stopped = m_control.Status() == MPlaybackControl::EStatus::Stopped;
    if (m_control.FilePath() != m_trackPath) {
        m_trackPath = m_control.FilePath();
        ++m_trackNumber;
    }
    if (!stopped && !m_registered)
        Register();
    if (!m_registered)
        return;
    EmitChanges();
    if (stopped)
        Unregister();
}

void CMprisService::NotifySeeked()
{
    if (m_registered)
        emit Seeked(m_control.Position().count());
}

void CMprisService::Raise()
{
    if (m_raise)
        m_raise();
}

QString CMprisService::StatusText() const
{
    switch (m_control.Status()) {
    case MPlaybackControl::EStatus::Playing:
        return QStringLiteral("Playing");
    case MPlaybackControl::EStatus::Paused:
        return QStringLiteral("Paused");
    case MPlaybackControl::EStatus::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QString CMprisService::TrackId() const
{
    return m_trackPath.isEmpty() ? kNoTrack : kTrackPrefix + QString::number(m_trackNumber);
}

QVariantMap CMprisService::Metadata() const
{
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackId()))}};
    if (m_trackPath.isEmpty())
        return metadata;
    metadata.insert(QStringLiteral("mpris:length"),
                    static_cast<qlonglong>(m_control.Length().count()));
    metadata.insert(QStringLiteral("xesam:title"), m_control.Title());
    metadata.insert(QStringLiteral("xesam:url"),
                    QUrl::fromLocalFile(m_trackPath).toString(QUrl::FullyEncoded));
    return metadata;
}

void CMprisService::Register()
{
    if (!m_bus.isConnected() || !m_bus.registerObject(QString::fromLatin1(kObjectPath), this,
                                                      QDBusConnection::ExportAdaptors))
        return;
    // Another program holding the plain name (a second copy run from elsewhere) leaves this
    // one the per-process name the interface provides for that case.
    for (const QString& name : {QString::fromLatin1(kBusName),
                                QString::fromLatin1(kBusName) + QStringLiteral(".instance") +
                                    QString::number(QCoreApplication::applicationPid())}) {
        if (m_bus.registerService(name)) {
            m_busName = name;
            m_registered = true;
            m_sentStatus.clear();
            m_sentMetadata.clear();
            return;
        }
    }
    m_bus.unregisterObject(QString::fromLatin1(kObjectPath));
}

void CMprisService::Unregister()
{
    if (!m_registered)
        return;
    m_bus.unregisterService(m_busName);
    m_bus.unregisterObject(QString::fromLatin1(kObjectPath));
    m_registered = false;
    m_busName.clear();
}

void CMprisService::EmitChanges()
{
    QVariantMap changed;
    const QString status = StatusText();
    if (status != m_sentStatus)
        changed.insert(QStringLiteral("PlaybackStatus"), m_sentStatus = status);
    const QVariantMap metadata = Metadata();
    if (metadata != m_sentMetadata)
        changed.insert(QStringLiteral("Metadata"), m_sentMetadata = metadata);
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    m_bus.send(signal);
}
