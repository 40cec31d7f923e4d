#include "app/memorycheck.h"
#include "app/parlantographerdlg.h"
#include "app/recordingsink.h"
#include "browser/renamegroup.h"
#include "browser/tagmanagerdlg.h"
#include "browsertestsupport.h"
#include "controls/slotlist.h"
#include "store/settingsstore.h"
#include "store/storage.h"

#include <QAction>
#include <QLineEdit>

namespace {

// The menu opens the tag manager; a group renamed there is what the slot shows afterwards.
TEST(TagManagerAction, ARenamedGroupIsShownByItsSlotAfterOk)
{
    QTemporaryDir home;
    CSettingsStore settings{home.filePath("settings.ini")};
    CStorage storage(settings, {home.path() + "/", home.path() + "/Data/", [] {
                                    return QList<SStorageCard>{};
                                }});
    CFakePimSource pim;
    CRecordingSink sink;
    CMemoryCheck memory{[] {
        return std::optional<std::uint64_t>(1ull << 30);
    }};
    ASSERT_TRUE(WriteAll(home.filePath("mounts"), QByteArray()));
    CParlantographerDlg screen({settings, storage, pim, sink, memory, home.filePath("mounts")});
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
    EXPECT_EQ(settings.Slot(0), "Urgency");
    EXPECT_EQ(screen.Slot(0)->Kind(), "Urgency");
    EXPECT_EQ(screen.Slot(0)->Items(), (QStringList{"Important", "Normal", "Inessential"}));
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
