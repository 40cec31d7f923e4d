#include "app/parlantographerapp.h"

#include "app/logger.h"
#include "app/memorycheck.h"
#include "app/messagesink.h"
#include "app/parlantographerdlg.h"
#include "app/recordingcontroller.h"
#include "app/signalwatcher.h"
#include "app/singleinstance.h"
#include "app/splashdlg.h"
#include "audio/audiomanager.h"
#include "desktoppim/chosenpimsource.h"
#include "platform/home.h"
#include "store/settingsstore.h"
#include "store/storage.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <stdexcept>

CParlantographerApp::CParlantographerApp(MMessageSink* sink)
    : m_ownSink(sink ? nullptr : std::make_unique<CMessageBoxSink>()),
      m_sink(sink ? sink : m_ownSink.get())
{}

CParlantographerApp::~CParlantographerApp() = default;

bool CParlantographerApp::WantsSplash(const CSettingsStore& settings, bool record)
{
    // A memo asked for from the launcher starts at once, without the splash.
    return !record && settings.ShowSplash() &&
           qEnvironmentVariableIntValue("PARLANTOGRAPHER_NO_SPLASH") == 0;
}

int CParlantographerApp::Run(const QSize& windowSize, bool record)
{
    CMemoryCheck memory;
    if (!memory.CheckOrWarn(*m_sink, nullptr))
        return 1;

    const QString home = Home::Folder();
    QDir().mkpath(home);
    CSingleInstance instance(CSingleInstance::KeyFor(QDir(home).absolutePath()));
    if (!instance.Claim(record))
        return 0; // the running program has been asked to come to the front

    CSettingsStore settings;
    // The folder is informational for other tools; the program runs without it.
    settings.SetAppPath(Home::WithTrailingSlash(QDir(home).absolutePath()));

    // The executable must fit as well, as it would have to be loaded again.
    const qint64 executable = QFileInfo(QCoreApplication::applicationFilePath()).size();
    if (executable <= 0)
        return 1;
    if (!memory.CheckOrWarn(*m_sink, nullptr,
                            CMemoryCheck::kWorkingBytes + static_cast<std::uint64_t>(executable)))
        return 1;

    // The desktop's service is asked while the splash shows, so its first answer costs the
    // main screen little or nothing.
    CChosenPimSource pim(settings.PimSource(),
                         CPimFileSource::FolderFor(settings.PimFolder(), home));
    pim.Prepare();

    CStorage storage(settings);
    // The engine outlives the window, which records and plays through it.
    std::unique_ptr<CAudioManager> audio;
    std::unique_ptr<CParlantographerDlg> screen;
    const auto build = [&] {
        audio = std::make_unique<CAudioManager>();
        screen = std::make_unique<CParlantographerDlg>(CParlantographerDlg::SContext{
            *audio, settings, storage, pim, *m_sink, memory, QStringLiteral("/proc/self/mounts"),
            [&] {
                pim.Choose(settings.PimSource(),
                           CPimFileSource::FolderFor(settings.PimFolder(), home));
            },
            [&pim] {
                return pim.Effective();
            }});
    };
    try {
        // The main screen is built while the splash shows, so the window is ready when it
        // ends.
        if (WantsSplash(settings, record))
            CSplashDlg::ShowWhile(build);
        else
            build();
    } catch (const std::invalid_argument& error) {
        // A bad environment value (PARLANTOGRAPHER_AUDIO and the like) is a developer's or
        // a script's: it is said where they look, without a dialog to wait on.
        std::fprintf(stderr, "parlantographer: %s\n", error.what());
        return 1;
    } catch (const std::exception& error) {
        m_sink->Show(EMessageIcon::Stop,
                     QCoreApplication::translate("CParlantographerApp", "Error"),
                     QString::fromStdString(error.what()), nullptr);
        return 1;
    }

    QObject::connect(&instance, &CSingleInstance::RaiseRequested, screen.get(), [&screen] {
        screen->showNormal();
        screen->raise();
        screen->activateWindow();
    });
    QObject::connect(&instance, &CSingleInstance::RecordRequested, screen.get(),
                     [&screen] { screen->Recording().RecordIfIdle(); });
    CSignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &CSignalWatcher::Terminated, screen.get(),
                     [&screen](int) { screen->OnAppExit(); });

    if (!windowSize.isEmpty())
        screen->resize(windowSize);
    screen->show();
    if (record)
        screen->Recording().RecordIfIdle();
    const int status = QApplication::exec();
    screen.reset();
    return status;
}
