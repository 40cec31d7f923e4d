#include "app/parlantographerapp.h"
#include "app/splashdlg.h"
#include "store/settingsstore.h"
#include "support/scopedenv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

CSplashDlg* ShownSplash()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<CSplashDlg*>(widget); splash && splash->isVisible())
            return splash;
    }
    return nullptr;
}

// The main screen is built while the splash shows. A click ends the splash at once, also one
// that comes while the screen is built; so does any key; left alone it ends at its time.
TEST(SplashDlg, ShowsWhileTheScreenIsBuiltAndEndsAtAClickOrAKey)
{
    QElapsedTimer clock;
    clock.start();
    bool shown = false;
    CSplashDlg::ShowWhile(
        [&] {
            CSplashDlg* splash = ShownSplash();
            shown = splash != nullptr;
            if (splash)
                QTest::mouseClick(splash, Qt::LeftButton);
        },
        60000);
    EXPECT_TRUE(shown);
    EXPECT_LT(clock.elapsed(), 10000);

    clock.restart();
    CSplashDlg::ShowWhile(
        [] {
            // Queued, as a key pressed while the screen is built reaches the splash after.
            if (CSplashDlg* splash = ShownSplash())
                QCoreApplication::postEvent(splash,
                                            new QKeyEvent(QEvent::KeyPress, Qt::Key_Q, {}, "q"));
        },
        60000);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(ShownSplash(), nullptr);

    clock.restart();
    CSplashDlg::ShowWhile([] {}, 300);
    EXPECT_GE(clock.elapsed(), 250);
}

TEST(SplashDlg, ShowsUnlessTurnedOffOrARecordingIsAskedFor)
{
    const testsupport::CScopedEnv noSplash("PARLANTOGRAPHER_NO_SPLASH", std::nullopt);
    QTemporaryDir home;
    CSettingsStore settings(home.filePath("settings.ini"));
    EXPECT_TRUE(CParlantographerApp::WantsSplash(settings, false));
    EXPECT_FALSE(CParlantographerApp::WantsSplash(settings, true));
    ASSERT_TRUE(settings.SetShowSplash(false));
    EXPECT_FALSE(CParlantographerApp::WantsSplash(settings, false));
}

} // namespace
