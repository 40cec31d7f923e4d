#include "audio/devicethread.h"

#include "audio/devicemessagesobserver.h"

CDeviceThread::CDeviceThread(MDeviceMessagesObserver& observer)
    : m_observer(observer), m_thread([this] { Run(); })
{
    m_id = m_thread.get_id();
}

CDeviceThread::~CDeviceThread()
{
    PostQuit();
    Join();
}

bool CDeviceThread::Post(const SMessage& message)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_quitPosted)
            return false;
        m_messages.push_back(message);
        m_quitPosted = message.quit;
    }
    m_posted.notify_one();
    return true;
}

void CDeviceThread::OnCaptured(const std::uint8_t* samples, std::size_t bytes)
{
    m_observer.OnCaptured(samples, bytes);
}

bool CDeviceThread::PostWaveNotice(EWaveNotice notice, SWaveBuffer* buffer)
{
    return Post({false, notice, buffer});
}

bool CDeviceThread::PostDoneForEach(std::span<SWaveBuffer> buffers)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_quitPosted)
            return false;
        for (SWaveBuffer& buffer : buffers)
            m_messages.push_back({false, EWaveNotice::Done, &buffer});
    }
    m_posted.notify_one();
    return true;
}

bool CDeviceThread::PostQuit()
{
    return Post({true, EWaveNotice::Close, nullptr});
}

void CDeviceThread::Join()
{
    if (m_thread.joinable() && !IsCurrent())
        m_thread.join();
}

void CDeviceThread::Run()
{
    for (;;) {
        SMessage message;
        {
            std::unique_lock lock(m_mutex);
            m_posted.wait(lock, [this] { return !m_messages.empty(); });
            message = m_messages.front();
            m_messages.pop_front();
        }
        if (message.quit)
            return;
        switch (message.notice) {
        case EWaveNotice::Open:
            m_observer.OnOpen();
            break;
        case EWaveNotice::Close:
            m_observer.OnClose();
            break;
        case EWaveNotice::Done:
            if (message.buffer)
                m_observer.OnBufferDone(*message.buffer);
            break;
        case EWaveNotice::Lost:
            m_observer.OnDeviceLost();
            break;
        }
    }
}
