#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The periods by which the browser narrows its lists, as pure functions of today's LOCAL date.
// One calendar throughout: the week starts on the local Sunday, the month on the 1st of the
// local month, and ages are calendar-day differences with real leap years.
namespace Period {

enum class EPeriod
{
    All,
    Today,
    Tomorrow,
    Yesterday,
    CurrentWeek,
    NextWeek,
    CurrentMonth,
    NextMonth,
    Custom,
};

// An inclusive range of local days. Empty (contains nothing) when either end is invalid or
// `first` is later than `last`.
struct SDayRange
{
    QDate first;
    QDate last;

    bool Contains(const QDate& day) const;
    bool IsEmpty() const;
    bool operator==(const SDayRange&) const = default;
};

// The drop-down text: "All", "Today", "Tomorrow", "Yesterday", "Current week", "Next week",
// "Current month", "Next month", "Custom".
QString Label(EPeriod period);

// The periods of the records lists (All, Today, Yesterday, Current week, Current month,
// Custom) and of the tasks list (all nine), in drop-down order.
QList<EPeriod> RecordPeriods();
QList<EPeriod> TaskPeriods();

// True for every period but All: only a dated item can belong to it.
bool NeedsDate(EPeriod period);

// The days `period` covers when today is `today`. std::nullopt for All, which bounds nothing.
// Custom gives `custom`, or an empty range when no custom range was chosen.
std::optional<SDayRange> Days(EPeriod period, const QDate& today,
                              const std::optional<SDayRange>& custom = std::nullopt);

// Whether `day` belongs to `period` seen on `today`. An invalid `day` (an item without a
// date) belongs only to All.
bool Contains(EPeriod period, const QDate& today, const QDate& day,
              const std::optional<SDayRange>& custom = std::nullopt);

// The same for two moments, each taken as its local calendar day.
bool Contains(EPeriod period, const QDateTime& now, const QDateTime& moment,
              const std::optional<SDayRange>& custom = std::nullopt);

// Whole calendar days from `day` to `today` (1 for yesterday, negative for a later day).
qint64 AgeInDays(const QDate& day, const QDate& today);

} // namespace Period
