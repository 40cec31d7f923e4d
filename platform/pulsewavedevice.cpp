#include "platform/pulsewavedevice.h"

#include "platform/pulseconnection.h"
#include "platform/pulsewavebackend.h"
#include "platform/threadpriority.h"
#include "platform/wavenoticesink.h"

#include <algorithm>
#include <pulse/error.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

namespace {

using Clock = std::chrono::steady_clock;

// The pump wakes once per input fragment, and often enough to keep the output's tenth
// of a second topped up.
constexpr std::chrono::milliseconds kInputPumpPeriod{20};
constexpr std::chrono::milliseconds kOutputPumpPeriod{10};
constexpr pa_usec_t kFragmentUsec = 20'000;     // input: what the server sends at a time
constexpr pa_usec_t kOutputAheadUsec = 100'000; // output: what the server holds
constexpr pa_usec_t kLongestStopWaitUsec = 500'000;
constexpr std::size_t kLargestOutputWrite = 16384;

using Lock = CPulseConnection::CLock;

} // namespace

CPulseWaveDevice::CPulseWaveDevice(EWaveDirection direction, MWaveNoticeSink& sink,
                                   std::shared_ptr<CPulseConnection> connection)
    : m_direction(direction), m_sink(sink), m_connection(std::move(connection)), m_queue(sink)
{}

CPulseWaveDevice::~CPulseWaveDevice()
{
    StopPump();
    ReleaseStream();
}

void CPulseWaveDevice::OnStreamState(pa_stream* stream, void* self)
{
    auto& device = *static_cast<CPulseWaveDevice*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        device.m_failed = true;
    CPulseConnection::Wake(device.m_connection->Mainloop());
}

void CPulseWaveDevice::OnUnderflow(pa_stream*, void* self)
{
    static_cast<CPulseWaveDevice*>(self)->m_underflow = true;
}

void CPulseWaveDevice::OnStreamSuccess(pa_stream*, int, void* mainloop)
{
    CPulseConnection::Wake(mainloop);
}

int CPulseWaveDevice::OpenStream(const std::string& name, const SWaveFormat& format)
{
    m_sampleFormat.format = format.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    m_sampleFormat.rate = format.samplesPerSec;
    m_sampleFormat.channels = static_cast<std::uint8_t>(format.channels);
    m_silence = format.bitsPerSample == 8 ? 0x80 : 0;
    if (!pa_sample_spec_valid(&m_sampleFormat))
        return PA_ERR_NOTSUPPORTED;
    m_staging.reserve(kLargestOutputWrite * 4);

    const bool input = m_direction == EWaveDirection::Input;
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength =
        input ? static_cast<std::uint32_t>(-1)
              : static_cast<std::uint32_t>(pa_usec_to_bytes(kOutputAheadUsec, &m_sampleFormat));
    // Output starts as soon as a fragment is there rather than when the whole tenth of a
    // second is, which a short last buffer may never fill.
    attributes.prebuf =
        input ? static_cast<std::uint32_t>(-1)
              : static_cast<std::uint32_t>(pa_usec_to_bytes(kFragmentUsec, &m_sampleFormat));
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize =
        input ? static_cast<std::uint32_t>(pa_usec_to_bytes(kFragmentUsec, &m_sampleFormat))
              : static_cast<std::uint32_t>(-1);
    const char* device = name.empty() ? nullptr : name.c_str();
    // A stream that moved to another device when its own went away would record or play
    // somewhere the user never chose; failing tells the engine instead.
    const auto common =
        static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);

    Lock lock(*m_connection);
    if (!m_connection->Ready())
        return CPulseWaveBackend::kErrorNoServer;
    m_stream = pa_stream_new(m_connection->Context(), input ? "Recording" : "Playback",
                             &m_sampleFormat, nullptr);
    if (!m_stream)
        return m_connection->LastError();
    pa_stream_set_state_callback(m_stream, &OnStreamState, this);
    if (!input)
        pa_stream_set_underflow_callback(m_stream, &OnUnderflow, this);
    const int connected =
        input ? pa_stream_connect_record(
                    m_stream, device, &attributes,
                    static_cast<pa_stream_flags_t>(common | PA_STREAM_START_CORKED))
              : pa_stream_connect_playback(
                    m_stream, device, &attributes,
                    static_cast<pa_stream_flags_t>(common | PA_STREAM_INTERPOLATE_TIMING |
                                                   PA_STREAM_AUTO_TIMING_UPDATE),
                    nullptr, nullptr);
    pa_stream_state_t state = PA_STREAM_CREATING;
    if (connected == 0) {
        while ((state = pa_stream_get_state(m_stream)) == PA_STREAM_CREATING)
            m_connection->Wait();
    }
    if (state != PA_STREAM_READY) {
        const int error = m_connection->LastError();
        DropStream();
        return error;
    }
    m_pump = std::thread([this] { Pump(); });
    return PA_OK;
}

