#include "platform/simwavedevice.h"

#include "platform/wavenoticesink.h"

#include <chrono>
#include <cstring>

CSimWaveDevice::CSimWaveDevice(MWaveNoticeSink& sink, bool realtime,
                               std::unique_ptr<CSimInputSource> input)
    : m_sink(sink), m_realtime(realtime), m_input(std::move(input)), m_queue(sink)
{
    BeginClock();
}

CSimWaveDevice::CSimWaveDevice(MWaveNoticeSink& sink, bool realtime, FilePtr output)
    : m_sink(sink), m_realtime(realtime), m_output(std::move(output)), m_queue(sink)
{
    BeginClock();
}

CSimWaveDevice::~CSimWaveDevice()
{
    StopClock();
}

void CSimWaveDevice::BeginClock()
{
    m_clock = std::thread([this] { Run(); });
}

void CSimWaveDevice::StopClock()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_clock.joinable())
        m_clock.join();
}

bool CSimWaveDevice::Active() const
{
    if (m_reset || m_closed)
        return false;
    return m_input ? m_started : true;
}

int CSimWaveDevice::AddBuffer(SWaveBuffer& buffer)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_reset || m_closed)
            return kErrorStopped;
        m_queue.Add(buffer);
    }
    m_wake.notify_all();
    return 0;
}

int CSimWaveDevice::Start()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_reset || m_closed)
            return kErrorStopped;
        m_started = true;
    }
    m_wake.notify_all();
    return 0;
}

int CSimWaveDevice::Reset()
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return kErrorStopped;
    m_reset = true;
    m_queue.ReturnAll();
    return 0;
}

int CSimWaveDevice::Close()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return kErrorStopped;
        m_closed = true;
        m_queue.ReturnAll();
    }
    StopClock();
    if (m_output)
        std::fflush(m_output.get());
    m_sink.PostWaveNotice(EWaveNotice::Close, nullptr);
    return 0;
}

// The transfers run under m_mutex, so that Reset and Close see a period either not yet
// moved or moved whole.
void CSimWaveDevice::Run()
{
    using Clock = std::chrono::steady_clock;
    auto next = Clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (m_realtime) {
            next += std::chrono::milliseconds(20);
            m_wake.wait_until(lock, next, [this] { return m_quit; });
        } else {
            m_wake.wait(lock, [this] { return m_quit || (Active() && !m_queue.Empty()); });
        }
        if (m_quit)
            break;
        if (!Active())
            continue;
        if (m_input)
            MoveInput();
        else
            MoveOutput(m_realtime);
    }
}

void CSimWaveDevice::MoveInput()
{
    // A real device captures whether or not a buffer is waiting; in fast mode the
    // simulated one waits for buffers instead (the loop only gets here with one queued).
    m_input->Read(m_period.data(), m_period.size());
    m_queue.Fill(m_period.data(), m_period.size());
}

void CSimWaveDevice::MoveOutput(bool underrunCounts)
{
    const std::size_t n = m_queue.Take(m_period.data(), m_period.size());
    if (n > 0) {
        if (m_output && m_pendingSilence > 0) {
            std::array<std::uint8_t, kPeriodSamples> silence;
            silence.fill(0x80);
            for (; m_pendingSilence > 0;) {
                const std::size_t chunk = std::min(m_pendingSilence, silence.size());
                std::fwrite(silence.data(), 1, chunk, m_output.get());
                m_pendingSilence -= chunk;
            }
        }
        if (m_output) {
            std::fwrite(m_period.data(), 1, n, m_output.get());
            std::fflush(m_output.get());
        }
        m_playedAny = true;
    }
    if (underrunCounts && m_playedAny)
        m_pendingSilence += m_period.size() - n;
    m_queue.ReleasePlayed(m_queue.TakenTotal());
}
