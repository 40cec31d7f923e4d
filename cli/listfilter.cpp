#include "cli/listfilter.h"

#include "cli/commandline.h"
#include "cli/usageerror.h"

#include <array>
#include <utility>

namespace {

Period::EPeriod ParsePeriod(const std::string& text)
{
    using Period::EPeriod;
    static const std::array<std::pair<const char*, EPeriod>, 5> kPeriods{{
        {"all", EPeriod::All},
        {"today", EPeriod::Today},
        {"yesterday", EPeriod::Yesterday},
        {"week", EPeriod::CurrentWeek},
        {"month", EPeriod::CurrentMonth},
    }};
    for (const auto& [name, period] : kPeriods) {
        if (text == name)
            return period;
    }
    throw CUsageError("unknown period '" + text + "' (all, today, yesterday, week or month)");
}

QDate ParseDay(const std::string& option, const std::string& text)
{
    const QDate day = QDate::fromString(QString::fromStdString(text), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid() || text.size() != 10)
        throw CUsageError("--" + option + " '" + text + "' is not a day (YYYY-MM-DD)");
    return day;
}

SRecordTag ParseTag(const std::string& text)
{
    const std::size_t equals = text.find('=');
    const QString group = QString::fromStdString(text.substr(0, equals)).trimmed();
    const QString tag = equals == std::string::npos
                            ? QString()
                            : QString::fromStdString(text.substr(equals + 1)).trimmed();
    if (group.isEmpty() || tag.isEmpty())
        throw CUsageError("--tag '" + text + "' is not GROUP=TAG");
    return SRecordTag{group, tag};
}

// A filter that names nothing would quietly list everything.
QString NonBlank(const std::string& option, const std::string& text)
{
    const QString value = QString::fromStdString(text).trimmed();
    if (value.isEmpty())
        throw CUsageError("--" + option + " needs a non-empty value");
    return value;
}

} // namespace

SRecordQuery CListFilter::Query(const CCommandLine& line, const QDate& today)
{
    SRecordQuery query;
    query.today = today;
    const std::optional<std::string> from = line.Value("from");
    const std::optional<std::string> to = line.Value("to");
    if (from.has_value() != to.has_value())
        throw CUsageError(from ? "--from needs --to" : "--to needs --from");
    if (from) {
        if (line.Has("period"))
            throw CUsageError("--period and --from/--to cannot be combined");
        const Period::SDayRange range{ParseDay("from", *from), ParseDay("to", *to)};
        if (range.first > range.last)
            throw CUsageError("From must be earlier than To");
        query.period = Period::EPeriod::Custom;
        query.custom = range;
    } else if (const std::optional<std::string> period = line.Value("period")) {
        query.period = ParsePeriod(*period);
    }
    if (const std::optional<std::string> task = line.Value("task"))
        query.task = NonBlank("task", *task);
    for (const std::string& contact : line.Values("contact"))
        query.contacts.append(NonBlank("contact", contact));
    for (const std::string& tag : line.Values("tag"))
        query.tags.append(ParseTag(tag));
    query.search = QString::fromStdString(line.Value("search").value_or(std::string()));
    return query;
}
