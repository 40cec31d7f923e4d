#include "store/pimstore.h"
#include "support/fakepimsource.h"

#include <gtest/gtest.h>

namespace {

SPimTask Task(const char* subject, const QDateTime& date = {})
{
    return SPimTask{QString::fromUtf8(subject), date};
}

class PimStoreTest : public testing::Test
{
protected:
    CFakePimSource m_source;
    CPimStore m_store{m_source};
};

TEST_F(PimStoreTest, TaskListsTrimAndSkipEmptyAndRepeatedSubjects)
{
    EXPECT_TRUE(m_store.FillTasks().isEmpty());
    EXPECT_TRUE(m_store.TasksWithDates().empty());

    // Every call reads the source afresh.
    const QDateTime monday(QDate(2026, 3, 2), QTime(9, 0));
    const QDateTime friday(QDate(2026, 3, 6), QTime(17, 30));
    m_source.tasks = {Task("  Call back  ", monday),
                      Task("Call back", friday),
                      Task("   "),
                      Task(""),
                      Task("call back"),
                      Task("Write report")};
    EXPECT_EQ(m_store.FillTasks(), (QStringList{"Call back", "call back", "Write report"}));
    EXPECT_EQ(m_store.ListStoreTasks(),
              (QStringList{"Call back", "", "call back", "Write report"}));

    // Repeated subjects are all kept with their dates.
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
    m_source.tasks = {Task("Alpha"), Task("Call back "), Task("Dinner")};
    const std::pair<const char*, bool> cases[] = {
        {"Call back", true}, {"call BACK", true}, {" Alpha", true}, {"Alp", false},
        {"Beta", false},     {"Zulu", false},     {"Call", false},  {"", false},
    };
    for (const auto& [subject, exists] : cases)
        EXPECT_EQ(m_store.TaskExistsInStore(subject), exists) << subject;
}

} // namespace
