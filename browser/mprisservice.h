#pragma once

#include "browser/playbackcontrol.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>

// The program as a desktop media player (MPRIS 2) while a memo plays: the interfaces
// org.mpris.MediaPlayer2 and org.mpris.MediaPlayer2.Player at /org/mpris/MediaPlayer2,
// over a playback given as MPlaybackControl. The bus name kBusName is taken while the
// playback is playing or paused and given back when it stops, so the desktop's sound menu
// shows the memo only while there is one to control.
//
// The playback's owner calls Refresh whenever the playback starts, stops, pauses or
// changes memo (connect it to the playback's state signal) and NotifySeeked after a jump the
// desktop did not ask for. Calls from the desktop act on the control and refresh at once.
// User-interface thread only.
class CMprisService : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* kBusName = "org.mpris.MediaPlayer2.parlantographer";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

    // `bus` defaults to the session bus; without one, nothing is registered and every call
    // is harmless.
    explicit CMprisService(MPlaybackControl& control,
                           const QDBusConnection& bus = QDBusConnection::sessionBus(),
                           QObject* parent = nullptr);
    ~CMprisService() override;

    void Refresh();
    void NotifySeeked();
    // What the desktop's "Raise" does (show the window); without one, CanRaise is false.
    void SetRaiseHandler(std::function<void()> raise) { m_raise = std::move(raise); }

    bool IsRegistered() const { return m_registered; }
    // The bus name held while registered (kBusName, or a per-process one when another
    // program holds that).
    QString BusName() const { return m_busName; }

    // For the adaptors.
    MPlaybackControl& Control() { return m_control; }
    bool CanRaise() const { return static_cast<bool>(m_raise); }
    void Raise();
    QString StatusText() const;
    QVariantMap Metadata() const;
    // The track id of the memo loaded (it changes with the memo).
    QString TrackId() const;

signals:
    // The player adaptor relays it as the Player interface's Seeked signal.
    void Seeked(qlonglong position);

private:
    void Register();
    void Unregister();
    void EmitChanges();

    MPlaybackControl& m_control;
    QDBusConnection m_bus;
    std::function<void()> m_raise;
    bool m_registered = false;
    QString m_busName;
    // What the desktop was last told, so only changes are signalled.
    QString m_sentStatus;
    QVariantMap m_sentMetadata;
    QString m_trackPath;
    quint64 m_trackNumber = 0;
};
