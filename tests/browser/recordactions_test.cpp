#include "browser/recordactions.h"
#include "browsertestsupport.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

// Ctrl+C in the list copies the selected files for a file manager to paste, while Ctrl+C in
// the search field still copies its text; "Show in Folder" shows the selected file; the menu
// carries the actions.
TEST_F(BrowserTest, CopyAndShowInFolderTakeTheSelectedRecordsFiles)
{
    Record("01042027_080000.wav", Info("", "", "", "Ann Lee"));
    Record("01032027_080000.wav", Info("", "", "", "Bo Chan"));
    Open();
    QListView* list = Page().RecordListWidget();
    list->setFocus();
    list->selectAll();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    QStringList files;
    for (const QUrl& url : copied->urls())
        files << url.toLocalFile();
    EXPECT_EQ(files, (QStringList{data + "01032027_080000.wav", data + "01042027_080000.wav"}));
    EXPECT_TRUE(copied->hasFormat("x-special/gnome-copied-files"));

    Page().SearchField()->setText("Bo");
    Page().SearchField()->selectAll();
    QTest::keyClick(Page().SearchField(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Bo");

    QStringList menu;
    for (const QAction* action : Page().Actions()->Menu()->actions())
        menu << action->text();
    EXPECT_EQ(menu, (QStringList{"Export…", "Show in Folder", "Copy"}));
    Page().Actions()->ShowInFolderAction()->trigger();
    EXPECT_EQ(shownInFolder, QStringList{data + "01032027_080000.wav"});
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
}
