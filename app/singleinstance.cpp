#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

namespace {
// How long a later start waits for the holder of the lock to answer: a holder that has just
// taken it may still be loading before it listens.
constexpr int kAnswerMs = 5000;
constexpr int kConnectMs = 200;
constexpr int kWriteMs = 1000;
const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kRecord = QByteArrayLiteral("record\n");

// Beside the socket, which a name without a folder puts in the temporary folder.
QString LockPathOf(const QString& key)
{
    return QDir::tempPath() + u'/' + key + QStringLiteral(".lock");
}
} // namespace

CSingleInstance::CSingleInstance(QString key, QObject* parent)
    : QObject(parent), m_key(std::move(key)), m_lock(LockPathOf(m_key))
{
    // A running program holds it for hours; only a holder that is gone makes it stale.
    m_lock.setStaleLockTime(0);
}

CSingleInstance::~CSingleInstance()
{
    // The socket goes before the lock, so the next holder never finds it.
    if (m_server)
        m_server->close();
}

QString CSingleInstance::KeyFor(const QString& homePath)
{
    const QByteArray digest =
        QCryptographicHash::hash(homePath.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("parlantographer-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest));
}

bool CSingleInstance::Claim(bool record)
{
    const QDeadlineTimer deadline(kAnswerMs);
    for (;;) {
        if (m_lock.tryLock(0)) {
            Listen();
            return true;
        }
        if (AskTheHolder(record))
            return false;
        if (deadline.hasExpired()) {
            // A holder that never answers (hung, or it could not listen) is still running.
            qWarning("Another instance holds %s but does not answer; this one ends.",
                     qPrintable(m_lock.fileName()));
            return false;
        }
        QThread::msleep(20);
    }
}

bool CSingleInstance::AskTheHolder(bool record)
{
    QLocalSocket probe;
    probe.connectToServer(m_key);
    if (!probe.waitForConnected(kConnectMs))
        return false;
    probe.write(record ? kRaise + kRecord : kRaise);
    probe.waitForBytesWritten(kWriteMs);
    probe.disconnectFromServer();
    return true;
}

void CSingleInstance::Listen()
{
    // Only the lock's holder gets here, so a socket file is left over from a run that ended
    // without removing it.
    QLocalServer::removeServer(m_key);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Without the socket a later start finds the lock and ends after waiting for an answer:
    // this one runs all the same, as refusing to run at all would help nobody.
    if (!m_server->listen(m_key))
        return;
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
}

void CSingleInstance::OnConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto read = [this, socket] {
            const QByteArray request = socket->readAll();
            if (request.contains(kRaise))
                emit RaiseRequested();
            if (request.contains(kRecord))
                emit RecordRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            read();
    }
}
