#pragma once

#include <QApplication>

// The window program's application object. An exception that escapes an event handler or
// a slot must not unwind through Qt, which does not support it and would end the program
// without a word: it is reported on stderr and the event loop ends with status 1.
class CGuardedApplication : public QApplication
{
public:
    CGuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
