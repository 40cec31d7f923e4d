#include "browser/addnewgroupdlg.h"
#include "browser/addnewtagdlg.h"
#include "browser/copygroupdlg.h"
#include "browser/renamegroup.h"
#include "browser/renametag.h"
#include "browser/tagmanagerdlg.h"
#include "browsertestsupport.h"
#include "store/settingsstore.h"
#include "store/tagcatalogue.h"
#include "support/qtsupport.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kCatalogue = "[Priority]\nImportant\nNormal\nInessential\n[Work]\nReport\nPlan\n"
                              "[Work01]\nx\n";

class TagManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteAll(m_catalogue.Path(), kCatalogue));
        for (int slot = 0; slot < 4; ++slot)
            ASSERT_TRUE(m_settings.SetSlot(slot, slot < 2 ? u"Work"_qs : u"Task"_qs));
    }

    std::unique_ptr<CTagManagerDlg> Open()
    {
        auto dialog = std::make_unique<CTagManagerDlg>(
            CTagManagerDlg::SContext{m_catalogue, m_settings, m_prompts});
        dialog->show();
        return dialog;
    }

    // Clicks the button, types `name` into the name dialog it opens, and presses OK; the
    // name dialog is then cancelled if a refusal kept it open.
    template <typename Dialog>
    void Name(CTagManagerDlg& manager, const char* button, const QString& name)
    {
        WhenModal<Dialog>([name](Dialog& dialog) {
            dialog.NameEdit()->setText(name);
            QTest::keyClick(dialog.NameEdit(), Qt::Key_Return);
            if (dialog.isVisible())
                dialog.reject();
        });
        QTest::mouseClick(manager.Button(QString::fromLatin1(button)), Qt::LeftButton);
    }

    static void Select(QListWidget* list, const QString& text)
    {
        const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << text.toStdString();
        list->setCurrentItem(items.first());
    }

    QByteArray File() const { return ReadAll(m_catalogue.Path()); }

    QTemporaryDir m_dir;
    CTagCatalogue m_catalogue{m_dir.path()};
    CSettingsStore m_settings{m_dir.filePath(u"settings.ini"_qs)};
    CScriptedPrompts m_prompts;
};

TEST_F(TagManagerTest, CancelAfterSeveralChangesRestoresTheFileByteForByte)
{
    auto manager = Open();
    Name<CAddNewGroupDlg>(*manager, "addGroup", u" Home "_qs);
    Select(manager->GroupList(), u"Work"_qs);
    Name<CRenameGroup>(*manager, "renameGroup", u"Job"_qs);
    Name<CCopyGroupDlg>(*manager, "copyGroup", u"Job01"_qs);
    Select(manager->GroupList(), u"Priority"_qs);
    Select(manager->TagList(), u"Normal"_qs);
    QTest::mouseClick(manager->Button(u"moveUp"_qs), Qt::LeftButton);
    QTest::mouseClick(manager->Button(u"deleteTag"_qs), Qt::LeftButton);
    Name<CAddNewTagDlg>(*manager, "addTag", u"Urgent"_qs);
    EXPECT_EQ(File(), "[Priority]\nImportant\nInessential\nUrgent\n[Job]\nReport\nPlan\n"
                      "[Work01]\nx\n[Home]\n[Job01]\nReport\nPlan\n");
    EXPECT_TRUE(m_prompts.told.isEmpty()) << m_prompts.told.join(u'|').toStdString();

    manager->reject();
    EXPECT_EQ(File(), kCatalogue);
    EXPECT_FALSE(QFile::exists(m_catalogue.BackupPath()));
    EXPECT_EQ(m_settings.Slot(0), u"Work"_qs);
    EXPECT_TRUE(m_prompts.told.isEmpty());
}

TEST_F(TagManagerTest, RenamingAGroupTwoSlotsShowRenamesBothOnOk)
{
    auto manager = Open();
    Select(manager->GroupList(), u"Work"_qs);
    Name<CRenameGroup>(*manager, "renameGroup", u"Job"_qs);
    EXPECT_EQ(manager->GroupList()->currentItem()->text(), u"Job"_qs);
    // Deleting the last group selects the one before it.
    Select(manager->GroupList(), u"Work01"_qs);
    QTest::mouseClick(manager->Button(u"deleteGroup"_qs), Qt::LeftButton);
    EXPECT_EQ(m_prompts.asked,
              QStringList{u"Do you realy want to delete \"Work01\" Tag Group?"_qs});
    EXPECT_EQ(manager->GroupList()->currentItem()->text(), u"Job"_qs);
    EXPECT_EQ(m_settings.Slot(0), u"Work"_qs); // nothing is stored before OK
    manager->accept();
    EXPECT_EQ(m_settings.Slot(0), u"Job"_qs);
    EXPECT_EQ(m_settings.Slot(1), u"Job"_qs);
    EXPECT_EQ(m_settings.Slot(2), u"Task"_qs);
    EXPECT_FALSE(QFile::exists(m_catalogue.BackupPath()));
}

TEST_F(TagManagerTest, ADeletedGroupsSlotsAreRepairedOnOk)
{
    auto manager = Open();
    Select(manager->GroupList(), u"Work"_qs);
    QTest::mouseClick(manager->Button(u"deleteGroup"_qs), Qt::LeftButton);
    manager->accept();
    EXPECT_EQ(m_settings.Slot(0), u"Priority"_qs);
    EXPECT_EQ(m_settings.Slot(1), u"None"_qs);
}

