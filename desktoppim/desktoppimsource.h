#pragma once

#include "store/pimsource.h"

#include <chrono>
#include <future>
#include <memory>
#include <thread>

class CEdsSession;
class CPimMirror;

// Contacts and tasks from the desktop's personal-information service: every enabled
// address book and task list, kept current by the service's change notices (CEdsSession,
// on a thread of its own). Contacts come sorted by their text, tasks by their subject;
// a contact's name parts and a task's subject and date are taken as the folder source takes
// them from its files.
//
// The connection starts when the object is made. A call waits for the service's first
// answer at most until `deadline` after that, once: a service that is missing, or slow,
// costs a process that much and no more, and afterwards every call answers at once from
// what has arrived. Problem() then says what is wrong; later arrivals are told through the
// change handler, so a late service still fills the lists.
class CDesktopPimSource : public MPimSource
{
public:
    static constexpr std::chrono::milliseconds kDeadline{3000};

    // `changed` is the change handler from the start (see SetChangeHandler), so that not even
    // the first answer goes untold.
    explicit CDesktopPimSource(std::function<void()> changed = {},
                               std::chrono::milliseconds deadline = kDeadline);
    ~CDesktopPimSource() override;
    CDesktopPimSource(const CDesktopPimSource&) = delete;
    CDesktopPimSource& operator=(const CDesktopPimSource&) = delete;

    std::vector<SPimTask> Tasks() const override;
    std::vector<SPimContact> Contacts() const override;
    // Empty once every address book and task list has been read; else why not: the
    // service cannot be reached (with its reason), or it did not answer in time.
    QString Problem() const override;
    void SetChangeHandler(std::function<void()> handler) override;

    // True when the service's registry answered by the deadline.
    bool Answered() const;

private:
    void WaitForFirstAnswer() const;

    std::chrono::steady_clock::time_point m_deadline;
    std::chrono::milliseconds m_allowed;
    // Shared with the thread, which may outlive this object when the service hangs on
    // being let go (see the destructor).
    std::shared_ptr<CPimMirror> m_mirror;
    std::shared_ptr<CEdsSession> m_session;
    std::future<void> m_finished;
    std::thread m_thread;
};
