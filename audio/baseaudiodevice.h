#pragma once

#include "audio/devicemessagesobserver.h"
#include "platform/wavetypes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAudioManager;
class CDeviceThread;
class MWaveBackend;
class MWaveDevice;

// Shared base of the recorder and the player: the manager, the wave format, the device
// thread, device 0 and its buffers for one run, and the stopped flag (true when idle or
// stopping, false while running).
//
// A run's resources are released together, after its thread has ended: the thread may
// still be touching the device and the buffers until then.
class CBaseAudioDevice : public MDeviceMessagesObserver
{
public:
    CBaseAudioDevice(CAudioManager& manager, EWaveDirection direction);
    ~CBaseAudioDevice() override;
    CBaseAudioDevice(const CBaseAudioDevice&) = delete;
    CBaseAudioDevice& operator=(const CBaseAudioDevice&) = delete;

    // Throws CAudioError when there is no device of the family or a named device
    // rejects the engine's sample format.
    virtual void CheckDevices() = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;

    bool IsStopped() const { return m_stopped.load(); }

    void OnOpen() override {}
    // The buffers stay until the run is released (see above).
    void OnClose() override {}

protected:
    SWaveFormat BuildFormat() const;
    MWaveBackend& Backend();
    // Throws the backend's text for the code, or "Error in waveInGetErrorText()".
    [[noreturn]] void RaiseWaveError(int code);
    // Counts and queries the devices of this device's family.
    void CheckDevicesOf(const std::string& noDevicesMessage);

    // Starts the device thread, opens device 0 with notices to it and allocates
    // `bufferCount` zeroed one-second buffers. On failure releases what it acquired and
    // throws (`threadMessage` when the thread cannot be created).
    void OpenRun(std::size_t bufferCount, const std::string& threadMessage);
    // Resets and closes the device and posts the quit message, then joins the thread and
    // releases the run, unless called on the device thread itself (the run is then
    // released by the next ReleaseEndedRun from another thread). Throws the first error
    // once everything has been done.
    void EndRun(const std::string& quitMessage);
    // Joins and releases a run that was ended on its own thread. False when that cannot
    // be done from the calling thread.
    bool ReleaseEndedRun();
    bool OnDeviceThread() const;
    bool HasRun() const { return m_thread != nullptr; }

    CAudioManager& m_manager;
    const EWaveDirection m_direction;
    const unsigned m_deviceId = 0;
    std::vector<std::uint8_t> m_blocks;
    std::vector<SWaveBuffer> m_buffers;
    std::unique_ptr<CDeviceThread> m_thread;
    std::unique_ptr<MWaveDevice> m_device;
    std::atomic<bool> m_stopped{true};

private:
    void ReleaseRun();
    bool m_runEnded = false;
};
