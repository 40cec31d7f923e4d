#include "store/zoneclock.h"

namespace {

// How far from a transition a local time must lie for the offset around it to be beyond doubt:
// more than any zone moves its clocks at once, so that a gap or a repeated hour is never met.
constexpr qint64 kMarginMs = 24 * 60 * 60 * 1000;

} // namespace

CZoneClock::CZoneClock(const QTimeZone& zone) : m_zone(zone) {}

QDateTime CZoneClock::At(QDate date, QTime time) const
{
    if (!m_zone.isValid())
        return QDateTime(date, time);
    // The local time read as if it were UTC; the instant is that less the offset.
    const qint64 local = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    const qint64 instant = local - qint64{m_offset} * 1000;
    if (m_from != kNever && instant - kMarginMs >= m_from &&
        (m_to == kNever || instant + kMarginMs < m_to))
        return QDateTime(date, time, Qt::OffsetFromUTC, m_offset);
    QDateTime moment(date, time, m_zone);
    Learn(moment);
    return moment;
}

void CZoneClock::Learn(const QDateTime& moment) const
{
    if (!moment.isValid())
        return;
    const int offset = moment.offsetFromUtc();
    const qint64 instant = moment.toMSecsSinceEpoch();
    const QTimeZone::OffsetData before = m_zone.previousTransition(moment);
    const QTimeZone::OffsetData after = m_zone.nextTransition(moment);
    // The stretch starts at the transition before the moment only when that transition set the
    // moment's offset; otherwise (the moment on a transition itself) it starts at the moment.
    m_from = before.atUtc.isValid() && before.offsetFromUtc == offset
                 ? before.atUtc.toMSecsSinceEpoch()
             : before.atUtc.isValid() ? instant
                                      : std::numeric_limits<qint64>::min() + kMarginMs;
    m_to = after.atUtc.isValid() ? after.atUtc.toMSecsSinceEpoch() : kNever;
    m_offset = offset;
}
