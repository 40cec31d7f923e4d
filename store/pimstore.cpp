#include "store/pimstore.h"

#include "store/restriction.h"

#include <algorithm>

namespace {

void AddUnique(QStringList& list, const QString& text)
{
    if (!list.contains(text, Qt::CaseSensitive))
        list.append(text);
}

// The first task the restriction finds, as the store's Find would; a restriction that
// does not parse finds nothing.
bool FindsTask(const QString& restrictionText, const std::vector<SPimTask>& tasks)
{
    const std::optional<CRestriction> restriction = CRestriction::Parse(restrictionText);
    return restriction && std::any_of(tasks.begin(), tasks.end(), [&](const SPimTask& task) {
               return restriction->Matches(task.subject);
           });
}

} // namespace

void CPimStore::FillTasks(QStringList& list) const
{
    list.clear();
    for (const SPimTask& task : m_source.Tasks()) {
        const QString subject = task.subject.trimmed();
        if (!subject.isEmpty())
            AddUnique(list, subject);
    }
}

void CPimStore::ListStoreTasks(QStringList& list) const
{
    list.clear();
    for (const SPimTask& task : m_source.Tasks())
        AddUnique(list, task.subject.trimmed());
}

void CPimStore::FillContacts(QStringList& list) const
{
    for (const SPimContact& contact : m_source.Contacts()) {
        const QString text = ContactText(contact);
        if (!text.isEmpty())
            AddUnique(list, text);
    }
}

bool CPimStore::TaskExistsInStore(const QString& subject) const
{
    const std::vector<SPimTask> tasks = m_source.Tasks();
    const QStringList restrictions = ExistenceRestrictions(subject);
    return std::any_of(restrictions.begin(), restrictions.end(),
                       [&](const QString& text) { return FindsTask(text, tasks); });
}

std::vector<SPimTask> CPimStore::TasksWithDates() const
{
    std::vector<SPimTask> tasks;
    for (SPimTask& task : m_source.Tasks()) {
        task.subject = task.subject.trimmed();
        if (!task.subject.isEmpty())
            tasks.push_back(std::move(task));
    }
    return tasks;
}

QString CPimStore::ContactText(const SPimContact& contact)
{
    QStringList parts;
    for (const QString& part : {contact.given, contact.additional, contact.family}) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            parts.append(trimmed);
    }
    return parts.join(u' ');
}

QStringList CPimStore::ExistenceRestrictions(const QString& subject)
{
    return {QStringLiteral("[Subject] > \"%1\"").arg(subject),
            QStringLiteral("[Subject] = \"%1 \"").arg(subject)};
}
