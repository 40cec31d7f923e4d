#pragma once

#include "audio/baseaudiodevice.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class CBaseDecoder;

// Plays a record file to the chosen output device on a playback thread, through a decoder
// of the file's own format opened for that one playback. Two one-second buffers
// circulate: while one plays, the next second is decoded into the other, so consecutive
// seconds play without silence between them.
//
// Play, StopPlaying and WaitUntilStopped belong to the controlling thread; StopPlaying
// may also be called from the end-of-playback handler, at the same time. Every decoder Read happens
// on the playback thread, under a lock that StopPlaying takes to close the decoder.
class CPlayer : public CBaseAudioDevice
{
public:
    // `decoder`, when given, is used instead of a decoder of the file's format: a seam for
    // tests that control what is played.
    explicit CPlayer(CAudioManager& manager, CBaseDecoder* decoder = nullptr);
    // Stops a playback still running and waits for its thread.
    ~CPlayer() override;

    // CheckDevices, a decoder opened on the file, the first `startSample` samples passed
    // over (a seek), Start. Errors propagate as CAudioError. A playback still open is
    // stopped first. Not from the end-of-playback handler.
    void Play(const std::string& path, std::uint64_t startSample = 0);
    // Stop and the decoder's Close, on every path. Never waits for the playback thread when
    // called on it (from the end-of-playback handler), and the controlling thread may call
    // it at the same moment: whichever comes second finds the playback stopped.
    void StopPlaying();

    // Called once per playback on the playback thread, when the decoder reports the end
    // of the stream and before the last block is queued. It must not throw; receivers on
    // another thread should post, not block. Set it while no playback runs.
    void SetEndOfPlaybackHandler(std::function<void()> handler)
    {
        m_endHandler = std::move(handler);
    }
    // True once the playback has stopped (end of the stream or StopPlaying) and every
    // queued block has been played out; false on timeout. True when nothing plays.
    bool WaitUntilStopped(std::chrono::milliseconds timeout);
    // How far the playback has got, in samples from the start of the record: the start
    // offset plus what the device has played (counted a block at a time). Any thread.
    std::uint64_t PositionSamples() const { return m_position.load(); }

    void CheckDevices() override;
    void Start() override;
    void Stop() override;
    void OnBufferDone(SWaveBuffer& buffer) override;

private:
    static constexpr std::size_t kBufferCount = 2;

    // Decodes the next block into `buffer`; true at the end of the stream.
    bool Decode(SWaveBuffer& buffer);
    // Reads and drops up to `samples` samples; how many there were.
    std::uint64_t Skip(std::uint64_t samples);
    void CloseDecoder();
    void SetDrained(bool drained);

    CBaseDecoder* const m_decoderOverride;
    std::unique_ptr<CBaseDecoder> m_ownDecoder;
    CBaseDecoder* m_decoder = nullptr; // open from Play to StopPlaying
    std::atomic<std::uint64_t> m_position{0};
    std::function<void()> m_endHandler;
    bool m_endReported = false;    // playback thread
    std::size_t m_outstanding = 0; // playback thread, once started

    std::mutex m_decoderMutex; // a Read and the Close never overlap
    bool m_decoderOpen = false;

    std::mutex m_drainMutex;
    std::condition_variable m_drainChanged;
    bool m_drained = true;
};
