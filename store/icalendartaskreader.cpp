#include "store/icalendartaskreader.h"

#include <QTimeZone>
#include <libical/ical.h>
#include <memory>

namespace {

struct ComponentDeleter
{
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

QDateTime ToLocalDateTime(const icaltimetype& time)
{
    if (icaltime_is_null_time(time) || !icaltime_is_valid_time(time))
        return {};
    const QDate date(time.year, time.month, time.day);
    if (!date.isValid())
        return {};
    if (time.is_date)
        return date.startOfDay();
    const QTime clock(time.hour, time.minute, time.second);
    if (!clock.isValid())
        return {};
    if (time.zone != nullptr) {
        const auto seconds = static_cast<qint64>(icaltime_as_timet_with_zone(time, time.zone));
        return QDateTime::fromSecsSinceEpoch(seconds).toLocalTime();
    }
    return QDateTime(date, clock); // floating time: the wall clock wherever the user is
}

SPimTask TaskOf(icalcomponent* todo)
{
    SPimTask task;
    if (const char* summary = icalcomponent_get_summary(todo))
        task.subject = QString::fromUtf8(summary);
    // Both getters return the null time when the property is missing or unreadable.
    task.date = ToLocalDateTime(icalcomponent_get_due(todo));
    if (!task.date.isValid())
        task.date = ToLocalDateTime(icalcomponent_get_dtstart(todo));
    return task;
}

void CollectTasks(icalcomponent* component, std::vector<SPimTask>& tasks)
{
    if (icalcomponent_isa(component) == ICAL_VTODO_COMPONENT) {
        tasks.push_back(TaskOf(component));
        return;
    }
    for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
         child != nullptr; child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
        CollectTasks(child, tasks);
}

} // namespace

std::vector<SPimTask> CICalendarTaskReader::Parse(const QByteArray& text)
{
    std::vector<SPimTask> tasks;
    // libical reads a C string: text after an embedded zero byte is not iCalendar anyway.
    const ComponentPtr root(icalparser_parse_string(text.constData()));
    if (root)
        CollectTasks(root.get(), tasks);
    return tasks;
}
