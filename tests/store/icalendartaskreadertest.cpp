#include "store/icalendartaskreader.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

QByteArray Calendar(const QByteArray& body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

QByteArray Todo(const QByteArray& body)
{
    return "BEGIN:VTODO\r\nUID:" + QByteArray::number(qHash(body)) + "\r\n" + body +
           "END:VTODO\r\n";
}

QDateTime Utc(int y, int mo, int d, int h, int mi)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc());
}

TEST(ICalendarTaskReaderTest, TakesSubjectsOfEveryTodoInOrderAndIgnoresOtherComponents)
{
    const auto tasks = CICalendarTaskReader::Parse(
        Calendar(Todo("SUMMARY:First\r\n") +
                 "BEGIN:VEVENT\r\nUID:e\r\nSUMMARY:Meeting\r\nDTSTART:20260101T100000Z\r\n"
                 "END:VEVENT\r\n" +
                 Todo("SUMMARY:  Padded \r\n") + Todo("DESCRIPTION:no summary\r\n") +
                 Todo("SUMMARY:Gr\xC3\xBC\xC3\x9F"
                      "e\\, Freunde\r\n")));
    ASSERT_EQ(tasks.size(), 4u);
    EXPECT_EQ(tasks[0].subject, "First");
    EXPECT_EQ(tasks[1].subject.trimmed(), "Padded"); // the listings trim what the parser keeps
    EXPECT_EQ(tasks[2].subject, "");
    EXPECT_EQ(tasks[3].subject, QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"
                                                  "e, Freunde"));
}

TEST(ICalendarTaskReaderTest, DateIsDueElseStartInLocalTime)
{
    const QByteArray zone = "BEGIN:VTIMEZONE\r\nTZID:Test/Plus2\r\nBEGIN:STANDARD\r\n"
                            "DTSTART:19700101T000000\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0200\r\n"
                            "END:STANDARD\r\nEND:VTIMEZONE\r\n";
    const auto tasks = CICalendarTaskReader::Parse(Calendar(
        zone + Todo("SUMMARY:utc\r\nDTSTART:20260101T080000Z\r\nDUE:20260105T120000Z\r\n") +
        Todo("SUMMARY:start only\r\nDTSTART:20260203T071500Z\r\n") +
        Todo("SUMMARY:date only\r\nDUE;VALUE=DATE:20260310\r\n") +
        Todo("SUMMARY:zoned\r\nDUE;TZID=Test/Plus2:20260704T100000\r\n") +
        Todo("SUMMARY:floating\r\nDUE:20261224T183000\r\n") + Todo("SUMMARY:none\r\n") +
        Todo("SUMMARY:bad due\r\nDUE:notadate\r\nDTSTART:20260101T000000Z\r\n")));
    ASSERT_EQ(tasks.size(), 7u);
    for (const SPimTask& task : tasks) {
        if (task.date.isValid()) {
            EXPECT_EQ(task.date.timeSpec(), Qt::LocalTime) << task.subject.toStdString();
        }
    }
    EXPECT_EQ(tasks[0].date, Utc(2026, 1, 5, 12, 0));
    EXPECT_EQ(tasks[1].date, Utc(2026, 2, 3, 7, 15));
    EXPECT_EQ(tasks[2].date, QDate(2026, 3, 10).startOfDay());
    EXPECT_EQ(tasks[3].date, Utc(2026, 7, 4, 8, 0));
    EXPECT_EQ(tasks[4].date, QDateTime(QDate(2026, 12, 24), QTime(18, 30)));
    EXPECT_FALSE(tasks[5].date.isValid());
    EXPECT_EQ(tasks[6].date, Utc(2026, 1, 1, 0, 0));
}

TEST(ICalendarTaskReaderTest, FindsTodosInSeveralCalendarsAndBareTodos)
{
    EXPECT_EQ(CICalendarTaskReader::Parse(Todo("SUMMARY:bare\r\n")).size(), 1u);
    const auto tasks = CICalendarTaskReader::Parse(Calendar(Todo("SUMMARY:one\r\n")) +
                                                   Calendar(Todo("SUMMARY:two\r\n")));
    ASSERT_GE(tasks.size(), 1u);
    EXPECT_EQ(tasks[0].subject, "one");
}

TEST(ICalendarTaskReaderTest, TextThatIsNotICalendarGivesNothing)
{
    for (const QByteArray& text :
         {QByteArray(), QByteArray("hello world\n"), QByteArray("\x00\x01\x02\xff", 4),
          QByteArray("BEGIN:VCARD\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n"), QByteArray(100000, ':')})
        EXPECT_TRUE(CICalendarTaskReader::Parse(text).empty()) << text.left(20).toStdString();
}

} // namespace
