#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {
constexpr int kWaitMs = 1000;
const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kRecord = QByteArrayLiteral("record\n");
} // namespace

CSingleInstance::CSingleInstance(QString key, QObject* parent)
    : QObject(parent), m_key(std::move(key))
{}

CSingleInstance::~CSingleInstance()
{
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
    QLocalSocket probe;
    probe.connectToServer(m_key);
    if (probe.waitForConnected(kWaitMs)) {
        probe.write(record ? kRaise + kRecord : kRaise);
        probe.waitForBytesWritten(kWaitMs);
        probe.disconnectFromServer();
        return false;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_key)) {
        // Nobody answered, so the socket file is left over from a crashed run.
        QLocalServer::removeServer(m_key);
        if (!m_server->listen(m_key))
            return true; // Running unguarded beats refusing to run at all.
    }
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
    return true;
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
