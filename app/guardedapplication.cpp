#include "app/guardedapplication.h"

#include <cstdio>
#include <exception>

CGuardedApplication::CGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool CGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        // Worded as main's own top-level catch; the window may be half way through a
        // change, so the program ends rather than running on.
        std::fprintf(stderr, "parlantographer: %s\n", error.what());
    }
    QCoreApplication::exit(1);
    return false;
}
