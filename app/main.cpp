#include "app/guardedapplication.h"
#include "app/parlantographerapp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

struct SOptions
{
    QCommandLineOption size{QStringLiteral("size"),
                            QCoreApplication::translate("main", "Initial window size, for "
                                                                "example 480x640."),
                            QStringLiteral("WxH")};
    QCommandLineOption record{
        QStringLiteral("record"),
        QCoreApplication::translate("main", "Start a new recording at once (or have the running "
                                            "program start one).")};
};

void SetIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brindlewares"));
    QCoreApplication::setApplicationName(QStringLiteral("Parlantographer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PARLANTOGRAPHER_VERSION));
}

void Configure(QCommandLineParser& parser, const SOptions& options)
{
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Records voice memos with their information."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(options.size);
    parser.addOption(options.record);
}

// --help and --version only print: they must work where no display is.
bool OnlyPrints(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (OnlyPrints(argc, argv)) {
        QCoreApplication core(argc, argv);
        SetIdentity();
        QCommandLineParser parser;
        const SOptions options;
        Configure(parser, options);
        parser.process(core); // prints and ends the process
        return 0;
    }

    CGuardedApplication application(argc, argv);
    SetIdentity();
    QGuiApplication::setDesktopFileName(QString::fromLatin1(CParlantographerApp::kAppId));
    // Outside a desktop session Qt knows no icon theme; the one installed with the
    // program's dependencies is the best guess, and drawn icons cover the rest.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    QCommandLineParser parser;
    const SOptions options;
    Configure(parser, options);
    parser.process(application);

    QSize windowSize;
    if (parser.isSet(options.size)) {
        const QStringList parts = parser.value(options.size).split(QLatin1Char('x'));
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
        return program.Run(windowSize, parser.isSet(options.record));
    } catch (const std::exception& error) {
        // Nothing may end the program without a word, least of all std::terminate.
        std::fprintf(stderr, "parlantographer: %s\n", error.what());
        return 1;
    }
}