// Which names are refused is the store's; here, each name dialog shows its refusal.
TEST_F(TagManagerTest, EveryRefusedNameKeepsItsDialogOpenAndTheFileUntouched)
{
    auto manager = Open();
    Select(manager->GroupList(), u"Work"_qs);
    const auto expectRefusal = [&](const std::function<void()>& act, const QString& message) {
        m_prompts.told.clear();
        act();
        EXPECT_EQ(m_prompts.told, QStringList{message});
        EXPECT_EQ(File(), kCatalogue);
    };
    const QString again = u"\nPlease enter another name."_qs;
    const QString control = u" can not contain line breaks, tabs or other control characters."_qs;
    expectRefusal([&] { Name<CAddNewGroupDlg>(*manager, "addGroup", u"Evil\tInjected"_qs); },
                  u"Group name"_qs + control + again);
    expectRefusal([&] { Name<CAddNewGroupDlg>(*manager, "addGroup", u"   "_qs); },
                  u"Please, enter a name!"_qs);
    expectRefusal([&] { Name<CCopyGroupDlg>(*manager, "copyGroup", u"Work01"_qs); },
                  CTagCatalogue::kMsgGroupExists);
    expectRefusal([&] { Name<CRenameGroup>(*manager, "renameGroup", u"Work"_qs); },
                  CTagCatalogue::kMsgGroupExists);
    expectRefusal([&] { Name<CAddNewTagDlg>(*manager, "addTag", u"Two\u2029Lines"_qs); },
                  u"Tag name"_qs + control + again);
    Select(manager->TagList(), u"Report"_qs);
    expectRefusal([&] { Name<CRenameTag>(*manager, "renameTag", u"Report"_qs); },
                  CTagCatalogue::kMsgTagExists);
    expectRefusal([&] { Name<CRenameTag>(*manager, "renameTag", u"Re]port"_qs); },
                  CTagCatalogue::kMsgTagBrackets);
    // Moving the first tag up does nothing and says nothing.
    m_prompts.told.clear();
    QTest::mouseClick(manager->Button(u"moveUp"_qs), Qt::LeftButton);
    EXPECT_TRUE(m_prompts.told.isEmpty());
    EXPECT_EQ(File(), kCatalogue);
    manager->accept();
}

TEST_F(TagManagerTest, ACancelThatCannotRestoreSaysSo)
{
    auto manager = Open();
    Name<CAddNewGroupDlg>(*manager, "addGroup", u"Home"_qs);
    // Something that cannot be read or replaced stands where the file was.
    ASSERT_TRUE(QFile::remove(m_catalogue.Path()));
    ASSERT_TRUE(QDir().mkdir(m_catalogue.Path()));
    manager->reject();
    EXPECT_TRUE(QFile::exists(m_catalogue.BackupPath()));
    ASSERT_EQ(m_prompts.told.size(), 1);
    EXPECT_TRUE(
        m_prompts.told.first().startsWith(u"The changes to the tag groups could not be undone"_qs));
}

// The command line changes the catalogue while the window is open, before, between and after
// the window's own changes: Cancel undoes the window's changes only, and says so. A change of
// the window that the command line changed again stays as the command line left it.
TEST_F(TagManagerTest, CancelUndoesItsOwnChangesAndKeepsAnotherProgramsChanges)
{
    const auto cli = [this](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PARLANTOGRAPHER_HOME"_qs, m_dir.path());
        process.setProcessEnvironment(environment);
        process.start(QString::fromLatin1(PARLANTOGRAPHER_CLI),
                      QStringList{u"tags"_qs} + arguments);
        ASSERT_TRUE(process.waitForFinished(10000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    };
    auto manager = Open();
    cli({u"add"_qs, u"Priority"_qs, u"Later"_qs});
    Name<CAddNewTagDlg>(*manager, "addTag", u"Urgent"_qs);
    cli({u"add"_qs, u"Work"_qs, u"Memo"_qs});
    Select(manager->GroupList(), u"Work01"_qs);
    Name<CRenameGroup>(*manager, "renameGroup", u"Play"_qs);
    cli({u"add-group"_qs, u"Home"_qs});
    manager->reject();
    EXPECT_EQ(File(), "[Priority]\nImportant\nNormal\nInessential\nLater\n[Work]\nReport\nPlan\n"
                      "Memo\n[Work01]\nx\n[Home]\n");
    EXPECT_EQ(m_prompts.told, QStringList{CTagManagerDlg::TheirsKeptText()});
    EXPECT_FALSE(QFile::exists(m_catalogue.BackupPath()));

    m_prompts.told.clear();
    manager = Open();
    Name<CAddNewTagDlg>(*manager, "addTag", u"Urgent"_qs);
    cli({u"rename"_qs, u"Priority"_qs, u"Urgent"_qs, u"Vital"_qs});
    manager->reject();
    EXPECT_TRUE(File().startsWith("[Priority]\nImportant\nNormal\nInessential\nLater\nVital\n"));
    EXPECT_EQ(m_prompts.told, QStringList{CTagManagerDlg::TheirsKeptText() + u' ' +
                                          CTagManagerDlg::ConflictText()});
}

} // namespace
