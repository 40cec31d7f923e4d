#include "desktoppim/desktoppimsource.h"
#include "edsteststore.h"
#include "store/pimstore.h"
#include "support/qtsupport.h"

#include <QTest>
#include <QTimeZone>
#include <atomic>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

QByteArray Card(const QByteArray& lines)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n";
}

QByteArray Todo(const QByteArray& lines)
{
    static int count = 0;
    return "BEGIN:VTODO\r\nUID:task-" + QByteArray::number(++count) + "\r\n" + lines +
           "END:VTODO\r\n";
}

class DesktopPimSourceTest : public ::testing::Test
{
protected:
    CEdsTestStore service;
};

TEST_F(DesktopPimSourceTest, EveryEnabledBookGivesItsContactsNamedAsTheFolderNamesThem)
{
    const std::string personal = CEdsTestStore::kPersonalBook;
    service.AddContact(personal, Card("N:\xC3\x85ngstr\xC3\xB6m;Zo\xC3\xAB;;;\r\n"
                                      "FN:Dr Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m\r\n"));
    service.AddContact(personal, Card("N:Lovelace;Ada;King;;\r\n"));
    service.AddContact(personal, Card("N: Lee ; Ann ;;;\r\n"));
    service.AddContact(personal, Card("FN:Grace Hopper\r\n"));          // no structured name
    service.AddContact(personal, Card("EMAIL:nobody@example.org\r\n")); // no name at all
    const std::string work = service.AddBook("Work");
    service.AddContact(work, Card("N:\xC3\x85ngstr\xC3\xB6m;Zo\xC3\xAB;;;\r\n"));
    service.AddContact(work, Card("N:Chan;;;;\r\n"));
    const std::string old = service.AddBook("Old");
    service.AddContact(old, Card("N:Hidden;Harry;;;\r\n"));
    service.Disable(old);

    const CDesktopPimSource source;
    EXPECT_THAT(CPimStore(source).FillContacts(),
                ElementsAre("Ada King Lovelace", "Ann Lee", "Chan", "Grace Hopper",
                            u"Zo\u00EB \u00C5ngstr\u00F6m"_qs));
    EXPECT_TRUE(source.Answered());
    EXPECT_EQ(source.Problem(), QString());
}

TEST_F(DesktopPimSourceTest, TasksCarryTheDateTheTasksPageFiltersByAndTheStoreFindsThem)
{
    const std::string personal = CEdsTestStore::kPersonalTasks;
    const std::string newYork = service.AddTimeZone(personal, "America/New_York");
    service.AddTask(personal, Todo("SUMMARY:Call the plumber\r\nDUE;VALUE=DATE:20250301\r\n"));
    service.AddTask(personal, Todo("SUMMARY:  Write report  \r\nDUE:20250302T150000Z\r\n"));
    service.AddTask(personal, Todo("SUMMARY:Book flights\r\nDTSTART:20250303T090000\r\n"));
    service.AddTask(personal, Todo(QByteArray("SUMMARY:Pay rent\r\nDUE;TZID=") + newYork.c_str() +
                                   ":20250304T080000\r\n"));
    service.AddTask(personal, Todo("SUMMARY:Someday\r\n"));
    service.AddTask(service.AddTaskList("Home"), Todo("SUMMARY:Water plants\r\n"));

    const CDesktopPimSource source;
    const CPimStore store(source);
    std::map<QString, QDateTime> dates;
    for (const SPimTask& task : store.TasksWithDates())
        dates[task.subject] = task.date;
    const std::map<QString, QDateTime> expected{
        {"Call the plumber", QDate(2025, 3, 1).startOfDay()},
        {"Write report", QDateTime(QDate(2025, 3, 2), QTime(15, 0), Qt::UTC).toLocalTime()},
        {"Book flights", QDateTime(QDate(2025, 3, 3), QTime(9, 0))},
        {"Pay rent",
         QDateTime(QDate(2025, 3, 4), QTime(8, 0), QTimeZone("America/New_York")).toLocalTime()},
        {"Someday", QDateTime()},
        {"Water plants", QDateTime()},
    };
    EXPECT_EQ(dates, expected);
    EXPECT_TRUE(store.TaskExistsInStore(" write REPORT"));
    EXPECT_TRUE(store.TaskExistsInStore("Water plants"));
    EXPECT_FALSE(store.TaskExistsInStore("Write"));
}

TEST_F(DesktopPimSourceTest, ChangesMadeWhileRunningReachTheListsAndTheHandler)
{
    const std::string personal = CEdsTestStore::kPersonalBook;
    const std::string ann = service.AddContact(personal, Card("N:Lee;Ann;;;\r\n"));
    const std::string work = service.AddBook("Work");
    service.AddContact(work, Card("N:Chan;Bo;;;\r\n"));
    CDesktopPimSource source;
    ASSERT_THAT(CPimStore(source).FillContacts(), ElementsAre("Ann Lee", "Bo Chan"));
    std::atomic<int> told = 0;
    source.SetChangeHandler([&told] { ++told; });

    service.AddContact(personal, Card("N:Okafor;Chidi;;;\r\n"));
    service.RemoveContact(personal, ann);
    service.Disable(work);
    service.AddContact(service.AddBook("Club"), Card("N:Sato;Dai;;;\r\n"));
    service.AddTask(CEdsTestStore::kPersonalTasks, Todo("SUMMARY:Call Chidi\r\n"));
    const auto now = [&] {
        return CPimStore(source).FillContacts() + CPimStore(source).FillTasks();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return now().size() == 3; }, 10000));
    EXPECT_THAT(now(), ElementsAre("Chidi Okafor", "Dai Sato", "Call Chidi"));
    EXPECT_GT(told, 0);
}

} // namespace
