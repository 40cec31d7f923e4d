#include "audio/player.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/devicethread.h"
#include "platform/scopeexit.h"
#include "platform/wavedevice.h"

#include <algorithm>
#include <cmath>
#include <sonic.h>
#include <vector>

namespace {
// The speed's stream is fed this much of the record at a time.
constexpr std::size_t kSonicChunk = 1600;
} // namespace

void CPlayer::SSonicDeleter::operator()(sonicStreamStruct* stream) const
{
    sonicDestroyStream(stream);
}

CPlayer::CPlayer(CAudioManager& manager, CBaseDecoder* decoder)
    : CBaseAudioDevice(manager, EWaveDirection::Output), m_decoderOverride(decoder)
{}

CPlayer::~CPlayer()
{
    try {
        StopPlaying();
    } catch (const CAudioError&) {
        // A destructor cannot report; the run has been released all the same.
    }
    ReleaseEndedRun();
}

void CPlayer::CheckDevices()
{
    CheckDevicesOf("Player: There are no output audio devices");
}

void CPlayer::Play(const std::string& path, std::uint64_t startSample)
{
    if (OnDeviceThread())
        throw CAudioError(EAudioErrc::PlaybackFromEndHandler,
                          "Player: Cannot start a playback from the end-of-playback handler");
    if (HasRun() || m_decoder)
        StopPlaying();
    try {
        const std::uint32_t codec = m_manager.GetSuitableCodec(path);
        CheckDevices();
        if (!m_decoderOverride)
            m_ownDecoder = m_manager.CreateDecoder(codec);
        m_decoder = m_decoderOverride ? m_decoderOverride : m_ownDecoder.get();
        m_decoder->Open(path, m_manager);
        {
            std::lock_guard lock(m_decoderMutex);
            m_decoderOpen = true;
        }
        m_position = Skip(startSample);
        m_sonic.reset();
        m_recordRead = 0;
        m_recordQueued = 0;
        m_recordEnded = false;
        m_sonicFlushed = false;
        Start();
    } catch (...) {
        CloseDecoder();
        throw;
    }
}

std::uint64_t CPlayer::Skip(std::uint64_t samples)
{
    std::vector<std::uint8_t> scratch(m_manager.BytesPerSecondOfDevice());
    std::uint64_t skipped = 0;
    while (skipped < samples) {
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(scratch.size(), samples - skipped));
        const SDecoded read = m_decoder->Read(std::span(scratch).first(wanted));
        skipped += read.size;
        if (read.end || read.size == 0)
            break;
    }
    return skipped;
}

void CPlayer::StopPlaying()
{
    const CScopeExit closeDecoder([this] { CloseDecoder(); });
    Stop();
}

void CPlayer::CloseDecoder()
{
    std::lock_guard lock(m_decoderMutex);
    if (m_decoderOpen)
        m_decoder->Close();
    m_decoderOpen = false;
    m_decoder = nullptr;
    m_ownDecoder.reset();
}

void CPlayer::Start()
{
    OpenRun(kBufferCount, "Player: Cannot create the thread for output");
    {
        std::lock_guard lock(m_playheadMutex);
        m_queued.clear();
        m_blockStarted = std::chrono::steady_clock::now();
    }
    m_endReported = false;
    m_outstanding = m_buffers.size();
    for (SWaveBuffer& buffer : m_buffers)
        buffer.length = 0; // nothing of the record has been played from them yet
    SetDrained(false);
    m_stopped = false;
    // Prime the pipeline: the playback thread takes the empty buffers as if the device
    // had just played them, and decodes the first seconds into them. They are posted
    // together: a short record may otherwise end, and the run with it, between two posts.
    if (!m_thread->PostDoneForEach(m_buffers)) {
        try {
            Stop();
        } catch (const CAudioError&) {
            // The priming failure below is the error to report.
        }
        throw CAudioError(EAudioErrc::ThreadMessage,
                          "Player: Cannot PostThreadMessage with MM_WOM_DONE");
    }
}

void CPlayer::Stop()
{
    // The flag goes first, so the buffers the reset returns are neither refilled nor queued.
    EndRun("Player: Cannot PostThreadMessage with WM_QUIT");
    if (!OnDeviceThread())
        SetDrained(true);
}

bool CPlayer::WaitUntilStopped(std::chrono::milliseconds timeout)
{
    if (OnDeviceThread())
        return IsStopped();
    bool drained;
    {
        std::unique_lock lock(m_drainMutex);
        drained = m_drainChanged.wait_for(lock, timeout, [this] { return m_drained; });
    }
    if (drained)
        ReleaseEndedRun();
    return drained;
}

void CPlayer::SetDrained(bool drained)
{
    {
        std::lock_guard lock(m_drainMutex);
        m_drained = drained;
    }
    m_drainChanged.notify_all();
}

void CPlayer::SetSpeed(double speed)
{
    m_speed = std::clamp(speed, kSlowest, kFastest);
}

