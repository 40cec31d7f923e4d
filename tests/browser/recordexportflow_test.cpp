#include "browser/exportdlg.h"
#include "browser/recordactions.h"
#include "browsertestsupport.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>

namespace {

class RecordExportFlow : public BrowserTest
{
protected:
    // Exports the selected records with the dialog set to `format` and `folder`.
    void Export(EExportFormat format, const QString& folder)
    {
        WhenModal<CExportDlg>([format, folder](CExportDlg& dialog) {
            dialog.FormatList()->setCurrentIndex(
                dialog.FormatList()->findData(static_cast<int>(format)));
            dialog.FolderField()->setText(folder);
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        Page().Actions()->ExportAction()->trigger();
    }

    // Two one-second memos in the list, both selected, and an empty folder to export to.
    void OpenTwoSelected()
    {
        Record("01042027_080000.wav", Info("Priority", "Important", "", ""), 1);
        Record("01032027_080000.wav", Info("", "", "", "Bo Chan"), 1);
        ASSERT_TRUE(QDir().mkpath(out));
        Open();
        Page().RecordListWidget()->selectAll();
    }

    QString out = home.path() + "/out/";
};

// Two memos selected export to one folder, each under its own name, and the folder and format
// are offered again next time; an existing file is asked about, and No leaves it as it was.
TEST_F(RecordExportFlow, SeveralMemosGoToOneFolderAndNothingIsReplacedUnasked)
{
    OpenTwoSelected();
    Export(EExportFormat::Flac, out);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join('|').toStdString();
    for (const QString name : {"01042027_080000.flac", "01032027_080000.flac"})
        EXPECT_TRUE(ReadAll(out + name).startsWith("fLaC")) << name.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(settings.ExportFormat(), "flac");
    EXPECT_EQ(QDir(settings.ExportFolder()), QDir(out));

    ASSERT_TRUE(WriteAll(out + "01032027_080000.flac", "mine"));
    prompts.answer = false;
    WhenModal<CExportDlg>([this](CExportDlg& dialog) {
        EXPECT_EQ(dialog.Format(), EExportFormat::Flac);
        EXPECT_EQ(QDir(dialog.Folder()), QDir(out));
        dialog.reject();
    });
    Page().Actions()->ExportAction()->trigger();
    Export(EExportFormat::Flac, out);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].contains("01032027_080000.flac"));
    EXPECT_EQ(prompts.defaults[0], EDefaultAnswer::No);
    EXPECT_EQ(ReadAll(out + "01032027_080000.flac"), "mine");
}

// A memo that cannot be exported is named with the reason; the others are exported all the same,
// and nothing claims the failed one was written.
TEST_F(RecordExportFlow, EachFailureIsNamedWithItsReason)
{
    OpenTwoSelected();
    // Gone since the list was read.
    ASSERT_TRUE(QFile::remove(data + "01032027_080000.wav"));

    Export(EExportFormat::Wav, out);
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.told[0].startsWith("Not exported:\n\n01032027_080000.wav: "))
        << prompts.told[0].toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"01042027_080000.wav"});
}

} // namespace
