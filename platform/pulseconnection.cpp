#include "platform/pulseconnection.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/operation.h>
#include <pulse/thread-mainloop.h>
#include <thread>

namespace {

void OnContextState(pa_context*, void* mainloop)
{
    CPulseConnection::Wake(mainloop);
}

} // namespace

CPulseConnection::CLock::CLock(const CPulseConnection& connection)
    : m_mainloop(connection.m_mainloop)
{
    pa_threaded_mainloop_lock(m_mainloop);
}

CPulseConnection::CLock::~CLock()
{
    pa_threaded_mainloop_unlock(m_mainloop);
}

CPulseConnection::CPulseConnection() = default;

CPulseConnection::~CPulseConnection()
{
    if (m_context) {
        if (m_started) {
            CLock lock(*this);
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
        } else {
            pa_context_disconnect(m_context);
        }
    }
    if (m_started)
        pa_threaded_mainloop_stop(m_mainloop);
    if (m_context)
        pa_context_unref(m_context);
    if (m_mainloop)
        pa_threaded_mainloop_free(m_mainloop);
}

std::shared_ptr<CPulseConnection> CPulseConnection::Connect(std::chrono::milliseconds timeout)
{
    auto connection = std::make_shared<CPulseConnection>();
    connection->m_mainloop = pa_threaded_mainloop_new();
    if (!connection->m_mainloop)
        return nullptr;
    connection->m_context =
        pa_context_new(pa_threaded_mainloop_get_api(connection->m_mainloop), "Parlantographer");
    if (!connection->m_context)
        return nullptr;
    pa_context_set_state_callback(connection->m_context, &OnContextState, connection->m_mainloop);
    // Starting a server of our own would leave a daemon behind the user's back.
    if (pa_context_connect(connection->m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return nullptr;
    if (pa_threaded_mainloop_start(connection->m_mainloop) < 0)
        return nullptr;
    connection->m_started = true;

    // The wait has no time limit of its own, so the state is polled against the deadline:
    // a server that hangs must not hang the program's start.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        {
            CLock lock(*connection);
            const pa_context_state_t state = pa_context_get_state(connection->m_context);
            if (state == PA_CONTEXT_READY)
                return connection;
            if (!PA_CONTEXT_IS_GOOD(state))
                return nullptr;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool CPulseConnection::Ready() const
{
    return pa_context_get_state(m_context) == PA_CONTEXT_READY;
}

int CPulseConnection::LastError() const
{
    const int error = pa_context_errno(m_context);
    return error != PA_OK ? error : PA_ERR_UNKNOWN;
}

bool CPulseConnection::Await(pa_operation* operation)
{
    if (!operation)
        return false;
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
        if (!Ready()) {
            pa_operation_cancel(operation);
            break;
        }
        Wait();
    }
    const bool done = pa_operation_get_state(operation) == PA_OPERATION_DONE;
    pa_operation_unref(operation);
    return done;
}

void CPulseConnection::Wait()
{
    pa_threaded_mainloop_wait(m_mainloop);
}

void CPulseConnection::Wake(void* mainloop)
{
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(mainloop), 0);
}
