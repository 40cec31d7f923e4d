#pragma once

// Turns SIGINT and SIGTERM into a request to stop the work in progress, so that a
// recording interrupted from outside is finalised exactly as one that ends normally.
// While an instance lives, the handlers only set a lock-free flag that the main thread
// polls between waits; the previous dispositions come back when it ends.
// Only one instance may exist at a time (the process has one set of handlers).
class CStopSignal
{
public:
    CStopSignal();
    ~CStopSignal();
    CStopSignal(const CStopSignal&) = delete;
    CStopSignal& operator=(const CStopSignal&) = delete;

    // True once SIGINT or SIGTERM has arrived since construction.
    bool Raised() const;
    // The signal number that arrived first, or 0.
    int Signal() const;
};
