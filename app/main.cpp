#include "app/parlantographerapp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brindlewares"));
    QApplication::setApplicationName(QStringLiteral("Parlantographer"));
    QApplication::setApplicationVersion(QStringLiteral(PARLANTOGRAPHER_VERSION));
    // Outside a desktop session Qt knows no icon theme; the one installed with the
    // program's dependencies is the best guess, and drawn icons cover the rest.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Records voice memos with their information."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Initial window size, for example 480x640."),
                                  QStringLiteral("WxH"));
    parser.addOption(size);
    parser.process(application);

    QSize windowSize;
    if (parser.isSet(size)) {
        const QStringList parts = parser.value(size).split(QLatin1Char('x'));
        bool wide = false;
        bool high = false;
        if (parts.size() == 2)
            windowSize = QSize(parts[0].toInt(&wide), parts[1].toInt(&high));
        if (!wide || !high || windowSize.isEmpty()) {
            std::fprintf(stderr, "parlantographer: --size wants WIDTHxHEIGHT, e.g. 480x640\n");
            return 2;
        }
    }
    try {
        CParlantographerApp program;
        return program.Run(windowSize);
    } catch (const std::exception& error) {
        // Nothing may end the program without a word, least of all std::terminate.
        std::fprintf(stderr, "parlantographer: %s\n", error.what());
        return 1;
    }
}
