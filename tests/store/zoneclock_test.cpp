#include "store/zoneclock.h"

#include <gtest/gtest.h>

namespace {

// Hour by hour through two years, and minute by minute through the days the clocks move, one
// clock answers as a moment made in the zone would: the same instant, local date and time and
// offset, in zones whose clocks move forward and back, in a zone that never moves them and by
// the C library's local time.
TEST(ZoneClock, AnswersAsTheZoneItselfThroughItsTransitions)
{
    for (const QTimeZone& zone : {QTimeZone("Europe/Berlin"), QTimeZone("Australia/Lord_Howe"),
                                  QTimeZone("America/Santiago"), QTimeZone::utc(), QTimeZone()}) {
        const CZoneClock clock(zone);
        const auto expect = [&](QDate date, QTime time) {
            const QDateTime made =
                zone.isValid() ? QDateTime(date, time, zone) : QDateTime(date, time);
            const QDateTime told = clock.At(date, time);
            ASSERT_EQ(told.toMSecsSinceEpoch(), made.toMSecsSinceEpoch())
                << zone.id().constData() << ' ' << made.toString().toStdString();
            ASSERT_EQ(told.offsetFromUtc(), made.offsetFromUtc());
            ASSERT_EQ(told.date(), made.date());
            ASSERT_EQ(told.time(), made.time());
        };
        for (QDate day(2026, 1, 1); day < QDate(2028, 1, 1); day = day.addDays(1)) {
            const bool moves = zone.isValid() &&
                               zone.offsetFromUtc(QDateTime(day, QTime(0, 0), zone)) !=
                                   zone.offsetFromUtc(QDateTime(day.addDays(1), QTime(0, 0), zone));
            for (int minute = 0; minute < 24 * 60; minute += moves ? 1 : 60)
                expect(day, QTime(minute / 60, minute % 60, 17));
        }
        // Backwards, and a leap from one stretch to another far away.
        for (QDate day(2027, 12, 31); day >= QDate(2027, 1, 1); day = day.addDays(-3))
            expect(day, QTime(2, 30));
        expect(QDate(1970, 6, 1), QTime(12, 0));
        expect(QDate(2090, 6, 1), QTime(12, 0));
    }
}

} // namespace
