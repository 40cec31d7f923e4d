#pragma once

#include "platform/filehandle.h"
#include "platform/siminputsource.h"
#include "platform/wavebufferqueue.h"
#include "platform/wavedevice.h"

#include <array>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

class MWaveNoticeSink;

// One open simulated device. A clock thread moves samples in 20 ms periods: from the
// input source into the queued buffers, or from the queued buffers to the output file.
// In real time it keeps the pace of a sound card: input arriving while no buffer is
// queued is lost, and silence the output had to play for want of a buffer is written
// to the file when the next samples follow it, so gaps show there. In fast mode it moves
// as fast as buffers are queued and loses nothing.
class CSimWaveDevice : public MWaveDevice
{
public:
    static constexpr std::size_t kPeriodSamples = 160; // 20 ms at 8000 Hz

    using FilePtr = ::FilePtr;

    // Input device.
    CSimWaveDevice(MWaveNoticeSink& sink, bool realtime, std::unique_ptr<CSimInputSource> input);
    // Output device; `output` may be null (samples are then dropped).
    CSimWaveDevice(MWaveNoticeSink& sink, bool realtime, FilePtr output);
    ~CSimWaveDevice() override;

    int AddBuffer(SWaveBuffer& buffer) override;
    int Start() override;
    int Reset() override;
    int Close() override;

    // Error code of an operation after Reset or Close.
    static constexpr int kErrorStopped = 6;

private:
    void BeginClock();
    void Run();
    bool Active() const; // under m_mutex
    void MoveInput();
    void MoveOutput(bool underrunCounts);
    void StopClock();

    MWaveNoticeSink& m_sink;
    const bool m_realtime;
    std::unique_ptr<CSimInputSource> m_input;
    FilePtr m_output;
    CWaveBufferQueue m_queue;
    std::array<std::uint8_t, kPeriodSamples> m_period{};
    std::size_t m_pendingSilence = 0; // output: played for want of a buffer, not yet written
    bool m_playedAny = false;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_started = false;
    bool m_reset = false;
    bool m_closed = false;
    bool m_quit = false;
    std::thread m_clock;
};
