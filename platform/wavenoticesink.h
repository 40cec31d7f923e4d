#pragma once

#include "platform/wavetypes.h"

#include <cstddef>
#include <cstdint>

// Receives a device's notices. Called on a backend thread (never on a real-time audio
// callback); an implementation only queues the notice for its own thread.
class MWaveNoticeSink
{
public:
    virtual ~MWaveNoticeSink() = default;
    // Returns false when the notice could not be queued (the receiving thread has quit).
    virtual bool PostWaveNotice(EWaveNotice notice, SWaveBuffer* buffer) = 0;
    // Input: the bytes just copied into the queued buffers, on the thread that copied
    // them, as they arrive (far more often than a buffer fills). It must return at once:
    // no lock, no allocation, no waiting.
    virtual void OnCaptured(const std::uint8_t* samples, std::size_t bytes)
    {
        (void)samples;
        (void)bytes;
    }
};
