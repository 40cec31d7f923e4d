#include "desktoppim/pimmirror.h"

#include "store/pimstore.h"

#include <algorithm>

namespace {

template <typename Item>
void Put(std::map<std::string, std::map<std::string, Item>>& collections,
         const std::string& collection, std::vector<std::pair<std::string, Item>> items)
{
    std::map<std::string, Item>& held = collections[collection];
    for (auto& [id, item] : items)
        held.insert_or_assign(id, std::move(item));
}

template <typename Item>
void Remove(std::map<std::string, std::map<std::string, Item>>& collections,
            const std::string& collection, const std::vector<std::string>& ids)
{
    const auto found = collections.find(collection);
    if (found == collections.end())
        return;
    for (const std::string& id : ids)
        found->second.erase(id);
}

template <typename Item, typename Key>
std::vector<Item> Sorted(const std::map<std::string, std::map<std::string, Item>>& collections,
                         Key key)
{
    std::vector<std::pair<QString, const Item*>> keyed;
    for (const auto& [collection, items] : collections) {
        for (const auto& [id, item] : items)
            keyed.emplace_back(key(item), &item);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.first, b.first) < 0;
    });
    std::vector<Item> sorted;
    sorted.reserve(keyed.size());
    for (const auto& [text, item] : keyed)
        sorted.push_back(*item);
    return sorted;
}

} // namespace

template <typename Change> void CPimMirror::Update(Change change)
{
    {
        const std::lock_guard lock(m_mutex);
        change();
        m_stale = true;
    }
    Changed();
}

void CPimMirror::PutContacts(const std::string& book, ContactItems contacts)
{
    Update([&] { Put(m_contacts, book, std::move(contacts)); });
}

void CPimMirror::RemoveContacts(const std::string& book, const std::vector<std::string>& ids)
{
    Update([&] { Remove(m_contacts, book, ids); });
}

void CPimMirror::PutTasks(const std::string& list, TaskItems tasks)
{
    Update([&] { Put(m_tasks, list, std::move(tasks)); });
}

void CPimMirror::RemoveTasks(const std::string& list, const std::vector<std::string>& ids)
{
    Update([&] { Remove(m_tasks, list, ids); });
}

void CPimMirror::Forget(const std::string& collection)
{
    Update([&] {
        m_contacts.erase(collection);
        m_tasks.erase(collection);
    });
}

void CPimMirror::SetState(EState state, const QString& reason)
{
    {
        const std::lock_guard lock(m_mutex);
        m_state = state;
        m_reason = reason;
    }
    m_settled.notify_all();
    Changed();
}

void CPimMirror::Resort() const
{
    if (!m_stale)
        return;
    m_sortedContacts = Sorted(m_contacts, &CPimStore::ContactText);
    m_sortedTasks = Sorted(m_tasks, [](const SPimTask& task) { return task.subject.trimmed(); });
    m_stale = false;
}

std::vector<SPimContact> CPimMirror::Contacts() const
{
    const std::lock_guard lock(m_mutex);
    Resort();
    return m_sortedContacts;
}

std::vector<SPimTask> CPimMirror::Tasks() const
{
    const std::lock_guard lock(m_mutex);
    Resort();
    return m_sortedTasks;
}

CPimMirror::EState CPimMirror::State() const
{
    const std::lock_guard lock(m_mutex);
    return m_state;
}

QString CPimMirror::Reason() const
{
    const std::lock_guard lock(m_mutex);
    return m_reason;
}

CPimMirror::EState
CPimMirror::WaitUntilSettled(std::chrono::steady_clock::time_point deadline) const
{
    std::unique_lock lock(m_mutex);
    m_settled.wait_until(lock, deadline,
                         [this] { return m_state == EState::Ready || m_state == EState::Failed; });
    return m_state;
}

void CPimMirror::SetChangeHandler(std::function<void()> handler)
{
    const std::lock_guard lock(m_handlerMutex);
    m_handler = std::move(handler);
}

void CPimMirror::Changed()
{
    // Held while the handler runs, so that a handler taken away is never called afterwards.
    const std::lock_guard lock(m_handlerMutex);
    if (m_handler)
        m_handler();
}
