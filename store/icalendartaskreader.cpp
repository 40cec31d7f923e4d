#include "store/icalendartaskreader.h"

#include <QTimeZone>
#include <algorithm>
#include <cstdio>
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

// Depth first with an explicit stack of components whose children are still to be walked.
// libical keeps one iterator per component, so each is iterated by one stack entry only.
void CollectTasks(icalcomponent* root, std::vector<SPimTask>& tasks)
{
    std::vector<icalcomponent*> stack{root};
    while (!stack.empty()) {
        icalcomponent* component = stack.back();
        stack.pop_back();
        if (icalcomponent_isa(component) == ICAL_VTODO_COMPONENT) {
            tasks.push_back(TaskOf(component));
            continue;
        }
        std::vector<icalcomponent*> children;
        for (icalcomponent* child =
                 icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
             child != nullptr;
             child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
            children.push_back(child);
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
}

bool StartsWith(const QByteArray& line, const char* prefix)
{
    return line.startsWith(prefix) ||
           line.toUpper().startsWith(prefix); // property names are case-insensitive
}

} // namespace

std::optional<QByteArray> CICalendarTaskReader::Prepare(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    int depth = 0;
    qsizetype todoStart = -1; // where the open VTODO's lines start in `out`
    bool todoBroken = false;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = text.indexOf('\n', at);
        end = end < 0 ? text.size() : end + 1;
        const QByteArray line = text.mid(at, end - at);
        at = end;
        if (StartsWith(line, "BEGIN:")) {
            if (++depth > kMaxDepth)
                return std::nullopt;
            if (StartsWith(line, "BEGIN:VTODO") && todoStart < 0) {
                todoStart = out.size();
                todoBroken = false;
            }
        } else if (StartsWith(line, "END:")) {
            depth = std::max(0, depth - 1);
        }
        const bool zero = line.contains('\0');
        if (zero && todoStart < 0)
            continue; // a broken line outside a task hides nothing
        todoBroken = todoBroken || zero;
        out.append(line);
        if (todoStart >= 0 && StartsWith(line, "END:VTODO")) {
            if (todoBroken)
                out.truncate(todoStart);
            todoStart = -1;
        }
    }
    if (todoStart >= 0 && todoBroken)
        out.truncate(todoStart);
    return out;
}

std::vector<SPimTask> CICalendarTaskReader::Parse(const QByteArray& text, const QString& origin)
{
    std::vector<SPimTask> tasks;
    const std::optional<QByteArray> prepared = Prepare(text);
    if (!prepared) {
        std::fprintf(stderr, "Skipping the task file \"%s\": nested deeper than %d components\n",
                     origin.toLocal8Bit().constData(), kMaxDepth);
        return tasks;
    }
    const ComponentPtr root(icalparser_parse_string(prepared->constData()));
    if (root)
        CollectTasks(root.get(), tasks);
    return tasks;
}
