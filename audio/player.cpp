#include "audio/player.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/basedecoder.h"
#include "audio/devicethread.h"
#include "platform/scopeexit.h"
#include "platform/wavedevice.h"

#include <algorithm>
#include <vector>

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

bool CPlayer::Decode(SWaveBuffer& buffer)
{
    std::lock_guard lock(m_decoderMutex);
    std::size_t size = m_manager.BytesPerSecondOfDevice();
    bool end = true;
    if (m_decoderOpen) {
        try {
            const SDecoded read = m_decoder->Read({buffer.data, size});
            size = read.size;
            end = read.end;
        } catch (const std::exception&) {
            // A record damaged further on cannot be played on: what was read plays out
            // and the playback ends there, as at the end of the stream.
            end = true;
            size = 0;
        }
    } else {
        size = 0;
    }
    buffer.length = size;
    return end;
}

// Playback thread.
void CPlayer::OnBufferDone(SWaveBuffer& buffer)
{
    m_position += buffer.length;
    bool queued = false;
    if (!m_stopped) {
        const bool end = Decode(buffer);
        if (end) {
            if (!m_endReported && m_endHandler) {
                m_endReported = true;
                m_endHandler();
            }
            m_endReported = true;
            m_stopped = true;
        }
        // The last, possibly partial, block still plays.
        if (buffer.length > 0)
            queued = m_device->AddBuffer(buffer) == 0;
    }
    if (!queued && --m_outstanding == 0)
        SetDrained(true);
}
