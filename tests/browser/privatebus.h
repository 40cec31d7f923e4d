#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <QUuid>

// A session bus of the test's own (a dbus-daemon started for it and stopped with it), so a
// test registers names and calls services without the desktop's bus. Two connections to it
// stand for the program and the desktop.
class CPrivateBus
{
public:
    CPrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000))
            return;
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~CPrivateBus()
    {
        for (const QString& name : m_names)
            QDBusConnection::disconnectFromBus(name);
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }
    CPrivateBus(const CPrivateBus&) = delete;
    CPrivateBus& operator=(const CPrivateBus&) = delete;

    bool Ok() const { return !m_address.isEmpty(); }

    // A new connection to the bus.
    QDBusConnection Connect()
    {
        m_names << QUuid::createUuid().toString();
        return QDBusConnection::connectToBus(m_address, m_names.back());
    }

    // Calls a method and waits for its answer, serving this program's own objects meanwhile.
    static QDBusMessage Call(QDBusConnection& from, const QString& service, const QString& path,
                             const QString& interface, const QString& method,
                             const QVariantList& arguments = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
        call.setArguments(arguments);
        return from.call(call, QDBus::BlockWithGui, 5000);
    }

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};
