#pragma once

#include "platform/wavetypes.h"

// An open wave device (input or output). Results are 0 on success, otherwise a backend
// error code that MWaveBackend::ErrorText turns into a message. Every operation may be
// called from any thread; notices go to the sink given at opening.
class MWaveDevice
{
public:
    // Closes the device if Close was not called; no notice follows destruction.
    virtual ~MWaveDevice() = default;

    // Queues a buffer. Input: filled from its start, handed back (Done) when full.
    // Output: its `length` bytes are played after those queued before, and the buffer is
    // handed back once they have been played. Fails after Reset or Close, and once the
    // device has been lost (the Lost notice, after which the buffers come back).
    virtual int AddBuffer(SWaveBuffer& buffer) = 0;
    // Input: starts the capture into the queued buffers. Output: nothing; playing
    // begins with the first queued buffer.
    virtual int Start() = 0;
    // Stops the device. Before it returns, every buffer still queued has been handed
    // back in queue order; an input buffer partly filled carries its bytesRecorded.
    virtual int Reset() = 0;
    // Hands back whatever is still queued, then posts the Close notice: the last notice.
    virtual int Close() = 0;
};
