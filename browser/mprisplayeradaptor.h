#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

class CMprisService;

// org.mpris.MediaPlayer2.Player over the service's playback: one memo, no next or previous,
// normal speed only. Seek and SetPosition stay inside the memo (a seek past its end does
// nothing, as there is no next memo to go to) and announce the new position with Seeked.
class CMprisPlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool CanGoNext READ No)
    Q_PROPERTY(bool CanGoPrevious READ No)
    Q_PROPERTY(bool CanPlay READ HasMemo)
    Q_PROPERTY(bool CanPause READ HasMemo)
    Q_PROPERTY(bool CanSeek READ HasMemo)
    Q_PROPERTY(bool CanControl READ Yes)
public:
    explicit CMprisPlayerAdaptor(CMprisService* service);

    QString PlaybackStatus() const;
    double Rate() const { return 1.0; }
    // The rate and the volume are the program's own; the desktop may not change them.
    void setRate(double) {}
    QVariantMap Metadata() const;
    double Volume() const { return 1.0; }
    void setVolume(double) {}
    qlonglong Position() const;
    bool No() const { return false; }
    bool Yes() const { return true; }
    bool HasMemo() const;

public slots:
    void Next() {}
    void Previous() {}
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString&) {}

signals:
    void Seeked(qlonglong Position);

private:
    // Moves to `position` when it lies within the memo, and says so.
    void MoveTo(qlonglong position);

    CMprisService* m_service;
};
