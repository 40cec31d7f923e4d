#include "browser/renamegroup.h"
#include "browser/tagmanagerdlg.h"
#include "controls/slotlist.h"
#include "mainscreenhome.h"

#include <QAction>
#include <QLineEdit>

namespace {

// The menu opens the tag manager; a group renamed there is what the slot shows afterwards.
TEST(TagManagerAction, ARenamedGroupIsShownByItsSlotAfterOk)
{
    SMainScreenHome at;
    CParlantographerDlg screen(at.Context());
    screen.show();
    ASSERT_TRUE(screen.TagManagerAction()->isEnabled());
    ASSERT_EQ(screen.Slot(0)->Kind(), "Priority");

    WhenModal<CTagManagerDlg>([](CTagManagerDlg& manager) {
        WhenModal<CRenameGroup>([&manager](CRenameGroup& rename) {
            rename.NameEdit()->setText("Urgency");
            rename.accept();
            QTimer::singleShot(0, &manager, &CTagManagerDlg::accept);
        });
        QTest::mouseClick(manager.Button("renameGroup"), Qt::LeftButton);
    });
    screen.TagManagerAction()->trigger();
    EXPECT_EQ(at.settings.Slot(0), "Urgency");
    EXPECT_EQ(screen.Slot(0)->Kind(), "Urgency");
    EXPECT_EQ(screen.Slot(0)->Items(), (QStringList{"Important", "Normal", "Inessential"}));
    EXPECT_TRUE(at.sink.messages.empty());
}

} // namespace
