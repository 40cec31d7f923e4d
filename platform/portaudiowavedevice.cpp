#include "platform/portaudiowavedevice.h"

#include "platform/threadpriority.h"
#include "platform/wavenoticesink.h"

#include <chrono>
#include <cstring>

CPortAudioWaveDevice::CPortAudioWaveDevice(EWaveDirection direction, MWaveNoticeSink& sink)
    : m_direction(direction), m_sink(sink), m_queue(sink)
{}

CPortAudioWaveDevice::~CPortAudioWaveDevice()
{
    if (m_stream) {
        Pa_AbortStream(m_stream);
        StopPump();
        Pa_CloseStream(m_stream);
    }
}

int CPortAudioWaveDevice::StreamParameters(int device, const SWaveFormat& format,
                                           PaStreamParameters& parameters)
{
    if (format.formatTag != 1 || format.bitsPerSample != 8)
        return paSampleFormatNotSupported;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (!info)
        return paInvalidDevice;
    parameters = PaStreamParameters{};
    parameters.device = device;
    parameters.channelCount = format.channels;
    parameters.sampleFormat = paUInt8;
    parameters.suggestedLatency = info->defaultLowInputLatency > info->defaultLowOutputLatency
                                      ? info->defaultLowInputLatency
                                      : info->defaultLowOutputLatency;
    parameters.hostApiSpecificStreamInfo = nullptr;
    return paNoError;
}

int CPortAudioWaveDevice::OpenStream(int device, const SWaveFormat& format)
{
    PaStreamParameters parameters{};
    if (const int error = StreamParameters(device, format, parameters))
        return error;
    const bool input = m_direction == EWaveDirection::Input;
    PaStream* stream = nullptr;
    PaError error = Pa_OpenStream(&stream, input ? &parameters : nullptr,
                                  input ? nullptr : &parameters, format.samplesPerSec,
                                  paFramesPerBufferUnspecified, paClipOff, &Callback, this);
    if (error != paNoError)
        return error;
    if (!input) {
        error = Pa_StartStream(stream);
        if (error != paNoError) {
            Pa_CloseStream(stream);
            return error;
        }
    }
    m_stream = stream;
    m_pump = std::thread([this] { Pump(); });
    return paNoError;
}

// PortAudio's real-time thread: ring operations only.
int CPortAudioWaveDevice::Callback(const void* input, void* output, unsigned long frames,
                                   const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
                                   void* self)
{
    auto& device = *static_cast<CPortAudioWaveDevice*>(self);
    if (input) {
        // Samples beyond the ring's room are lost, as on a card whose driver overflows.
        device.m_ring.Write(static_cast<const std::uint8_t*>(input), frames);
    }
    if (output) {
        auto* out = static_cast<std::uint8_t*>(output);
        const std::size_t n = device.m_ring.Read(out, frames);
        std::memset(out + n, device.m_silence, frames - n);
    }
    return paContinue;
}

void CPortAudioWaveDevice::MoveSamples()
{
    if (m_direction == EWaveDirection::Input) {
        for (std::size_t n; (n = m_ring.Read(m_chunk.data(), m_chunk.size())) > 0;)
            m_queue.Fill(m_chunk.data(), n);
        return;
    }
    for (std::size_t space; (space = m_ring.Space()) > 0;) {
        const std::size_t n = m_queue.Take(m_chunk.data(), std::min(space, m_chunk.size()));
        if (n == 0)
            break;
        m_ring.Write(m_chunk.data(), n);
    }
    m_queue.ReleasePlayed(m_ring.TotalRead());
}

void CPortAudioWaveDevice::Pump()
{
    // The ring holds about two seconds, but the output callback underruns as soon as the
    // pump is late refilling it.
    ThreadPriority::RaiseForAudio();
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        m_wake.wait_for(lock, std::chrono::milliseconds(5), [this] { return m_quit; });
        if (m_quit || m_reset)
            continue;
        lock.unlock();
        {
            std::lock_guard consumer(m_consumerMutex);
            MoveSamples();
        }
        lock.lock();
    }
}

void CPortAudioWaveDevice::StopPump()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_pump.joinable())
        m_pump.join();
}

int CPortAudioWaveDevice::AddBuffer(SWaveBuffer& buffer)
{
    std::lock_guard lock(m_mutex);
    if (m_reset || m_closed)
        return paStreamIsStopped;
    m_queue.Add(buffer);
    return paNoError;
}

int CPortAudioWaveDevice::Start()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_reset || m_closed)
            return paStreamIsStopped;
    }
    if (m_direction == EWaveDirection::Output)
        return paNoError;
    return Pa_StartStream(m_stream);
}

// Input: the stream is stopped gracefully, so what the card already captured reaches
// the ring and then the buffers. Output: playing stops at once.
int CPortAudioWaveDevice::StopStream(bool drainInput)
{
    PaError error = paNoError;
    if (Pa_IsStreamStopped(m_stream) == 0)
        error = drainInput ? Pa_StopStream(m_stream) : Pa_AbortStream(m_stream);
    std::lock_guard consumer(m_consumerMutex);
    if (m_direction == EWaveDirection::Input && drainInput)
        MoveSamples();
    m_queue.ReturnAll();
    return error;
}

int CPortAudioWaveDevice::Reset()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return paBadStreamPtr;
        m_reset = true;
    }
    return StopStream(m_direction == EWaveDirection::Input);
}

int CPortAudioWaveDevice::Close()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return paBadStreamPtr;
        m_closed = true;
    }
    StopStream(false);
    StopPump();
    const PaError error = Pa_CloseStream(m_stream);
    m_stream = nullptr;
    m_sink.PostWaveNotice(EWaveNotice::Close, nullptr);
    return error;
}
