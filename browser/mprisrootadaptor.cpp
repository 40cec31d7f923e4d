#include "browser/mprisrootadaptor.h"

#include "browser/mprisservice.h"

#include <QGuiApplication>

CMprisRootAdaptor::CMprisRootAdaptor(CMprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service)
{}

bool CMprisRootAdaptor::CanRaise() const
{
    return m_service->CanRaise();
}

QString CMprisRootAdaptor::Identity() const
{
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Parlantographer") : name;
}

QString CMprisRootAdaptor::DesktopEntry() const
{
    return QGuiApplication::desktopFileName();
}

void CMprisRootAdaptor::Raise()
{
    m_service->Raise();
}
