#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

// Keeps one program running per user and home: the first start takes a lock file beside the
// local socket and listens on the socket; a later start finds the lock taken, asks the holder
// over the socket to raise its window, and is told to end. Only the lock's holder ever
// removes or creates the socket, so two starts at the same moment cannot both run: the one
// that loses the lock waits for the winner to answer.
class CSingleInstance : public QObject
{
    Q_OBJECT
public:
    // `key` names the socket and the lock; KeyFor gives the program's own.
    explicit CSingleInstance(QString key, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is the first: it holds the lock and listens. False when another
    // instance holds it: that one was asked to come to the front, and with `record` also to
    // start a recording (this one should end), or it did not answer within a few seconds.
    bool Claim(bool record = false);

    // A key per user and per home folder, so that test homes do not meet the real one.
    static QString KeyFor(const QString& homePath);

signals:
    void RaiseRequested();
    // A later start asked for a new recording ("New Recording" of the launcher).
    void RecordRequested();

private:
    bool AskTheHolder(bool record);
    void Listen();
    void OnConnection();

    QString m_key;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
};
