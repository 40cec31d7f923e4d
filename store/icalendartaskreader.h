#pragma once

#include "store/pimsource.h"

#include <QByteArray>
#include <optional>
#include <vector>

// Reads the tasks (VTODO components) of iCalendar text through libical, at any depth
// (inside VCALENDAR, several calendars in one text, or a bare VTODO).
// Subject: the SUMMARY as stored (empty when absent). Date: DUE, else DTSTART, in local
// time: a date without time is the start of that local day, a time with a zone or in
// UTC is converted, a floating time is taken as local; invalid when both are absent.
// Text that libical cannot parse into a component gives no tasks; so does text nested
// deeper than kMaxDepth components (with a message on stderr naming `origin`, the file it came
// from), which would exhaust the stack inside libical. A task holding a zero byte is left out;
// the others are read.
class CICalendarTaskReader
{
public:
    static constexpr int kMaxDepth = 64;

    static std::vector<SPimTask> Parse(const QByteArray& text, const QString& origin = {});
    // The text libical gets: every task with a zero byte removed (libical reads a C string,
    // so one zero would end the whole file there); nullopt when BEGIN lines nest deeper
    // than kMaxDepth.
    static std::optional<QByteArray> Prepare(const QByteArray& text);
};
