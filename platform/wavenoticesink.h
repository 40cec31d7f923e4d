#pragma once

#include "platform/wavetypes.h"

// Receives a device's notices. Called on a backend thread (never on a real-time audio
// callback); an implementation only queues the notice for its own thread.
class MWaveNoticeSink
{
public:
    virtual ~MWaveNoticeSink() = default;
    // Returns false when the notice could not be queued (the receiving thread has quit).
    virtual bool PostWaveNotice(EWaveNotice notice, SWaveBuffer* buffer) = 0;
};
