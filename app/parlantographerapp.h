#pragma once

#include <QSize>
#include <memory>

class CSettingsStore;
class MMessageSink;

// The program from start to end: the memory checks, "AppPath", one instance only, the
// contacts-and-tasks source, the main screen built while the splash shows, then the main
// screen until it closes.
class CParlantographerApp
{
public:
    // The reverse-DNS name of the desktop file, the icon and the metainfo.
    static constexpr const char* kAppId = PARLANTOGRAPHER_APP_ID;

    // The sink defaults to real message boxes.
    explicit CParlantographerApp(MMessageSink* sink = nullptr);
    ~CParlantographerApp();
    CParlantographerApp(const CParlantographerApp&) = delete;
    CParlantographerApp& operator=(const CParlantographerApp&) = delete;

    // Runs the program inside an existing QApplication; returns the exit status. An
    // empty size leaves the window at its designed size.
    // With `record` a recording starts as soon as the window shows (no splash), or the
    // program already running is asked to start one.
    int Run(const QSize& windowSize = QSize(), bool record = false);

    // Whether a start shows the splash: not for `record`, not when the setting "ShowSplash"
    // is off, nor while PARLANTOGRAPHER_NO_SPLASH is set (the tests' own starts).
    static bool WantsSplash(const CSettingsStore& settings, bool record);

private:
    std::unique_ptr<MMessageSink> m_ownSink;
    MMessageSink* m_sink;
};
