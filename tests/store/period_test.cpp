#include "store/period.h"
#include "support/scopedenv.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <time.h>

namespace {

using Period::EPeriod;
using Period::SDayRange;

QDate D(int year, int month, int day)
{
    return QDate(year, month, day);
}

TEST(Period, CoversTheLocalCalendarDays)
{
    // clang-format off
    for (const auto& [what, today, period, first, last] :
         std::initializer_list<std::tuple<const char*, QDate, EPeriod, QDate, QDate>>{
        // 2026-12-09 is a Wednesday: the week runs from -3 to +3, the next from +4 to +10.
        {"Wednesday week", D(2026, 12, 9), EPeriod::CurrentWeek, D(2026, 12, 6), D(2026, 12, 12)},
        {"Wednesday next week", D(2026, 12, 9), EPeriod::NextWeek, D(2026, 12, 13), D(2026, 12, 19)},
        {"Sunday starts its week", D(2026, 12, 6), EPeriod::CurrentWeek, D(2026, 12, 6), D(2026, 12, 12)},
        {"Saturday ends it", D(2026, 12, 12), EPeriod::CurrentWeek, D(2026, 12, 6), D(2026, 12, 12)},
        {"week across New Year", D(2027, 1, 1), EPeriod::CurrentWeek, D(2026, 12, 27), D(2027, 1, 2)},
        {"yesterday across New Year", D(2027, 1, 1), EPeriod::Yesterday, D(2026, 12, 31), D(2026, 12, 31)},
        {"first of the month", D(2027, 3, 1), EPeriod::CurrentMonth, D(2027, 3, 1), D(2027, 3, 31)},
        {"29 February", D(2028, 2, 29), EPeriod::CurrentMonth, D(2028, 2, 1), D(2028, 2, 29)},
        {"tomorrow of 29 February", D(2028, 2, 29), EPeriod::Tomorrow, D(2028, 3, 1), D(2028, 3, 1)},
        {"31 January, next month", D(2027, 1, 31), EPeriod::NextMonth, D(2027, 2, 1), D(2027, 2, 28)},
        {"31 January, leap year", D(2028, 1, 31), EPeriod::NextMonth, D(2028, 2, 1), D(2028, 2, 29)},
        {"December, next month", D(2026, 12, 15), EPeriod::NextMonth, D(2027, 1, 1), D(2027, 1, 31)},
         })
        EXPECT_EQ(Period::Days(period, today), (SDayRange{first, last})) << what;
    // clang-format on
}

TEST(Period, AllNeedsNoDateAndCustomNeedsAChosenRange)
{
    const QDate today = D(2026, 12, 9);
    EXPECT_TRUE(Period::Contains(EPeriod::All, today, QDate()));
    // An undated task belongs to no dated period.
    for (const EPeriod period : Period::TaskPeriods()) {
        EXPECT_EQ(Period::Contains(period, today, QDate()), period == EPeriod::All)
            << Period::Label(period).toStdString();
    }
    const SDayRange range{D(2026, 11, 30), D(2026, 12, 2)};
    EXPECT_TRUE(Period::Contains(EPeriod::Custom, today, D(2026, 11, 30), range));
    EXPECT_TRUE(Period::Contains(EPeriod::Custom, today, D(2026, 12, 2), range));
    EXPECT_FALSE(Period::Contains(EPeriod::Custom, today, D(2026, 12, 3), range));
    EXPECT_FALSE(Period::Contains(EPeriod::Custom, today, today)); // none chosen: nothing
    EXPECT_FALSE(
        Period::Contains(EPeriod::Custom, today, today, SDayRange{today, today.addDays(-1)}));
}

TEST(Period, AgesAreCalendarDaysWithLeapYears)
{
    EXPECT_EQ(Period::AgeInDays(D(2026, 12, 31), D(2027, 1, 1)), 1);
    EXPECT_EQ(Period::AgeInDays(D(2027, 2, 28), D(2028, 2, 29)), 366);
    EXPECT_EQ(Period::AgeInDays(D(2027, 1, 2), D(2027, 1, 1)), -1);
}

TEST(Period, MomentsAreTakenOnTheLocalDay)
{
    {
        // Thirteen hours ahead of UTC: the local day is a day ahead of the UTC day each evening.
        const testsupport::CScopedEnv zone("TZ", "<+13>-13");
        ::tzset();
        const QDateTime now(D(2026, 12, 31), QTime(20, 0), Qt::UTC);        // 09:00 on 1 January
        const QDateTime lastNight(D(2026, 12, 31), QTime(10, 30), Qt::UTC); // 23:30 on 31 December
        const QDateTime tenPast(D(2026, 12, 31), QTime(11, 10), Qt::UTC);   // 00:10 on 1 January
        EXPECT_FALSE(Period::Contains(EPeriod::Today, now, lastNight));
        EXPECT_TRUE(Period::Contains(EPeriod::Yesterday, now, lastNight));
        EXPECT_FALSE(Period::Contains(EPeriod::CurrentMonth, now, lastNight));
        EXPECT_TRUE(Period::Contains(EPeriod::Today, now, tenPast));
        EXPECT_TRUE(Period::Contains(EPeriod::CurrentMonth, now, tenPast));
        EXPECT_FALSE(Period::Contains(EPeriod::Today, now, QDateTime()));
    }
    ::tzset(); // the other tests' zone again
}

} // namespace
