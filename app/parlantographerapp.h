#pragma once

#include <QSize>
#include <memory>

class MMessageSink;

// The program from start to end: the memory checks, "AppPath", one instance only, the
// splash, the contacts-and-tasks source, then the main screen until it closes.
class CParlantographerApp
{
public:
    // The sink defaults to real message boxes.
    explicit CParlantographerApp(MMessageSink* sink = nullptr);
    ~CParlantographerApp();
    CParlantographerApp(const CParlantographerApp&) = delete;
    CParlantographerApp& operator=(const CParlantographerApp&) = delete;

    // Runs the program inside an existing QApplication; returns the exit status. An
    // empty size leaves the window at its designed size.
    int Run(const QSize& windowSize = QSize());

private:
    std::unique_ptr<MMessageSink> m_ownSink;
    MMessageSink* m_sink;
};
