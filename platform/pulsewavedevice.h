#pragma once

#include "platform/wavebufferqueue.h"
#include "platform/wavedevice.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <pulse/sample.h>
#include <string>
#include <thread>
#include <vector>

class CPulseConnection;
class MWaveNoticeSink;
struct pa_stream;

// One stream of the sound server as a wave device. No code of ours runs in libpulse's
// callbacks beyond noting a state change: a pump thread moves samples between the stream
// and the queued buffers every few milliseconds and sends the notices.
//
// Input opens corked and Start uncorks it, waiting for the server, so capture runs when
// Start returns. Fragments are small and the latency follows them, and Reset takes in
// what the server had captured up to the moment it was called before handing the buffers
// back. Output keeps about a tenth of a second at the server; a buffer is handed back once
// the stream's playing position has passed its last sample, and Reset drops what the
// server still holds. The stream never follows its device elsewhere: a device that goes
// away fails the stream, which posts Lost and hands back the buffers.
class CPulseWaveDevice : public MWaveDevice
{
public:
    CPulseWaveDevice(EWaveDirection direction, MWaveNoticeSink& sink,
                     std::shared_ptr<CPulseConnection> connection);
    ~CPulseWaveDevice() override;
    CPulseWaveDevice(const CPulseWaveDevice&) = delete;
    CPulseWaveDevice& operator=(const CPulseWaveDevice&) = delete;

    // Connects the stream to the device named (empty: the server's default) and starts
    // the pump. 0 or libpulse's error code.
    int OpenStream(const std::string& name, const SWaveFormat& format);

    int AddBuffer(SWaveBuffer& buffer) override;
    int Start() override;
    int Reset() override;
    int Close() override;

private:
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnUnderflow(pa_stream* stream, void* self);
    static void OnStreamSuccess(pa_stream* stream, int success, void* mainloop);

    void Pump();
    void StopPump();
    // Under m_consumerMutex.
    void MoveInput();
    void MoveOutput();
    void DrainInputUntil(std::chrono::steady_clock::time_point instant);
    void ReportLoss();
    // Corks (or uncorks) the stream and waits for the server; flushes first when asked.
    int Cork(bool cork, bool flush);
    void ReleaseStream();
    void DropStream(); // under the connection's lock

    const EWaveDirection m_direction;
    MWaveNoticeSink& m_sink;
    const std::shared_ptr<CPulseConnection> m_connection;
    CWaveBufferQueue m_queue;
    pa_sample_spec m_sampleFormat{};
    std::uint8_t m_silence = 0x80;
    pa_stream* m_stream = nullptr;        // under the connection's lock
    std::atomic<bool> m_failed{false};    // set by the event thread
    std::atomic<bool> m_underflow{false}; // output: set by the event thread
    std::vector<std::uint8_t> m_staging;  // consumer side
    std::uint64_t m_transferred = 0;      // bytes read or written, consumer side
    std::uint64_t m_triggeredAt = 0;      // output: m_transferred at the last trigger
    std::uint64_t m_playedFloor = 0;      // output: played for certain (before an underflow)
    bool m_lossReported = false;          // consumer side

    // Serialises the pump and the calls that move samples themselves (Reset, Close).
    std::mutex m_consumerMutex;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_reset = false;
    bool m_closed = false;
    bool m_lost = false;
    bool m_quit = false;
    std::thread m_pump;
};
