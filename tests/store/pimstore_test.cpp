#include "store/pimfilesource.h"
#include "store/pimstore.h"
#include "support/fakepimsource.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PimStoreTest : public testing::Test
{
protected:
    CFakePimSource m_source;
    CPimStore m_store{m_source};
};

TEST_F(PimStoreTest, TaskListsTrimAndSkipEmptyAndRepeatedSubjects)
{
    EXPECT_TRUE(m_store.FillTasks().isEmpty());
    // Every call reads the source afresh; repeated subjects keep their dates.
    const QDateTime monday(QDate(2026, 3, 2), QTime(9, 0));
    const QDateTime friday(QDate(2026, 3, 6), QTime(17, 30));
    m_source.tasks = {{"  Call back  ", monday}, {"Call back", friday}, {"   ", {}}, {"", {}},
                      {"call back", {}},         {"Write report", {}}};
    EXPECT_EQ(m_store.FillTasks(), (QStringList{"Call back", "call back", "Write report"}));
    EXPECT_EQ(m_store.ListStoreTasks(),
              (QStringList{"Call back", "", "call back", "Write report"}));
    const std::vector<SPimTask> tasks = m_store.TasksWithDates();
    ASSERT_EQ(tasks.size(), 4u);
    EXPECT_EQ(tasks[0].subject, "Call back");
    EXPECT_EQ(tasks[0].date, monday);
    EXPECT_EQ(tasks[1].date, friday);
    EXPECT_FALSE(tasks[2].date.isValid());
}

TEST_F(PimStoreTest, ContactsSkipEmptyAndRepeatedTexts)
{
    m_source.contacts = {{"Ann", "", "Lee"},   {"", "", "Solo"},    {" ", "", "\t"},
                         {" Ann", "", "Lee "}, {"Bob", "J", "Zed"}, {"Ann", "", "Lee"}};
    EXPECT_EQ(m_store.FillContacts(), (QStringList{"Ann Lee", "Solo", "Bob J Zed"}));
}

TEST_F(PimStoreTest, TaskExistsOnlyForTheSameSubjectIgnoringCaseAndSpaces)
{
    m_source.tasks = {{"Alpha", {}}, {"Call back ", {}}, {"Dinner", {}}};
    for (const auto& [subject, exists] : std::initializer_list<std::pair<const char*, bool>>{
             {"call BACK", true}, {" Alpha", true}, {"Alp", false}, {"Beta", false}, {"", false}})
        EXPECT_EQ(m_store.TaskExistsInStore(subject), exists) << subject;
}

QByteArray Card(const QByteArray& n)
{
    return "BEGIN:VCARD\r\nN:" + n + "\r\nEND:VCARD\r\n";
}

QByteArray TodoCalendar(const QByteArray& summary)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\nBEGIN:VTODO\r\nUID:" + summary +
           "\r\nSUMMARY:" + summary + "\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
}

TEST(PimFileSourceTest, TheFolderIsTheEnvironmentsElseTheSettingsElseInTheHome)
{
    EXPECT_EQ(CPimFileSource::ResolveFolder("/env", "/set", "/home"), "/env");
    EXPECT_EQ(CPimFileSource::ResolveFolder("", "/set", "/home"), "/set");
    EXPECT_EQ(CPimFileSource::ResolveFolder("", "", "/home"), "/home/pim");
    const CPimFileSource missing("/nonexistent/parlantographer-pim");
    EXPECT_TRUE(missing.Tasks().empty() && missing.Contacts().empty());
}

TEST(PimFileSourceTest, ReadsMatchingFilesRecursivelyInPathOrderAndSkipsOthers)
{
    QTemporaryDir dir;
    for (const auto& [path, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"/contacts/b.vcf", Card("Zed;Bob;;;") + Card("Lee;Ann;;;")},
             {"/contacts/a/deeper/c.VCF", Card("Adams;Cy;;;")},
             {"/contacts/notes.txt", Card("Not;Read;;;")},
             {"/contacts/broken.vcf", QByteArray("\xff\xfe\x00garbage", 10)},
             {"/tasks/2.ics", TodoCalendar("Second")},
             {"/tasks/1.ics", TodoCalendar("First")},
             {"/tasks/corrupt.ics", "BEGIN:NOTHING\r\n\x01\x02"},
             {"/tasks/sub/3.ics", TodoCalendar("Third")},
             {"/contacts.vcf", Card("Outside;The;;;")}})
        ASSERT_TRUE(WriteAll(dir.path() + path, bytes)) << path;
    const CPimFileSource source(dir.path());
    const CPimStore store(source);
    EXPECT_EQ(store.FillContacts(), (QStringList{"Cy Adams", "Bob Zed", "Ann Lee"}));
    EXPECT_EQ(store.FillTasks(), (QStringList{"First", "Second", "Third"}));
}

// A task file nested too deep for the calendar library is skipped with a message that names it,
// so the user can find the file among many.
TEST(PimFileSourceTest, ATaskFileNestedTooDeepIsNamedWhenSkipped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(
        WriteAll(dir.path() + "/tasks/deep.ics", QByteArray("BEGIN:VCALENDAR\r\n").repeated(100)));
    ASSERT_TRUE(WriteAll(dir.path() + "/tasks/ok.ics", TodoCalendar("Kept")));
    const CPimFileSource source(dir.path());
    const CPimStore store(source);
    testing::internal::CaptureStderr();
    const QStringList tasks = store.FillTasks();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(tasks, QStringList{"Kept"});
    EXPECT_NE(said.find((dir.path() + "/tasks/deep.ics").toStdString()), std::string::npos) << said;
}

TEST(PimFileSourceTest, UnreadableFileIsSkippedAndTheRestRead)
{
    QTemporaryDir dir;
    const QString locked = dir.path() + "/contacts/a.vcf";
    ASSERT_TRUE(WriteAll(locked, Card("Lee;Ann;;;")));
    ASSERT_TRUE(WriteAll(dir.path() + "/contacts/b.vcf", Card("Zed;Bob;;;")));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (QFile probe(locked); probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "permissions are not enforced for this user";
    const auto contacts = CPimFileSource(dir.path()).Contacts();
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].family, "Zed");
}

} // namespace
