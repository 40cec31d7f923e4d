#include "app/screensaverinhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
} // namespace

CScreenSaverInhibitor::CScreenSaverInhibitor(QObject* parent) : QObject(parent) {}

CScreenSaverInhibitor::~CScreenSaverInhibitor()
{
    Release();
}

void CScreenSaverInhibitor::Inhibit(const QString& reason)
{
    m_wanted = true;
    if (m_haveCookie || m_pending)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    call << QStringLiteral("Parlantographer") << reason;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    m_pending = true;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        QDBusPendingReply<std::uint32_t> reply = *w;
        w->deleteLater();
        m_pending = false;
        if (reply.isError())
            return; // No screen saver service: nothing to keep awake.
        if (m_wanted) {
            m_cookie = reply.value();
            m_haveCookie = true;
        } else {
            // The recording ended before the answer came.
            SendUninhibit(reply.value());
        }
    });
}

void CScreenSaverInhibitor::Release()
{
    m_wanted = false;
    if (!m_haveCookie)
        return;
    m_haveCookie = false;
    SendUninhibit(m_cookie);
}

void CScreenSaverInhibitor::SendUninhibit(std::uint32_t cookie)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("UnInhibit"));
    call << cookie;
    bus.call(call, QDBus::NoBlock);
}