void CPulseWaveDevice::ReleaseStream()
{
    Lock lock(*m_connection);
    DropStream();
}

void CPulseWaveDevice::DropStream()
{
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_set_underflow_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
}

void CPulseWaveDevice::Pump()
{
    // The output keeps only a tenth of a second at the server, so a late pump is heard as a
    // gap; the encoder and the decoder, on the device thread, have a second per buffer.
    ThreadPriority::RaiseForAudio();
    const auto period = m_direction == EWaveDirection::Input ? kInputPumpPeriod : kOutputPumpPeriod;
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        m_wake.wait_for(lock, period, [this] { return m_quit; });
        if (m_quit || m_reset || m_lost)
            continue;
        lock.unlock();
        {
            std::lock_guard consumer(m_consumerMutex);
            if (m_failed)
                ReportLoss();
            else if (m_direction == EWaveDirection::Input)
                MoveInput();
            else
                MoveOutput();
        }
        lock.lock();
    }
}

void CPulseWaveDevice::StopPump()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_pump.joinable())
        m_pump.join();
}

void CPulseWaveDevice::MoveInput()
{
    m_staging.clear();
    {
        Lock lock(*m_connection);
        if (!m_stream)
            return;
        for (;;) {
            const void* data = nullptr;
            std::size_t size = 0;
            if (pa_stream_peek(m_stream, &data, &size) < 0 || size == 0)
                break;
            // A hole is time the server has no samples for; silence keeps the time line.
            if (data) {
                const auto* bytes = static_cast<const std::uint8_t*>(data);
                m_staging.insert(m_staging.end(), bytes, bytes + size);
            } else {
                m_staging.insert(m_staging.end(), size, m_silence);
            }
            pa_stream_drop(m_stream);
        }
    }
    m_transferred += m_staging.size();
    // Samples beyond the queued buffers' room are lost, as on a card whose driver overflows.
    m_queue.Fill(m_staging.data(), m_staging.size());
}

void CPulseWaveDevice::MoveOutput()
{
    std::size_t writable = 0;
    {
        Lock lock(*m_connection);
        if (!m_stream)
            return;
        writable = pa_stream_writable_size(m_stream);
        if (writable == static_cast<std::size_t>(-1))
            writable = 0;
    }
    m_staging.resize(std::min(writable, kLargestOutputWrite));
    const std::size_t taken = m_queue.Take(m_staging.data(), m_staging.size());
    std::uint64_t played = 0;
    {
        Lock lock(*m_connection);
        if (!m_stream)
            return;
        // The server ran dry: what was written before has all been played.
        if (m_underflow.exchange(false))
            m_playedFloor = m_transferred;
        if (taken > 0 &&
            pa_stream_write(m_stream, m_staging.data(), taken, nullptr, 0, PA_SEEK_RELATIVE) == 0)
            m_transferred += taken;
        // The server waits for a tenth of a second before it starts playing; the end of
        // what was queued must not wait for more that never comes.
        if (m_transferred > m_triggeredAt && m_queue.Empty()) {
            if (pa_operation* operation = pa_stream_trigger(m_stream, nullptr, nullptr))
                pa_operation_unref(operation);
            m_triggeredAt = m_transferred;
        }
        pa_usec_t time = 0;
        // The estimate runs on between the server's reports; nothing can have played
        // that was not written.
        if (pa_stream_get_time(m_stream, &time) == 0)
            played =
                std::min<std::uint64_t>(pa_usec_to_bytes(time, &m_sampleFormat), m_transferred);
        played = std::max(played, m_playedFloor);
    }
    m_queue.ReleasePlayed(played);
}

