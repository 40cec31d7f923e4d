#include "browser/editrecordinfodlg.h"
#include "browser/messageboxprompts.h"
#include "browsertestsupport.h"
#include "store/recordinfo.h"
#include "store/recordinfoedit.h"
#include "store/recordinfofile.h"
#include "store/tagcatalogue.h"
#include "support/tap.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kHead = "*ParlantographerInfo*\n[[Tags]]\n";

class EditRecordInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pim.tasks = {{u"Call"_qs, {}}, {u"Plan"_qs, {}}};
        m_pim.contacts = {{u"Callum"_qs, {}, {}}, {u"Ann"_qs, {}, u"Lee"_qs}};
        ASSERT_TRUE(
            WriteAll(m_catalogue.Path(), "[Priority]\nImportant\nNormal\n[Work]\nReport\n"));
    }

    QString Record(const QString& name, const QByteArray& info, int samples = 800)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteAll(path, Wav(info, samples)));
        return path;
    }

    void Open(const QStringList& paths, int current = 0)
    {
        std::vector<std::filesystem::path> native;
        for (const QString& path : paths)
            native.push_back(Native(path));
        m_dialog = std::make_unique<CEditRecordInfoDlg>(
            CEditRecordInfoDlg::SContext{m_audio, m_catalogue, m_pim, m_prompts}, native, current);
        m_dialog->resize(480, 640);
        m_dialog->show();
    }

    // A tap on a value of a category.
    void Tap(const QString& category, const QString& value)
    {
        m_dialog->SelectCategory(category);
        TapText(m_dialog->Values(), value);
    }

    QStringList Selected() const
    {
        QStringList texts;
        for (const QListWidgetItem* item : m_dialog->Values()->selectedItems())
            texts << item->text();
        return texts;
    }

    static QByteArray InfoOf(const QString& path)
    {
        const QByteArray area = ReadAll(path).mid(testsupport::kInfoAreaAt, 1024);
        return area.left(area.indexOf('\0'));
    }

    QTemporaryDir m_dir;
    CTagCatalogue m_catalogue{m_dir.path()};
    CAudioManager m_audio;
    CFakePimSource m_pim;
    CScriptedPrompts m_prompts;
    std::unique_ptr<CEditRecordInfoDlg> m_dialog;
};

TEST_F(EditRecordInfoTest, ShowsTheRecordAndAddsATagOfAGroupItLacks)
{
    const QString path =
        Record(u"01042027_080500.wav"_qs,
               kHead + "[Priority]\nNormal\n[[Tasks]]\n[[Contacts]]\nCallum\n", 65 * 8000);
    Open({path});
    EXPECT_EQ(m_dialog->FileNameText(), u"01042027_080500.wav"_qs);
    EXPECT_EQ(m_dialog->DateText(), u"04-01-2027 08:05:00"_qs); // local, as the name says
    EXPECT_EQ(m_dialog->DurationText(), u"1:05"_qs);
    QStringList categories;
    for (int row = 0; row < m_dialog->Categories()->count(); ++row)
        categories << m_dialog->Categories()->item(row)->text();
    EXPECT_EQ(categories, (QStringList{u"Contacts"_qs, u"Priority"_qs, u"Tasks"_qs, u"Work"_qs}));
    EXPECT_EQ(Selected(), QStringList{u"Callum"_qs}); // the first category the record uses
    EXPECT_FALSE(m_dialog->PrevButton()->isEnabled());
    EXPECT_FALSE(m_dialog->NextButton()->isEnabled());

    Tap(u"Work"_qs, u"Report"_qs);
    EXPECT_EQ(Selected(), QStringList{u"Report"_qs});
    EXPECT_EQ(m_dialog->Mark(u"Work"_qs), 1);
    Tap(u"Priority"_qs, u"Normal"_qs); // the group left without tags goes on save
    m_dialog->accept();
    EXPECT_EQ(m_prompts.asked, QStringList{u"Do You want to save changes to current record?"_qs});
    EXPECT_EQ(InfoOf(path), kHead + "[Work]\nReport\n[[Tasks]]\n[[Contacts]]\nCallum\n");
}

TEST_F(EditRecordInfoTest, TappingTheTaskAgainClearsItAndLeavesTheContactsAlone)
{
    const QString path =
        Record(u"memo.wav"_qs, kHead + "[[Tasks]]\nCall\n[[Contacts]]\nCallum\nAnn Lee\n");
    Open({path});
    m_dialog->SelectCategory(u"Tasks"_qs);
    EXPECT_EQ(Selected(), QStringList{u"Call"_qs});
    Tap(u"Tasks"_qs, u"Plan"_qs); // a second task replaces the first
    EXPECT_EQ(Selected(), QStringList{u"Plan"_qs});
    Tap(u"Tasks"_qs, u"Plan"_qs);
    EXPECT_TRUE(Selected().isEmpty());
    EXPECT_EQ(m_dialog->Mark(u"Tasks"_qs), 0);
    Tap(u"Contacts"_qs, u"Ann Lee"_qs); // removes the contact
    EXPECT_EQ(Selected(), QStringList{u"Callum"_qs});
    m_dialog->accept();
    EXPECT_EQ(InfoOf(path), kHead + "[[Tasks]]\n[[Contacts]]\nCallum\n");
}

