#pragma once

#include "store/pimsource.h"

#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// The contacts and tasks of the desktop's service as its change notices describe them, one
// collection per address book or task list (by the service's identifier of it), each item by
// its own identifier. One thread writes (the one that follows the service); any thread reads.
// Readers get contacts sorted by their text and tasks by their subject, as people look for
// them in a list.
class CPimMirror
{
public:
    enum class EState
    {
        Connecting, // nothing heard yet
        Connected,  // the service answered; its address books and task lists are being read
        Ready,      // every address book and task list open at the start has been read once
        Failed,     // the service cannot be reached (Reason says why)
    };

    using ContactItems = std::vector<std::pair<std::string, SPimContact>>;
    using TaskItems = std::vector<std::pair<std::string, SPimTask>>;

    // Writing. An item given again replaces the earlier one of the same identifier.
    void PutContacts(const std::string& book, ContactItems contacts);
    void RemoveContacts(const std::string& book, const std::vector<std::string>& ids);
    void PutTasks(const std::string& list, TaskItems tasks);
    void RemoveTasks(const std::string& list, const std::vector<std::string>& ids);
    // Drops everything of an address book or task list that is gone or disabled.
    void Forget(const std::string& collection);
    void SetState(EState state, const QString& reason = {});

    // Reading.
    std::vector<SPimContact> Contacts() const;
    std::vector<SPimTask> Tasks() const;
    EState State() const;
    QString Reason() const;
    // Waits until the state is Ready or Failed, or until `deadline`; gives the state then.
    EState WaitUntilSettled(std::chrono::steady_clock::time_point deadline) const;

    // Called on the writing thread after every change of the items or the state, so that a
    // reader can look again. See MPimSource::SetChangeHandler.
    void SetChangeHandler(std::function<void()> handler);

private:
    // Makes a change under the lock, then tells of it.
    template <typename Change> void Update(Change change);
    void Changed();
    void Resort() const;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_settled;
    std::map<std::string, std::map<std::string, SPimContact>> m_contacts;
    std::map<std::string, std::map<std::string, SPimTask>> m_tasks;
    EState m_state = EState::Connecting;
    QString m_reason;
    // The sorted lists handed out, made again on the first read after a change.
    mutable bool m_stale = true;
    mutable std::vector<SPimContact> m_sortedContacts;
    mutable std::vector<SPimTask> m_sortedTasks;

    std::mutex m_handlerMutex;
    std::function<void()> m_handler;
};
