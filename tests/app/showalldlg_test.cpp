#include "app/showalldlg.h"
#include "support/tap.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using L = QStringList;

TEST(ShowAll, TagGroupsSelectManyOthersOneAndShortStateListsDeselectTheRest)
{
    // A tag group named "Tasks" is a tag group: only the task and location slots hold one.
    for (const char* kind : {"Projects", "Tasks", "Task", "Location"}) {
        const bool single = QString(kind) == "Task" || QString(kind) == "Location";
        CShowAllDlg dialog(kind, L{"Alpha", "Beta", "Gamma"}, {false, true});
        dialog.show();
        EXPECT_EQ(dialog.IsSingleChoice(), single) << kind;
        EXPECT_EQ(dialog.SelectAllButton()->isVisible(), !single) << kind;
        EXPECT_EQ(dialog.States(), (QList<bool>{false, true, false})) << kind;
        TapRow(dialog.List(), 2);
        EXPECT_EQ(dialog.States(), (QList<bool>{false, !single, true})) << kind;
        if (!single) {
            QTest::mouseClick(dialog.SelectAllButton(), Qt::LeftButton);
            EXPECT_EQ(dialog.States(), (QList<bool>{true, true, true}));
            QTest::mouseClick(dialog.DeselectAllButton(), Qt::LeftButton);
            EXPECT_EQ(dialog.States(), (QList<bool>{false, false, false}));
        }
    }
}

} // namespace
