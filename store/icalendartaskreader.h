#pragma once

#include "store/pimsource.h"

#include <QByteArray>
#include <vector>

// Reads the tasks (VTODO components) of iCalendar text through libical, at any depth
// (inside VCALENDAR, several calendars in one text, or a bare VTODO).
// Subject: the SUMMARY as stored (empty when absent). Date: DUE, else DTSTART, in local
// time: a date without time is the start of that local day, a time with a zone or in
// UTC is converted, a floating time is taken as local; invalid when both are absent.
// Text that libical cannot parse into a component gives no tasks.
class CICalendarTaskReader
{
public:
    static std::vector<SPimTask> Parse(const QByteArray& text);
};
