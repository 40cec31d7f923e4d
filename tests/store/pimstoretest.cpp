#include "store/pimstore.h"

#include <gtest/gtest.h>

namespace {

class CFakeSource : public MPimSource
{
public:
    std::vector<SPimTask> tasks;
    std::vector<SPimContact> contacts;
    mutable int reads = 0;

    std::vector<SPimTask> Tasks() const override
    {
        ++reads;
        return tasks;
    }
    std::vector<SPimContact> Contacts() const override
    {
        ++reads;
        return contacts;
    }
};

SPimTask Task(const char* subject)
{
    return SPimTask{QString::fromUtf8(subject), {}};
}

class PimStoreTest : public testing::Test
{
protected:
    CFakeSource m_source;
    CPimStore m_store{m_source};
};

TEST_F(PimStoreTest, FillTasksTrimsSkipsEmptyAndDuplicatesAndEmptiesTheList)
{
    m_source.tasks = {Task("  Call back  "), Task("Call back"),   Task("   "), Task(""),
                      Task("call back"),     Task("Write report")};
    QStringList list{"stale"};
    m_store.FillTasks(list);
    EXPECT_EQ(list, (QStringList{"Call back", "call back", "Write report"}));
}

TEST_F(PimStoreTest, ListStoreTasksKeepsOneEmptySubject)
{
    m_source.tasks = {Task(""), Task("A "), Task("  "), Task("A")};
    QStringList list{"stale"};
    m_store.ListStoreTasks(list);
    EXPECT_EQ(list, (QStringList{"", "A"}));
}

TEST_F(PimStoreTest, EmptyStoreGivesEmptyLists)
{
    QStringList tasks{"stale"};
    m_store.FillTasks(tasks);
    EXPECT_TRUE(tasks.isEmpty());
    EXPECT_FALSE(m_store.TaskExistsInStore("Anything"));
    EXPECT_TRUE(m_store.TasksWithDates().empty());
}

TEST_F(PimStoreTest, FillContactsAppendsWithoutEmptyingAndSkipsEmptyAndDuplicates)
{
    m_source.contacts = {{"Ann", "", "Lee"},   {"", "", "Solo"},    {"", "", ""},
                         {" Ann", "", "Lee "}, {"Bob", "J", "Zed"}, {"Old", "", "Entry"}};
    QStringList list{"Old Entry"};
    m_store.FillContacts(list);
    EXPECT_EQ(list, (QStringList{"Old Entry", "Ann Lee", "Solo", "Bob J Zed"}));
}

TEST(PimStoreContactTextTest, JoinsNonEmptyPartsWithSingleSpaces)
{
    EXPECT_EQ(CPimStore::ContactText({"Ann", "", "Lee"}), "Ann Lee");
    EXPECT_EQ(CPimStore::ContactText({"", "", "  Lee "}), "Lee");
    EXPECT_EQ(CPimStore::ContactText({"", "Q", ""}), "Q");
    EXPECT_EQ(CPimStore::ContactText({" ", "", "\t"}), "");
}

TEST(PimStoreRestrictionTextTest, FormatsBothTextsInOrder)
{
    EXPECT_EQ(CPimStore::ExistenceRestrictions("Call back"),
              (QStringList{R"([Subject] > "Call back")", R"([Subject] = "Call back ")"}));
    // A placeholder-like subject is inserted as it stands.
    EXPECT_EQ(CPimStore::ExistenceRestrictions("50%1").front(), R"([Subject] > "50%1")");
}

TEST_F(PimStoreTest, TaskExistsAnswersTheTwoRestrictionsOverStoredSubjects)
{
    // Deleted task: nothing sorts after it and nothing equals it with a trailing space.
    m_source.tasks = {Task("Alpha"), Task("Call back")};
    EXPECT_FALSE(m_store.TaskExistsInStore("Call back"));
    EXPECT_FALSE(m_store.TaskExistsInStore("Zulu"));
    // The second restriction finds a task stored with a trailing space.
    m_source.tasks = {Task("Call back ")};
    EXPECT_TRUE(m_store.TaskExistsInStore("Call back"));
    // The first restriction finds any task that sorts after the subject: the store's
    // own meaning of the text, answered as the store would.
    m_source.tasks = {Task("Dinner")};
    EXPECT_TRUE(m_store.TaskExistsInStore("Call back"));
    EXPECT_FALSE(m_store.TaskExistsInStore("dinner"));
}

TEST_F(PimStoreTest, EveryCallReadsTheSourceAfresh)
{
    QStringList list;
    m_store.FillTasks(list);
    m_source.tasks = {Task("New")};
    m_store.FillTasks(list);
    EXPECT_EQ(list, QStringList{"New"});
    EXPECT_EQ(m_source.reads, 2);
}

TEST_F(PimStoreTest, TasksWithDatesTrimsAndSkipsEmptyButKeepsRepeatedSubjects)
{
    const QDateTime monday(QDate(2026, 3, 2), QTime(9, 0));
    const QDateTime friday(QDate(2026, 3, 6), QTime(17, 30));
    m_source.tasks = {{" Review ", monday}, {"  ", friday}, {"Review", friday}, {"Undated", {}}};
    const std::vector<SPimTask> tasks = m_store.TasksWithDates();
    ASSERT_EQ(tasks.size(), 3u);
    EXPECT_EQ(tasks[0].subject, "Review");
    EXPECT_EQ(tasks[0].date, monday);
    EXPECT_EQ(tasks[1].date, friday);
    EXPECT_FALSE(tasks[2].date.isValid());
}

} // namespace
