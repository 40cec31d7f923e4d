#include "store/pimstore.h"

#include <QSet>
#include <algorithm>

namespace {

// Appends texts not yet in the list; the set makes thousands of contacts linear work.
class CUniqueAppender
{
public:
    explicit CUniqueAppender(QStringList& list) : m_list(list), m_seen(list.begin(), list.end()) {}
    void Add(const QString& text)
    {
        if (!m_seen.contains(text)) {
            m_seen.insert(text);
            m_list.append(text);
        }
    }

private:
    QStringList& m_list;
    QSet<QString> m_seen;
};

} // namespace

QStringList CPimStore::FillTasks() const
{
    QStringList list;
    CUniqueAppender unique(list);
    for (const SPimTask& task : m_source.Tasks()) {
        const QString subject = task.subject.trimmed();
        if (!subject.isEmpty())
            unique.Add(subject);
    }
    return list;
}

QStringList CPimStore::ListStoreTasks() const
{
    QStringList list;
    CUniqueAppender unique(list);
    for (const SPimTask& task : m_source.Tasks())
        unique.Add(task.subject.trimmed());
    return list;
}

QStringList CPimStore::FillContacts() const
{
    QStringList list;
    CUniqueAppender unique(list);
    for (const SPimContact& contact : m_source.Contacts()) {
        const QString text = ContactText(contact);
        if (!text.isEmpty())
            unique.Add(text);
    }
    return list;
}

bool CPimStore::TaskExistsInStore(const QString& subject) const
{
    const QString wanted = subject.trimmed();
    const std::vector<SPimTask> tasks = m_source.Tasks();
    return std::any_of(tasks.begin(), tasks.end(), [&](const SPimTask& task) {
        return task.subject.trimmed().compare(wanted, Qt::CaseInsensitive) == 0;
    });
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
