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

// Each case: the text, then the subjects and the dates (due, else start; invalid when there is
// neither) of its tasks in order; every valid date is local time.
TEST(ICalendarTaskReaderTest, ReadsSubjectsAndLocalDatesOfTodosInOrder)
{
    // clang-format off
    for (const auto& [what, text, expectedSubjects, expectedDates] :
         std::initializer_list<std::tuple<const char*, QByteArray, QStringList, QList<QDateTime>>>{
        {"other_components_ignored",
         Calendar(Todo("SUMMARY:First\r\n") + "BEGIN:VEVENT\r\nUID:e\r\nSUMMARY:Meeting\r\n"
                  "DTSTART:20260101T100000Z\r\nEND:VEVENT\r\n" + Todo("SUMMARY:  Padded \r\n") +
                  Todo("DESCRIPTION:no summary\r\n") + Todo("SUMMARY:Gr\xC3\xBC\xC3\x9F" "e\\, Freunde\r\n")),
         {"First", "Padded", "", QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e, Freunde")}, {{}, {}, {}, {}}},
        {"due_else_start_in_every_form",
         Calendar("BEGIN:VTIMEZONE\r\nTZID:Test/Plus2\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
                  "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0200\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n" +
                  Todo("SUMMARY:due wins\r\nDTSTART:20260101T080000Z\r\nDUE:20260105T120000Z\r\n") +
                  Todo("SUMMARY:start only\r\nDTSTART:20260203T071500Z\r\n") +
                  Todo("SUMMARY:date only\r\nDUE;VALUE=DATE:20260310\r\n") +
                  Todo("SUMMARY:zoned\r\nDUE;TZID=Test/Plus2:20260704T100000\r\n") +
                  Todo("SUMMARY:floating\r\nDUE:20261224T183000\r\n") +
                  Todo("SUMMARY:bad due\r\nDUE:notadate\r\nDTSTART:20260101T000000Z\r\n")),
         {"due wins", "start only", "date only", "zoned", "floating", "bad due"},
         {Utc(2026, 1, 5, 12, 0), Utc(2026, 2, 3, 7, 15), QDate(2026, 3, 10).startOfDay(), Utc(2026, 7, 4, 8, 0),
          QDateTime(QDate(2026, 12, 24), QTime(18, 30)), Utc(2026, 1, 1, 0, 0)}},
        {"bare_todo", Todo("SUMMARY:bare\r\n"), {"bare"}, {{}}},
        {"empty", "", {}, {}},
        {"binary", QByteArray("\x00\x01\x02\xff", 4), {}, {}},
        {"vcard", "BEGIN:VCARD\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n", {}, {}},
        {"colons", QByteArray(100000, ':'), {}, {}},
        {"zero_byte_hides_only_its_task",
         Calendar(Todo("SUMMARY:one\r\n") + Todo(QByteArray("SUMMARY:b\0roken\r\n", 17)) + Todo("SUMMARY:three\r\n")),
         {"one", "three"}, {{}, {}}},
        {"nested_too_deep", QByteArray("BEGIN:VCALENDAR\r\n").repeated(100000) + Todo("SUMMARY:x\r\n"), {}, {}},
        {"nested_within_bound", Calendar(QByteArray("BEGIN:X-A\r\n").repeated(40) + Todo("SUMMARY:deep\r\n") +
                                         QByteArray("END:X-A\r\n").repeated(40)), {"deep"}, {{}}},
    }) {
        // clang-format on
        SCOPED_TRACE(what);
        QStringList subjects;
        QList<QDateTime> dates;
        for (const SPimTask& task : CICalendarTaskReader::Parse(text)) {
            subjects.append(task.subject);
            dates.append(task.date);
            if (task.date.isValid()) {
                EXPECT_EQ(task.date.timeSpec(), Qt::LocalTime) << task.subject.toStdString();
            }
        }
        EXPECT_EQ(subjects, expectedSubjects);
        EXPECT_EQ(dates, expectedDates);
    }
}

TEST(ICalendarTaskReaderEdgeTest, FindsTheTodosOfTheFirstOfSeveralCalendars)
{
    const auto tasks = CICalendarTaskReader::Parse(Calendar(Todo("SUMMARY:one\r\n")) +
                                                   Calendar(Todo("SUMMARY:two\r\n")));
    ASSERT_GE(tasks.size(), 1u);
    EXPECT_EQ(tasks[0].subject, "one");
}

} // namespace
