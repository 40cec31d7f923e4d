#pragma once

#include "platform/spscring.h"
#include "platform/wavebufferqueue.h"
#include "platform/wavedevice.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <portaudio.h>
#include <thread>

class MWaveNoticeSink;

// One PortAudio stream as a wave device. The stream's callback runs on PortAudio's
// real-time thread and only moves samples through a lock-free ring (it never locks,
// allocates or logs); a pump thread moves them between the ring and the queued buffers
// every few milliseconds and sends the notices. An output buffer is handed back once
// the callback has taken its last sample from the ring.
class CPortAudioWaveDevice : public MWaveDevice
{
public:
    CPortAudioWaveDevice(EWaveDirection direction, MWaveNoticeSink& sink);
    ~CPortAudioWaveDevice() override;

    // PortAudio's stream parameters for the format: 8-bit samples are paUInt8.
    static int StreamParameters(int device, const SWaveFormat& format,
                                PaStreamParameters& parameters);

    // Opens the stream (and starts an output stream, which plays silence until the
    // first buffer arrives) and the pump. 0 or PortAudio's error code.
    int OpenStream(int device, const SWaveFormat& format);

    int AddBuffer(SWaveBuffer& buffer) override;
    int Start() override;
    int Reset() override;
    int Close() override;

private:
    static int Callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* self);
    void Pump();
    void MoveSamples(); // under m_consumerMutex
    void StopPump();
    int StopStream(bool drainInput);

    static constexpr std::size_t kChunk = 512;

    const EWaveDirection m_direction;
    MWaveNoticeSink& m_sink;
    CWaveBufferQueue m_queue;
    CSpscRing m_ring{16384}; // about two seconds: room for a late pump
    std::array<std::uint8_t, kChunk> m_chunk{};
    PaStream* m_stream = nullptr;
    std::uint8_t m_silence = 0x80;

    // Serialises the non-real-time side of the ring (pump, Reset, Close).
    std::mutex m_consumerMutex;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_reset = false;
    bool m_closed = false;
    bool m_quit = false;
    std::thread m_pump;
};
