#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Keeps one program running per user and home: the first start listens on a local
// socket; a later start finds it, asks it to raise its window, and is told to end.
class CSingleInstance : public QObject
{
    Q_OBJECT
public:
    // `key` names the socket; KeyFor gives the program's own.
    explicit CSingleInstance(QString key, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is the first: it now listens. False when another instance
    // answered and was asked to come to the front, and with `record` also to start a
    // recording (this one should end).
    bool Claim(bool record = false);

    // A key per user and per home folder, so that test homes do not meet the real one.
    static QString KeyFor(const QString& homePath);

signals:
    void RaiseRequested();
    // A later start asked for a new recording ("New Recording" of the launcher).
    void RecordRequested();

private:
    void OnConnection();

    QString m_key;
    QLocalServer* m_server = nullptr;
};
