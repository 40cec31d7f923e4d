#include "audio/recorder.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "platform/scopeexit.h"
#include "platform/wavedevice.h"

#include <cstdio>

CRecorder::CRecorder(CAudioManager& manager, CBaseEncoder* encoder)
    : CBaseAudioDevice(manager, EWaveDirection::Input), m_encoderOverride(encoder),
      m_assembler(manager.BytesPerSecondOfDevice(),
                  [this](const std::uint8_t* data, std::size_t size, bool last) {
                      WriteBlock(data, size, last);
                  })
{}

CRecorder::~CRecorder()
{
    try {
        StopRecording();
    } catch (const CAudioError&) {
        // A destructor cannot report; the run has been released and the file closed.
    }
}

void CRecorder::CheckDevices()
{
    CheckDevicesOf("Recorder: There are no input audio devices");
}

void CRecorder::Record(const std::string& path, const std::string& info)
{
    // The encoder is busy with the running recording's file.
    if (HasRun())
        throw CAudioError(EAudioErrc::AlreadyRecording, "Recorder: A recording is already running");
    CheckDevices();
    m_ownEncoder.reset();
    if (!m_encoderOverride)
        m_ownEncoder = m_manager.CreateEncoder(m_manager.CodecIndex());
    m_encoder = m_encoderOverride ? m_encoderOverride : m_ownEncoder.get();
    m_encoder->SetInfo(info);
    m_encoder->Open(path, false);
    try {
        Start();
    } catch (...) {
        m_encoder->Close();
        std::remove(path.c_str()); // an empty record would only clutter the catalogue
        throw;
    }
}

void CRecorder::StopRecording()
{
    if (!HasRun())
        return;
    // The final write must reach the file even when the device failed to stop.
    const CScopeExit closeEncoder([this] {
        m_assembler.Finish();
        m_encoder->Close();
    });
    Stop();
}

void CRecorder::Start()
{
    // Before the device opens, so before anything is captured.
    m_gate.Reset();
    m_trail.Start(static_cast<int>(m_manager.BitsPerSample()), m_manager.SampleRate());
    m_trailHeld = false;
    m_deviceCaptured = 0;
    m_streamAt = 0;
    OpenRun(kBufferCount, "Recorder: Cannot create the thread for input");
    m_assembler.Begin(m_sampleLimit);
    m_captured = 0;
    m_writeFailed = false;
    {
        std::lock_guard lock(m_limitMutex);
        m_limitReached = false;
    }
    m_outstanding = 0;
    int error = 0;
    for (SWaveBuffer& buffer : m_buffers) {
        if ((error = m_device->AddBuffer(buffer)) != 0)
            break;
        ++m_outstanding;
    }
    // Running before the device starts: a buffer may come back at once (a fast device).
    m_stopped = false;
    if (!error)
        error = m_device->Start();
    if (error) {
        try {
            EndRun("Recorder: Cannot ask the device thread to stop");
        } catch (const CAudioError&) {
            // The start error below is the one the user needs to see.
        }
        RaiseWaveError(error);
    }
}

void CRecorder::Stop()
{
    // The flag goes first, so every buffer the reset returns is taken as a final one.
    EndRun("Recorder: Cannot ask the device thread to stop");
}

bool CRecorder::Pause()
{
    if (!HasRun() || m_stopped || !m_gate.Pause(m_deviceCaptured.load()))
        return false;
    m_trailHeld = true;
    return true;
}

bool CRecorder::Resume()
{
    if (!HasRun() || m_stopped || !m_gate.Resume(m_deviceCaptured.load()))
        return false;
    m_trailHeld = false;
    return true;
}

void CRecorder::OnCaptured(const std::uint8_t* samples, std::size_t bytes)
{
    CBaseAudioDevice::OnCaptured(samples, bytes);
    if (!m_trailHeld.load(std::memory_order_relaxed))
        m_trail.Add(samples, bytes);
    m_deviceCaptured.fetch_add(bytes);
}

bool CRecorder::WaitForSampleLimit(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_limitMutex);
    m_limitReachedChanged.wait_for(lock, timeout,
                                   [this] { return m_limitReached || m_writeFailed; });
    return m_limitReached;
}

void CRecorder::SignalLimit()
{
    {
        std::lock_guard lock(m_limitMutex);
        m_limitReached = true;
    }
    m_limitReachedChanged.notify_all();
}

// After a failed write nothing more is written: a later write that happened to fit would
// leave a gap inside the audio. The controlling side sees WriteFailed and ends the record.
void CRecorder::WriteBlock(const std::uint8_t* data, std::size_t size, bool last)
{
    if (m_writeFailed || m_encoder->Write({data, size}, last))
        return;
    {
        std::lock_guard lock(m_limitMutex);
        m_writeFailed = true;
    }
    m_limitReachedChanged.notify_all();
}

// Capture thread. Buffers come back in the order they were queued, so the samples reach
// the assembler in capture order. The run's last buffer is the one that comes back when
// none remains at the device; it closes the stream.
void CRecorder::OnBufferDone(SWaveBuffer& buffer)
{
    const std::size_t bytes = buffer.bytesRecorded;
    for (const CCaptureGate::SPiece& piece : m_gate.Decide(m_streamAt, bytes)) {
        if (m_assembler.Add(buffer.data + piece.offset, piece.size))
            SignalLimit();
        if (piece.pauseAfter)
            m_assembler.Flush();
    }
    m_streamAt += bytes;
    m_captured = m_assembler.Accepted();
    // After the sample limit the device gets no more buffers: nothing would be kept.
    bool requeued = false;
    if (!m_stopped && !m_assembler.Finished())
        requeued = m_device->AddBuffer(buffer) == 0;
    if (!requeued && --m_outstanding == 0)
        m_assembler.Finish();
}
