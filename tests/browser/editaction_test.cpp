#include "browser/editrecordinfodlg.h"
#include "browsertestsupport.h"

namespace {

class EditAction : public BrowserTest
{
protected:
    void OpenWithCatalogue()
    {
        ASSERT_TRUE(WriteAll(home.filePath("groups.dat"), "[Priority]\nImportant\nNormal\n"));
        Open(home.path());
    }
};

// "Edit" opens the editor on the selected record of the page, and the page shows what was
// saved once it closes.
TEST_F(EditAction, EditsTheSelectedRecordAndRefreshesThePage)
{
    Record("01032027_080000.wav", Info("Priority", "Normal", "", ""));
    Record("01042027_080000.wav", Info("Priority", "Normal", "", ""));
    OpenWithCatalogue();
    CBrowserPage& page = Page();
    ASSERT_TRUE(page.EditButton()->isEnabled());
    page.RecordListWidget()->setCurrentRow(1);
    const QString selected = page.RecordListWidget()->currentItem()->text();

    WhenModal<CEditRecordInfoDlg>([&selected](CEditRecordInfoDlg& editor) {
        EXPECT_EQ(editor.FileNameText(), selected);
        EXPECT_TRUE(editor.NextButton()->isEnabled());
        editor.SelectCategory("Priority");
        TapText(editor.Values(), "Important");
        editor.accept();
    });
    QTest::mouseClick(page.EditButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.asked, QStringList{"Do You want to save changes to current record?"});
    EXPECT_EQ(page.RecordListWidget()->currentItem()->text(), selected);
    const int index = browser->Records().IndexOfPath(data + selected);
    ASSERT_GE(index, 0);
    EXPECT_TRUE(browser->Records().Record(index).info.contains("[Priority]\nImportant\nNormal\n"));
}

} // namespace
