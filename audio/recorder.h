#pragma once

#include "audio/baseaudiodevice.h"
#include "audio/blockassembler.h"
#include "audio/capturegate.h"
#include "audio/leveltrail.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class CBaseEncoder;

// Captures from the chosen input device and hands the samples to an encoder of the
// manager's recording format, opened for this one recording, in one-second writes as
// soon as each second is complete, then one final write, possibly partial or empty,
// flagged last. A process killed outright therefore loses at most the second under way.
// Two buffers circulate, so the device always has one to fill while the other is being
// encoded: not a sample is lost between seconds.
//
// Record, StopRecording and the sample-limit calls belong to one controlling thread;
// every encoder Write happens on the capture thread, and StopRecording waits for that
// thread to end before it closes the encoder.
class CRecorder : public CBaseAudioDevice
{
public:
    // `encoder`, when given, is used instead of a new encoder of the recording format: a seam for
    // tests that watch exactly what the encoder receives.
    explicit CRecorder(CAudioManager& manager, CBaseEncoder* encoder = nullptr);
    // Stops a recording still running and finalises its file.
    ~CRecorder() override;

    // CheckDevices; gives the encoder `info` (so the header holds it from the first
    // moment); the encoder's Open(path, false); Start. Errors propagate unchanged as
    // CAudioError. When Start fails the file just created is closed and removed. Refused
    // while a recording has not been stopped with StopRecording.
    void Record(const std::string& path, const std::string& info = {});
    // Stop, then the encoder's Close, which finalises the file. Nothing when idle.
    void StopRecording();

    // Pauses a running recording: the device goes on capturing, so Resume is instant, but
    // nothing it captures meanwhile reaches the file. What was captured before the pause
    // reaches the encoder within a buffer's time (a second), in a write of its own, so a
    // process killed during the pause keeps it. False when nothing runs or already paused.
    bool Pause();
    // Goes on recording: the samples captured from now on follow those before the pause.
    // False when nothing runs or not paused.
    bool Resume();
    bool IsPaused() const { return m_gate.IsPaused(); }
    // The peaks of the last `count` windows of CLevelTrail::kWindowMs that went into this
    // recording, oldest first: while paused nothing is added. Any thread.
    std::vector<float> RecentPeaks(std::size_t count) const { return m_trail.Recent(count); }

    // 0: none. Once that many samples have been captured the rest are dropped and the
    // recording ends by itself with a last write; StopRecording must still be called.
    // Applies from the next Record on.
    void SetSampleLimit(std::uint64_t samples) { m_sampleLimit = samples; }
    // True once the limit has been reached in this recording; false on timeout or once a
    // write has failed.
    bool WaitForSampleLimit(std::chrono::milliseconds timeout);
    // Samples handed to the encoder so far in this (or the last) recording.
    std::uint64_t CapturedSamples() const { return m_captured.load(); }
    // True once the encoder failed to write (a full or vanished storage): nothing more is
    // written in this recording, and WaitForSampleLimit stops waiting. The file keeps
    // what was written before; StopRecording must still be called to finalise it.
    bool WriteFailed() const { return m_writeFailed.load(); }

    void CheckDevices() override;
    void Start() override;
    void Stop() override;
    void OnBufferDone(SWaveBuffer& buffer) override;
    void OnCaptured(const std::uint8_t* samples, std::size_t bytes) override;

private:
    static constexpr std::size_t kBufferCount = 2;

    void WriteBlock(const std::uint8_t* data, std::size_t size, bool last);
    void SignalLimit();

    CBaseEncoder* const m_encoderOverride;
    std::unique_ptr<CBaseEncoder> m_ownEncoder;
    CBaseEncoder* m_encoder = nullptr;
    CBlockAssembler m_assembler;
    CCaptureGate m_gate;
    CLevelTrail m_trail;
    std::atomic<bool> m_trailHeld{false}; // paused: the pump adds nothing to the trail
    // Bytes the device has captured in this run (pump thread), and the stream position of
    // the next buffer to come back (capture thread).
    std::atomic<std::uint64_t> m_deviceCaptured{0};
    std::uint64_t m_streamAt = 0;
    std::size_t m_outstanding = 0; // buffers at the device or on their way back
    std::uint64_t m_sampleLimit = 0;
    std::atomic<std::uint64_t> m_captured{0};
    std::atomic<bool> m_writeFailed{false};

    std::mutex m_limitMutex;
    std::condition_variable m_limitReachedChanged;
    bool m_limitReached = false;
};
