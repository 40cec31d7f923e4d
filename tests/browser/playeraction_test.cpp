#include "browser/propertyall.h"
#include "mainscreenhome.h"

#include <QAction>

namespace {

// The main screen opens the browser over the records it finds, by menu and by key.
TEST(PlayerAction, OpensTheRecordsOfTheDataFolder)
{
    SMainScreenHome at;
    ASSERT_TRUE(WriteAll(at.home.filePath("Data/01042027_080000.wav"),
                         Wav(Info("Priority", "Important", "", ""))));
    CParlantographerDlg screen(at.Context());
    screen.show();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    EXPECT_TRUE(screen.PlayerAction()->isEnabled());
    EXPECT_TRUE(screen.PlayerMenuAction()->isEnabled());

    int opened = 0;
    const auto check = [&opened](CFindRecordDlg& browser) {
        ++opened;
        EXPECT_EQ(browser.windowTitle(), "Records");
        QStringList tabs;
        for (int i = 0; i < browser.Tabs()->count(); ++i)
            tabs << browser.Tabs()->tabText(i);
        EXPECT_EQ(tabs, (QStringList{"All", "Tasks", "Contacts", "Tags"}));
        EXPECT_EQ(browser.AllPage()->ListedNames(), QStringList{"01042027_080000.wav"});
        browser.reject();
    };
    WhenModal<CFindRecordDlg>(check);
    QTest::keyClick(&screen, Qt::Key_B, Qt::ControlModifier);
    WhenModal<CFindRecordDlg>(check);
    screen.PlayerAction()->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(at.sink.messages.empty());
}

} // namespace
