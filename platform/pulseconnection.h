#pragma once

#include <chrono>
#include <memory>

struct pa_context;
struct pa_operation;
struct pa_threaded_mainloop;

// A connection to the sound server: a libpulse context served by its own event thread
// (the threaded main loop), both released together. Every use of the context, and of a
// stream made on it, happens under the lock (CLock); callbacks run on the event thread,
// which holds the lock while they run. Shared by the backend and the devices it opens,
// so an open device keeps its connection alive.
class CPulseConnection
{
public:
    // Holds the event thread's lock for its lifetime. Never on the event thread itself.
    class CLock
    {
    public:
        explicit CLock(const CPulseConnection& connection);
        ~CLock();
        CLock(const CLock&) = delete;
        CLock& operator=(const CLock&) = delete;

    private:
        pa_threaded_mainloop* m_mainloop;
    };

    // Connects to the server the environment names (PULSE_SERVER, else the user's own),
    // never starting one. Null when none is ready within `timeout`.
    static std::shared_ptr<CPulseConnection> Connect(std::chrono::milliseconds timeout);

    CPulseConnection();
    ~CPulseConnection();
    CPulseConnection(const CPulseConnection&) = delete;
    CPulseConnection& operator=(const CPulseConnection&) = delete;

    pa_context* Context() const { return m_context; }
    pa_threaded_mainloop* Mainloop() const { return m_mainloop; }

    // Under the lock: true while the connection can be used.
    bool Ready() const;
    // Under the lock: libpulse's code for the last failure on this connection.
    int LastError() const;
    // Under the lock: waits until the operation has ended, then releases it. Its callback
    // must wake the waiters (Wake). False when it was null or the connection failed first.
    bool Await(pa_operation* operation);
    // Under the lock: sleeps until a callback wakes the waiters.
    void Wait();
    // Wakes every waiter; for callbacks, with the main loop as `userdata`.
    static void Wake(void* mainloop);

private:
    pa_threaded_mainloop* m_mainloop = nullptr;
    pa_context* m_context = nullptr;
    bool m_started = false;
};
