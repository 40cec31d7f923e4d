#include "app/parlantographerapp.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brindlewares"));
    QApplication::setApplicationName(QStringLiteral("Parlantographer"));
    QApplication::setApplicationVersion(QStringLiteral(PARLANTOGRAPHER_VERSION));
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    CParlantographerApp program;
    return program.Run();
}
