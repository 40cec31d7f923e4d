#include "store/period.h"

#include <QCoreApplication>

namespace Period {
namespace {

// Days since the last local Sunday: 0 on a Sunday.
int DaysSinceSunday(const QDate& day)
{
    return day.dayOfWeek() % 7; // Qt counts Monday 1 .. Sunday 7
}

QDate FirstOfMonth(const QDate& day)
{
    return QDate(day.year(), day.month(), 1);
}

} // namespace

bool SDayRange::IsEmpty() const
{
    return !first.isValid() || !last.isValid() || first > last;
}

bool SDayRange::Contains(const QDate& day) const
{
    return day.isValid() && !IsEmpty() && first <= day && day <= last;
}

QString Label(EPeriod period)
{
    switch (period) {
    case EPeriod::All:
        return QCoreApplication::translate("Period", "All");
    case EPeriod::Today:
        return QCoreApplication::translate("Period", "Today");
    case EPeriod::Tomorrow:
        return QCoreApplication::translate("Period", "Tomorrow");
    case EPeriod::Yesterday:
        return QCoreApplication::translate("Period", "Yesterday");
    case EPeriod::CurrentWeek:
        return QCoreApplication::translate("Period", "Current week");
    case EPeriod::NextWeek:
        return QCoreApplication::translate("Period", "Next week");
    case EPeriod::CurrentMonth:
        return QCoreApplication::translate("Period", "Current month");
    case EPeriod::NextMonth:
        return QCoreApplication::translate("Period", "Next month");
    case EPeriod::Custom:
        return QCoreApplication::translate("Period", "Custom");
    }
    return {};
}

QList<EPeriod> RecordPeriods()
{
    return {EPeriod::All,         EPeriod::Today,        EPeriod::Yesterday,
            EPeriod::CurrentWeek, EPeriod::CurrentMonth, EPeriod::Custom};
}

QList<EPeriod> TaskPeriods()
{
    return {EPeriod::All,          EPeriod::Today,       EPeriod::Tomorrow,
            EPeriod::Yesterday,    EPeriod::CurrentWeek, EPeriod::NextWeek,
            EPeriod::CurrentMonth, EPeriod::NextMonth,   EPeriod::Custom};
}

bool NeedsDate(EPeriod period)
{
    return period != EPeriod::All;
}

std::optional<SDayRange> Days(EPeriod period, const QDate& today,
                              const std::optional<SDayRange>& custom)
{
    switch (period) {
    case EPeriod::All:
        return std::nullopt;
    case EPeriod::Today:
        return SDayRange{today, today};
    case EPeriod::Tomorrow:
        return SDayRange{today.addDays(1), today.addDays(1)};
    case EPeriod::Yesterday:
        return SDayRange{today.addDays(-1), today.addDays(-1)};
    case EPeriod::CurrentWeek: {
        const QDate sunday = today.addDays(-DaysSinceSunday(today));
        return SDayRange{sunday, sunday.addDays(6)};
    }
    case EPeriod::NextWeek: {
        const QDate sunday = today.addDays(7 - DaysSinceSunday(today));
        return SDayRange{sunday, sunday.addDays(6)};
    }
    case EPeriod::CurrentMonth: {
        const QDate first = FirstOfMonth(today);
        return SDayRange{first, first.addMonths(1).addDays(-1)};
    }
    case EPeriod::NextMonth: {
        const QDate first = FirstOfMonth(today).addMonths(1);
        return SDayRange{first, first.addMonths(1).addDays(-1)};
    }
    case EPeriod::Custom:
        return custom.value_or(SDayRange{});
    }
    return SDayRange{};
}

bool Contains(EPeriod period, const QDate& today, const QDate& day,
              const std::optional<SDayRange>& custom)
{
    const std::optional<SDayRange> days = Days(period, today, custom);
    return !days || days->Contains(day);
}

bool Contains(EPeriod period, const QDateTime& now, const QDateTime& moment,
              const std::optional<SDayRange>& custom)
{
    const QDate day = moment.isValid() ? moment.toLocalTime().date() : QDate();
    return Contains(period, now.toLocalTime().date(), day, custom);
}

qint64 AgeInDays(const QDate& day, const QDate& today)
{
    return day.daysTo(today);
}

} // namespace Period
