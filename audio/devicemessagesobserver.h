#pragma once

#include <cstddef>
#include <cstdint>

struct SWaveBuffer;

// What a wave device reports to its device thread, which calls these in order.
class MDeviceMessagesObserver
{
public:
    virtual ~MDeviceMessagesObserver() = default;
    // The device is open.
    virtual void OnOpen() = 0;
    // The device is closed: no further notice comes from it.
    virtual void OnClose() = 0;
    // The device hands a queued buffer back: filled (input) or played (output).
    virtual void OnBufferDone(SWaveBuffer& buffer) = 0;
    // The device went away during the run; its buffers come back after this.
    virtual void OnDeviceLost() = 0;
    // Input samples just captured, called at once on the backend's thread (not through
    // the queue): it must not block.
    virtual void OnCaptured(const std::uint8_t* samples, std::size_t bytes)
    {
        (void)samples;
        (void)bytes;
    }
};
