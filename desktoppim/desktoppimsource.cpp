#include "desktoppim/desktoppimsource.h"

#include "desktoppim/edssession.h"
#include "desktoppim/pimmirror.h"

#include <QCoreApplication>

namespace {

// How long the end of the program waits for the service to take back what was opened.
constexpr std::chrono::seconds kFarewell{1};

} // namespace

CDesktopPimSource::CDesktopPimSource(std::function<void()> changed,
                                     std::chrono::milliseconds deadline)
    : m_deadline(std::chrono::steady_clock::now() + deadline), m_allowed(deadline),
      m_mirror(std::make_shared<CPimMirror>()), m_session(std::make_shared<CEdsSession>(m_mirror))
{
    m_mirror->SetChangeHandler(std::move(changed));
    std::packaged_task<void()> run([session = m_session] { session->Run(); });
    m_finished = run.get_future();
    m_thread = std::thread(std::move(run));
}

CDesktopPimSource::~CDesktopPimSource()
{
    m_mirror->SetChangeHandler({});
    // Before the service answered there is nothing to let go of, and the thread may be
    // stuck in a call that cannot be cancelled.
    const bool answered = m_mirror->State() != CPimMirror::EState::Connecting;
    m_session->Stop();
    // Closing a book asks the service and waits for its answer; a service that hangs must not
    // hang the end of the program, so the thread is then left to end on its own (it owns
    // what it uses).
    if (m_finished.wait_for(answered ? kFarewell : std::chrono::seconds(0)) ==
        std::future_status::ready)
        m_thread.join();
    else
        m_thread.detach();
}

void CDesktopPimSource::WaitForFirstAnswer() const
{
    m_mirror->WaitUntilSettled(m_deadline);
}

std::vector<SPimTask> CDesktopPimSource::Tasks() const
{
    WaitForFirstAnswer();
    return m_mirror->Tasks();
}

std::vector<SPimContact> CDesktopPimSource::Contacts() const
{
    WaitForFirstAnswer();
    return m_mirror->Contacts();
}

QString CDesktopPimSource::Problem() const
{
    WaitForFirstAnswer();
    switch (m_mirror->State()) {
    case CPimMirror::EState::Ready:
        return {};
    case CPimMirror::EState::Failed:
        return QCoreApplication::translate("CDesktopPimSource",
                                           "The desktop's contacts and tasks cannot be reached: %1")
            .arg(m_mirror->Reason());
    case CPimMirror::EState::Connecting:
    case CPimMirror::EState::Connected:
        break;
    }
    return QCoreApplication::translate(
               "CDesktopPimSource",
               "The desktop's contacts and tasks did not answer within %1 seconds.")
        .arg((m_allowed.count() + 999) / 1000);
}

void CDesktopPimSource::SetChangeHandler(std::function<void()> handler)
{
    m_mirror->SetChangeHandler(std::move(handler));
}

bool CDesktopPimSource::Answered() const
{
    const CPimMirror::EState state = m_mirror->WaitUntilSettled(m_deadline);
    return state == CPimMirror::EState::Connected || state == CPimMirror::EState::Ready;
}
