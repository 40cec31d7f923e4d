#pragma once

#include "platform/wavenoticesink.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <span>
#include <thread>

class MDeviceMessagesObserver;

// The thread that serves one run of a recorder or player: it takes the device's notices
// from its own queue, in the order they were posted, and hands each to the observer,
// until it takes the quit message. Every encoder write and decoder read of a run
// happens here.
class CDeviceThread : public MWaveNoticeSink
{
public:
    // Starts the thread; throws std::system_error when it cannot be created.
    explicit CDeviceThread(MDeviceMessagesObserver& observer);
    // Posts the quit message and joins, unless that was done already. Never destroy the
    // object from its own thread.
    ~CDeviceThread() override;
    CDeviceThread(const CDeviceThread&) = delete;
    CDeviceThread& operator=(const CDeviceThread&) = delete;

    // False once the quit message has been posted: the notice would never be handled.
    bool PostWaveNotice(EWaveNotice notice, SWaveBuffer* buffer) override;
    // Straight to the observer: a level needs no ordering with the notices.
    void OnCaptured(const std::uint8_t* samples, std::size_t bytes) override;
    // Posts a Done notice for each buffer, all at once: the thread handles none of them
    // before all are queued. False (and nothing posted) once the quit message has been.
    bool PostDoneForEach(std::span<SWaveBuffer> buffers);
    // Queues the quit message behind every notice already posted. False when it was
    // posted before.
    bool PostQuit();
    // Waits for the thread's end. Not from the thread itself (see IsCurrent).
    void Join();
    bool IsCurrent() const { return std::this_thread::get_id() == m_id; }

private:
    struct SMessage
    {
        bool quit;
        EWaveNotice notice;
        SWaveBuffer* buffer;
    };

    void Run();
    bool Post(const SMessage& message);

    MDeviceMessagesObserver& m_observer;
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<SMessage> m_messages;
    bool m_quitPosted = false;
    std::thread m_thread;
    std::thread::id m_id;
};