void CPulseWaveDevice::ReportLoss()
{
    if (m_lossReported)
        return;
    m_lossReported = true;
    {
        std::lock_guard lock(m_mutex);
        m_lost = true;
    }
    m_sink.PostWaveNotice(EWaveNotice::Lost, nullptr);
    // What was captured so far is kept: the buffers go back with what they hold.
    m_queue.ReturnAll();
}

int CPulseWaveDevice::AddBuffer(SWaveBuffer& buffer)
{
    std::lock_guard lock(m_mutex);
    if (m_reset || m_closed || m_lost)
        return CPulseWaveBackend::kErrorStopped;
    m_queue.Add(buffer);
    return PA_OK;
}

int CPulseWaveDevice::Cork(bool cork, bool flush)
{
    Lock lock(*m_connection);
    if (!m_stream || m_failed)
        return CPulseWaveBackend::kErrorStopped;
    pa_threaded_mainloop* mainloop = m_connection->Mainloop();
    if (flush && !m_connection->Await(pa_stream_flush(m_stream, &OnStreamSuccess, mainloop)))
        return m_connection->LastError();
    if (!m_connection->Await(pa_stream_cork(m_stream, cork ? 1 : 0, &OnStreamSuccess, mainloop)))
        return m_connection->LastError();
    return PA_OK;
}

int CPulseWaveDevice::Start()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_reset || m_closed || m_lost)
            return CPulseWaveBackend::kErrorStopped;
    }
    if (m_direction == EWaveDirection::Output)
        return PA_OK;
    return Cork(false, false);
}

// The server delivers what it captured some milliseconds after capturing it. The stream's
// latency says how much it holds that has not reached us yet; that much more is taken in,
// waiting (boundedly) for it, so the recording ends at the moment of the stop request.
void CPulseWaveDevice::DrainInputUntil(Clock::time_point instant)
{
    pa_usec_t latency = 0;
    {
        Lock lock(*m_connection);
        if (!m_stream)
            return;
        m_connection->Await(
            pa_stream_update_timing_info(m_stream, &OnStreamSuccess, m_connection->Mainloop()));
        int negative = 0;
        if (pa_stream_get_latency(m_stream, &latency, &negative) < 0 || negative)
            latency = 0;
    }
    latency = std::min(latency, kLongestStopWaitUsec);
    MoveInput();
    const std::uint64_t target = m_transferred + pa_usec_to_bytes(latency, &m_sampleFormat);
    const auto deadline = instant + std::chrono::microseconds(latency) + 2 * kInputPumpPeriod;
    while (m_transferred < target && !m_failed && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        MoveInput();
    }
}

int CPulseWaveDevice::Reset()
{
    const Clock::time_point requested = Clock::now();
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return CPulseWaveBackend::kErrorStopped;
        m_reset = true;
    }
    std::lock_guard consumer(m_consumerMutex);
    // A device lost before the pump noticed is reported here, so the loss is never missed;
    // stopping it is no further error.
    if (m_failed) {
        ReportLoss();
        return PA_OK;
    }
    int error = PA_OK;
    if (m_direction == EWaveDirection::Input) {
        DrainInputUntil(requested);
        error = Cork(true, false);
    } else {
        error = Cork(true, true);
    }
    if (m_failed) {
        ReportLoss();
        return PA_OK;
    }
    m_queue.ReturnAll();
    return error;
}

int CPulseWaveDevice::Close()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return CPulseWaveBackend::kErrorStopped;
        m_closed = true;
    }
    StopPump();
    {
        std::lock_guard consumer(m_consumerMutex);
        m_queue.ReturnAll();
    }
    ReleaseStream();
    m_sink.PostWaveNotice(EWaveNotice::Close, nullptr);
    return PA_OK;
}
