#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <limits>

// Local dates and times of one zone made into moments, with the zone's offset from UTC kept
// for the stretch between two of its transitions: a listing of thousands of records dated by
// their names then asks the zone's rules once per stretch instead of once per record, which
// costs about as much as reading the record. Not for use from two threads at once.
class CZoneClock
{
public:
    // `zone` should be the system's zone (QTimeZone::systemTimeZone()); an invalid zone means the
    // C library's local time.
    CZoneClock(const QTimeZone& zone); // NOLINT(google-explicit-constructor): a zone is a clock

    const QTimeZone& Zone() const { return m_zone; }

    // The moment `date` `time` names in the zone: the same instant, date, time and offset as
    // QDateTime(date, time, zone) gives, as a moment at that offset from UTC where the offset is
    // beyond doubt (a day or more from a transition), as a moment in the zone otherwise.
    QDateTime At(QDate date, QTime time) const;

private:
    static constexpr qint64 kNever = std::numeric_limits<qint64>::max();

    // Learns the stretch of constant offset around `moment`.
    void Learn(const QDateTime& moment) const;

    QTimeZone m_zone;
    // [m_from, m_to) in milliseconds since the epoch, UTC, where the offset is m_offset seconds;
    // empty until a first moment is made.
    mutable qint64 m_from = kNever;
    mutable qint64 m_to = kNever;
    mutable int m_offset = 0;
};
