#pragma once

#include <atomic>

class CAudioManager;

// What a wave device reports to its device thread.
class MDeviceMessagesObserver
{
public:
    virtual ~MDeviceMessagesObserver() = default;
    virtual void OnOpen() = 0;
    virtual void OnClose() = 0;
    virtual void OnBufferDone() = 0;
};

// Shared base of the recorder and the player: the manager, the device thread and
// the stopped flag (true when idle or stopping, false while running).
class CBaseAudioDevice : public MDeviceMessagesObserver
{
public:
    explicit CBaseAudioDevice(CAudioManager& manager) : m_manager(manager) {}
    ~CBaseAudioDevice() override = default;
    CBaseAudioDevice(const CBaseAudioDevice&) = delete;
    CBaseAudioDevice& operator=(const CBaseAudioDevice&) = delete;

    virtual void CheckDevices() = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;

    bool IsStopped() const { return m_stopped.load(); }

    void OnOpen() override {}
    void OnClose() override {}
    void OnBufferDone() override {}

protected:
    CAudioManager& m_manager;
    std::atomic<bool> m_stopped{true};
};