TEST_F(EditRecordInfoTest, PrevAndNextAskToSaveAndNoKeepsTheFile)
{
    const QByteArray info = kHead + "[[Tasks]]\n[[Contacts]]\n";
    const QStringList paths{Record(u"a.wav"_qs, info), Record(u"b.wav"_qs, info),
                            Record(u"c.wav"_qs, info)};
    Open(paths);
    Tap(u"Contacts"_qs, u"Callum"_qs);
    m_prompts.answer = false;
    QTest::mouseClick(m_dialog->NextButton(), Qt::LeftButton);
    EXPECT_EQ(m_prompts.asked.size(), 1);
    EXPECT_EQ(InfoOf(paths[0]), info);
    EXPECT_EQ(m_dialog->FileNameText(), u"b.wav"_qs);

    Tap(u"Contacts"_qs, u"Ann Lee"_qs);
    m_prompts.answer = true;
    QTest::mouseClick(m_dialog->NextButton(), Qt::LeftButton);
    EXPECT_EQ(InfoOf(paths[1]), kHead + "[[Tasks]]\n[[Contacts]]\nAnn Lee\n");
    QTest::mouseClick(m_dialog->NextButton(), Qt::LeftButton); // nothing changed: no question
    EXPECT_EQ(m_dialog->FileNameText(), u"a.wav"_qs);          // from the last to the first
    QTest::mouseClick(m_dialog->PrevButton(), Qt::LeftButton);
    EXPECT_EQ(m_dialog->FileNameText(), u"c.wav"_qs);
    EXPECT_EQ(m_prompts.asked.size(), 2);
}

// Return in the real question box takes its default: for the save question, Yes.
TEST_F(EditRecordInfoTest, ReturnAtTheSaveQuestionSaves)
{
    const QString path = Record(u"memo.wav"_qs, kHead + "[[Tasks]]\n[[Contacts]]\n");
    CMessageBoxPrompts boxes;
    CEditRecordInfoDlg editor({m_audio, m_catalogue, m_pim, boxes}, {Native(path)}, 0);
    editor.show();
    editor.SelectCategory(u"Contacts"_qs);
    TapText(editor.Values(), u"Callum"_qs);
    WhenModal<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.text(), u"Do You want to save changes to current record?"_qs);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    editor.accept();
    EXPECT_EQ(InfoOf(path), kHead + "[[Tasks]]\n[[Contacts]]\nCallum\n");
}

TEST_F(EditRecordInfoTest, AFailedWriteIsReportedAndKeepsTheRecordOpen)
{
    const QString path = Record(u"memo.wav"_qs, kHead + "[[Tasks]]\n[[Contacts]]\n");
    Open({path});
    Tap(u"Contacts"_qs, u"Callum"_qs);
    // The file stops being a record the tagger can write to before the save.
    ASSERT_TRUE(WriteAll(path, "not a record"));
    m_dialog->accept();
    EXPECT_TRUE(m_dialog->isVisible());
    ASSERT_EQ(m_prompts.told.size(), 1);
    EXPECT_TRUE(m_prompts.told.first().startsWith(u"The record's information was not saved."_qs));
    EXPECT_EQ(ReadAll(path), "not a record");
    EXPECT_TRUE(m_dialog->WorkingCopy().contains(u"Callum"_qs));

    // A link put in the record's place is not followed, even to a record.
    const QString outside = Record(u"../outside.wav"_qs, kHead + "[[Tasks]]\n[[Contacts]]\n");
    const QByteArray kept = ReadAll(outside);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::link(outside, path));
    m_dialog->accept();
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(m_prompts.told.size(), 2);
    EXPECT_EQ(ReadAll(outside), kept);
    m_dialog->reject();
}

// Another program changes the record while the editor is open (a second process, as the
// command line's edit would): the save makes the editor's taps on what the record holds then,
// so both changes are in it.
TEST_F(EditRecordInfoTest, TheSaveKeepsWhatAnotherProgramChangedMeanwhile)
{
    const QString path = Record(u"memo.wav"_qs, kHead + "[Priority]\nNormal\n[[Tasks]]\n"
                                                        "[[Contacts]]\nCallum\n");
    Open({path});
    Tap(u"Priority"_qs, u"Important"_qs);
    Tap(u"Contacts"_qs, u"Callum"_qs); // removed here
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        CAudioManager audio;
        const auto written =
            RecordInfoFile::Update(audio, Native(path), [](const std::string& area) {
                QString block = RecordInfo::DecodeRecordInfo(area);
                RecordInfoEdit::AddContact(u"Zed"_qs, block);
                RecordInfoEdit::RemoveTag(u"Priority"_qs, u"Normal"_qs, block);
                return RecordInfo::EncodeRecordInfo(block);
            });
        ::_exit(written.status == RecordInfoFile::EStatus::Written ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    m_dialog->accept();
    EXPECT_EQ(InfoOf(path), kHead + "[Priority]\nImportant\n[[Tasks]]\n[[Contacts]]\nZed\n");
}

TEST_F(EditRecordInfoTest, AnAdditionThatDoesNotFitIsRefused)
{
    QByteArray contacts;
    for (char c = 'a'; c < 'e'; ++c)
        contacts += QByteArray(240, c) + '\n';
    const QByteArray info = kHead + "[[Tasks]]\n[[Contacts]]\n" + contacts;
    const QString path = Record(u"memo.wav"_qs, info);
    Open({path});
    Tap(u"Contacts"_qs, u"Callum"_qs);
    EXPECT_EQ(m_prompts.told,
              QStringList{u"Impossible to add this amount of information to the record."_qs});
    EXPECT_FALSE(Selected().contains(u"Callum"_qs));
    m_dialog->accept();
    EXPECT_TRUE(m_prompts.asked.isEmpty());
    EXPECT_EQ(InfoOf(path), info);
}

} // namespace