std::uint64_t CPlayer::PlayheadSamples() const
{
    std::lock_guard lock(m_playheadMutex);
    const std::uint64_t position = m_position.load();
    if (m_queued.empty() || m_queued.front().deviceSamples == 0)
        return position;
    const SQueued& playing = m_queued.front();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_blockStarted).count();
    const double share = std::clamp(
        seconds * m_manager.SampleRate() / static_cast<double>(playing.deviceSamples), 0.0, 1.0);
    return position +
           static_cast<std::uint64_t>(share * static_cast<double>(playing.recordSamples));
}

SDecoded CPlayer::ReadDecoder(std::span<std::uint8_t> buffer)
{
    std::lock_guard lock(m_decoderMutex);
    if (!m_decoderOpen)
        return {0, true};
    try {
        return m_decoder->Read(buffer);
    } catch (const std::exception&) {
        // A record damaged further on cannot be played on: what was read plays out
        // and the playback ends there, as at the end of the stream.
        return {0, true};
    }
}

bool CPlayer::Decode(SWaveBuffer& buffer, std::uint64_t& recordSamples)
{
    const auto speed = static_cast<float>(m_speed.load());
    if (m_sonic || speed != 1.0f) {
        if (!m_sonic)
            m_sonic.reset(sonicCreateStream(static_cast<int>(m_manager.SampleRate()), 1));
        if (m_sonic)
            return DecodeAtSpeed(buffer, speed, recordSamples);
        // Without the memory for the stream the record plays as recorded.
    }
    const SDecoded read = ReadDecoder({buffer.data, m_manager.BytesPerSecondOfDevice()});
    buffer.length = read.size;
    recordSamples = read.size;
    m_recordRead += read.size;
    m_recordQueued += read.size;
    return read.end;
}

// The block is filled from the stream's output; the stream is fed the record until it has
// enough, and flushed once the record has ended, so the block that takes its last samples
// is the last one and the end is reported exactly there.
bool CPlayer::DecodeAtSpeed(SWaveBuffer& buffer, float speed, std::uint64_t& recordSamples)
{
    sonicStream stream = m_sonic.get();
    sonicSetSpeed(stream, speed);
    m_sonicInput.resize(kSonicChunk);
    const std::size_t size = m_manager.BytesPerSecondOfDevice();
    std::size_t filled = 0;
    while (filled < size) {
        filled += static_cast<std::size_t>(sonicReadUnsignedCharFromStream(
            stream, buffer.data + filled, static_cast<int>(size - filled)));
        if (filled == size)
            break;
        if (m_recordEnded) {
            if (m_sonicFlushed)
                break;
            sonicFlushStream(stream);
            m_sonicFlushed = true;
            continue;
        }
        const SDecoded read = ReadDecoder(m_sonicInput);
        if (read.size > 0 && sonicWriteUnsignedCharToStream(stream, m_sonicInput.data(),
                                                            static_cast<int>(read.size)) == 0)
            m_recordEnded = true; // no memory for more: what is in the stream plays out
        m_recordRead += read.size;
        if (read.end || read.size == 0)
            m_recordEnded = true;
    }
    buffer.length = filled;
    const bool end = m_recordEnded && m_sonicFlushed && sonicSamplesAvailable(stream) == 0;
    // The record's samples in the block: its length at this speed, and at the end all that
    // is left, so the position ends at the record's end.
    const std::uint64_t left = m_recordRead - m_recordQueued;
    recordSamples = end ? left
                        : std::min<std::uint64_t>(left, static_cast<std::uint64_t>(std::llround(
                                                            static_cast<double>(filled) * speed)));
    m_recordQueued += recordSamples;
    return end;
}

// Playback thread.
void CPlayer::OnBufferDone(SWaveBuffer& buffer)
{
    {
        std::lock_guard lock(m_playheadMutex);
        if (!m_queued.empty() && m_queued.front().buffer == &buffer) {
            m_position += m_queued.front().recordSamples;
            m_queued.pop_front();
            m_blockStarted = std::chrono::steady_clock::now();
        }
    }
    bool queued = false;
    if (!m_stopped) {
        std::uint64_t recordSamples = 0;
        const bool end = Decode(buffer, recordSamples);
        if (end) {
            if (!m_endReported && m_endHandler) {
                m_endReported = true;
                m_endHandler();
            }
            m_endReported = true;
            m_stopped = true;
        }
        // The last, possibly partial, block still plays.
        if (buffer.length > 0) {
            {
                std::lock_guard lock(m_playheadMutex);
                if (m_queued.empty())
                    m_blockStarted = std::chrono::steady_clock::now();
                m_queued.push_back({&buffer, buffer.length, recordSamples});
            }
            queued = m_device->AddBuffer(buffer) == 0;
            if (!queued) {
                std::lock_guard lock(m_playheadMutex);
                m_queued.pop_back();
            }
        }
    }
    if (!queued && --m_outstanding == 0)
        SetDrained(true);
}
