#include "cli/stopsignal.h"

#include <atomic>
#include <csignal>
#include <stdexcept>

namespace {

// What the handlers share with the main thread. The flag must be lock-free to be
// touched inside a handler; the static_assert keeps a platform where it is not from
// compiling.
struct SSignalState
{
    std::atomic<int> arrived{0};
    std::atomic<bool> instanceExists{false};
    struct sigaction previousInt = {};
    struct sigaction previousTerm = {};
};
static_assert(std::atomic<int>::is_always_lock_free);

SSignalState& SignalState()
{
    static SSignalState state;
    return state;
}

extern "C" void OnStopSignal(int number)
{
    int expected = 0;
    SignalState().arrived.compare_exchange_strong(expected, number);
}

} // namespace

CStopSignal::CStopSignal()
{
    SSignalState& state = SignalState();
    if (state.instanceExists.exchange(true))
        throw std::logic_error("CStopSignal: only one instance at a time");
    state.arrived.store(0);
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // The signal may land on a device thread; restarting its interrupted system calls
    // keeps the audio library from seeing EINTR. The main thread polls the flag anyway.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &state.previousInt);
    sigaction(SIGTERM, &action, &state.previousTerm);
}

CStopSignal::~CStopSignal()
{
    SSignalState& state = SignalState();
    sigaction(SIGINT, &state.previousInt, nullptr);
    sigaction(SIGTERM, &state.previousTerm, nullptr);
    state.instanceExists.store(false);
}

bool CStopSignal::Raised() const
{
    return SignalState().arrived.load() != 0;
}

int CStopSignal::Signal() const
{
    return SignalState().arrived.load();
}
