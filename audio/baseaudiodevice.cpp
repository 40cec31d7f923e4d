#include "audio/baseaudiodevice.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/devicethread.h"
#include "platform/wavebackend.h"
#include "platform/wavedevice.h"

#include <optional>
#include <system_error>

CBaseAudioDevice::CBaseAudioDevice(CAudioManager& manager, EWaveDirection direction)
    : m_manager(manager), m_direction(direction)
{}

// Derived destructors end their runs; this only makes sure no thread outlives us.
CBaseAudioDevice::~CBaseAudioDevice() = default;

SWaveFormat CBaseAudioDevice::BuildFormat() const
{
    return MakeWaveFormat(m_manager.SampleRate(),
                          static_cast<std::uint16_t>(m_manager.BitsPerSample()),
                          static_cast<std::uint16_t>(m_manager.Channels()));
}

MWaveBackend& CBaseAudioDevice::Backend()
{
    return m_manager.GetWaveBackend();
}

void CBaseAudioDevice::RaiseWaveError(int code)
{
    std::string text;
    if (!Backend().ErrorText(code, text))
        throw CAudioError(EAudioErrc::DeviceError, "Error in waveInGetErrorText()");
    throw CAudioError(EAudioErrc::DeviceError, text);
}

std::string CBaseAudioDevice::ResolveDeviceName()
{
    const bool missing =
        !m_deviceName.empty() && !HasWaveDevice(Backend().Devices(m_direction), m_deviceName);
    m_fellBack = missing;
    return missing ? std::string() : m_deviceName;
}

void CBaseAudioDevice::CheckDevicesOf(const std::string& noDevicesMessage)
{
    MWaveBackend& backend = Backend();
    const std::vector<SWaveDeviceInfo> devices = backend.Devices(m_direction);
    if (devices.empty())
        throw CAudioError(m_direction == EWaveDirection::Input ? EAudioErrc::NoInputDevice
                                                               : EAudioErrc::NoOutputDevice,
                          noDevicesMessage);
    const bool missing = !m_deviceName.empty() && !HasWaveDevice(devices, m_deviceName);
    m_fellBack = missing;
    if (const int error =
            backend.QueryFormat(m_direction, missing ? std::string() : m_deviceName, BuildFormat()))
        RaiseWaveError(error);
}

bool CBaseAudioDevice::OnDeviceThread() const
{
    return m_thread && m_thread->IsCurrent();
}

void CBaseAudioDevice::OpenRun(std::size_t bufferCount, const std::string& threadMessage)
{
    try {
        m_thread = std::make_unique<CDeviceThread>(*this);
    } catch (const std::system_error&) {
        throw CAudioError(EAudioErrc::ThreadCreation, threadMessage);
    }
    {
        std::lock_guard lock(m_runMutex);
        m_runEnded = false;
    }
    m_deviceLost = false;
    // Set before the device opens, so before anything is captured.
    m_level.Start(static_cast<int>(m_manager.BitsPerSample()), m_manager.SampleRate());
    const int error =
        Backend().Open(m_direction, ResolveDeviceName(), BuildFormat(), *m_thread, m_device);
    if (error) {
        ReleaseRun();
        RaiseWaveError(error);
    }
    const std::size_t blockSize = m_manager.BytesPerSecondOfDevice();
    m_blocks.assign(bufferCount * blockSize, 0);
    m_buffers.assign(bufferCount, SWaveBuffer{});
    for (std::size_t i = 0; i < bufferCount; ++i) {
        m_buffers[i].data = m_blocks.data() + i * blockSize;
        m_buffers[i].length = blockSize;
    }
}

void CBaseAudioDevice::EndRun(const std::string& quitMessage)
{
    m_stopped = true;
    if (!m_thread)
        return;
    std::optional<int> failure;
    bool quitPosted = true;
    bool endedHere = false;
    {
        // The end-of-playback handler may end the run on the device thread while the
        // controlling thread ends it too: only one of them stops the device.
        std::lock_guard lock(m_runMutex);
        if (!m_runEnded) {
            if (m_device) {
                if (const int error = m_device->Reset())
                    failure = error;
                if (const int error = m_device->Close(); error && !failure)
                    failure = error;
            }
            quitPosted = m_thread->PostQuit();
            m_runEnded = true;
            endedHere = true;
        }
    }
    // Joined outside the lock: the device thread may be waiting for it in its own stop.
    ReleaseEndedRun();
    if (!endedHere)
        return;
    if (failure)
        RaiseWaveError(*failure);
    if (!quitPosted)
        throw CAudioError(EAudioErrc::ThreadMessage, quitMessage);
}

bool CBaseAudioDevice::ReleaseEndedRun()
{
    if (!m_thread)
        return true;
    {
        std::lock_guard lock(m_runMutex);
        if (!m_runEnded)
            return false;
    }
    if (OnDeviceThread())
        return false;
    m_thread->Join();
    ReleaseRun();
    return true;
}

void CBaseAudioDevice::ReleaseRun()
{
    if (m_device)
        m_device->Close(); // a no-op error when EndRun closed it; here for failed starts
    m_device.reset();
    m_thread.reset(); // posts the quit message if needed and joins
    m_buffers.clear();
    m_blocks.clear();
    std::lock_guard lock(m_runMutex);
    m_runEnded = false;
}
