#pragma once

#include "audio/devicemessagesobserver.h"
#include "audio/levelmeter.h"
#include "platform/wavetypes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CAudioManager;
class CDeviceThread;
class MWaveBackend;
class MWaveDevice;

// Shared base of the recorder and the player: the manager, the wave format, the device
// thread, the chosen device and its buffers for one run, and the stopped flag (true when
// idle or stopping, false while running).
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

    // The device the next run opens, by the backend's name; empty (the start) follows the
    // backend's default. A name that is not present when the run starts opens the default.
    void SetDeviceName(std::string name) { m_deviceName = std::move(name); }
    const std::string& DeviceName() const { return m_deviceName; }
    // True when the last run (or check) found the chosen device missing and used the
    // default instead.
    bool FellBackToDefault() const { return m_fellBack.load(); }
    // True once the device of the current (or last) run went away during it: unplugged or
    // removed. Its buffers still come back, so what was captured until then is kept; the
    // controlling side stops the run. Any thread may poll it.
    bool DeviceLost() const { return m_deviceLost.load(); }

    void OnOpen() override {}
    // The buffers stay until the run is released (see above).
    void OnClose() override {}
    void OnDeviceLost() override { m_deviceLost = true; }
    void OnCaptured(const std::uint8_t* samples, std::size_t bytes) override
    {
        m_level.Add(samples, bytes);
    }
    // The input level of the current run, 0..1 (see CLevelMeter); any thread.
    float InputLevel() const { return m_level.Level(); }

protected:
    SWaveFormat BuildFormat() const;
    MWaveBackend& Backend();
    // Throws the backend's text for the code, or "Error in waveInGetErrorText()".
    [[noreturn]] void RaiseWaveError(int code);
    // Lists the devices of this device's family and queries the one a run would open.
    void CheckDevicesOf(const std::string& noDevicesMessage);

    // Starts the device thread, opens the chosen device with notices to it and allocates
    // `bufferCount` zeroed one-second buffers. On failure releases what it acquired and
    // throws (`threadMessage` when the thread cannot be created).
    void OpenRun(std::size_t bufferCount, const std::string& threadMessage);
    // Resets and closes the device and posts the quit message, then joins the thread and
    // releases the run, unless called on the device thread itself (the run is then
    // released by the next ReleaseEndedRun from another thread). Throws the first error
    // once everything has been done. The device thread and the controlling thread may both
    // call it at once: the first stops the run, the other finds it stopped.
    void EndRun(const std::string& quitMessage);
    // Joins and releases a run that was ended on its own thread. False when that cannot
    // be done from the calling thread.
    bool ReleaseEndedRun();
    bool OnDeviceThread() const;
    bool HasRun() const { return m_thread != nullptr; }

    CAudioManager& m_manager;
    const EWaveDirection m_direction;
    std::vector<std::uint8_t> m_blocks;
    std::vector<SWaveBuffer> m_buffers;
    std::unique_ptr<CDeviceThread> m_thread;
    std::unique_ptr<MWaveDevice> m_device;
    std::atomic<bool> m_stopped{true};

private:
    void ReleaseRun();
    // The name to open: the chosen one when present, else the default (empty).
    std::string ResolveDeviceName();

    std::mutex m_runMutex; // guards m_runEnded and the device's stop
    bool m_runEnded = false;
    std::string m_deviceName;
    std::atomic<bool> m_fellBack{false};
    std::atomic<bool> m_deviceLost{false};
    CLevelMeter m_level;
};
