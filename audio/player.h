#pragma once

#include "audio/baseaudiodevice.h"
#include "audio/basedecoder.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

struct sonicStreamStruct;

// Plays a record file to the chosen output device on a playback thread, through a decoder
// of the file's own format opened for that one playback. Two one-second buffers
// circulate: while one plays, the next second is decoded into the other, so consecutive
// seconds play without silence between them. Faster or slower, the decoded samples pass
// through libsonic on their way into the buffers, which keeps the pitch: a change of speed
// reaches the next buffer decoded, without a gap.
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
    // offset plus the record's samples in the blocks the device has played (counted a block
    // at a time). Any thread.
    std::uint64_t PositionSamples() const { return m_position.load(); }
    // Where the play head is now, in samples of the record: PositionSamples and, of the
    // block playing, as much as the time since it began has played, never more than it
    // holds. For a play head drawn smoothly between the blocks. Any thread.
    std::uint64_t PlayheadSamples() const;

    // How fast the record plays: 1 is as recorded; the pitch stays. Clamped to
    // kSlowest..kFastest. Takes effect from the next block decoded; any thread.
    static constexpr double kSlowest = 0.25;
    static constexpr double kFastest = 4.0;
    void SetSpeed(double speed);
    double Speed() const { return m_speed.load(); }

    void CheckDevices() override;
    void Start() override;
    void Stop() override;
    void OnBufferDone(SWaveBuffer& buffer) override;

private:
    static constexpr std::size_t kBufferCount = 2;

    struct SSonicDeleter
    {
        void operator()(sonicStreamStruct* stream) const;
    };
    // A block at the device: the buffer, and how many of the record's samples it holds.
    struct SQueued
    {
        const SWaveBuffer* buffer;
        std::size_t deviceSamples;
        std::uint64_t recordSamples;
    };

    // Decodes the next block into `buffer`, through sonic when the speed is not 1 (or has
    // not been since the start); true at the end of the stream. `recordSamples` is how
    // many of the record's samples the block holds.
    bool Decode(SWaveBuffer& buffer, std::uint64_t& recordSamples);
    bool DecodeAtSpeed(SWaveBuffer& buffer, float speed, std::uint64_t& recordSamples);
    // One Read of the decoder into `buffer`, under the decoder's lock; a damaged record
    // ends there.
    SDecoded ReadDecoder(std::span<std::uint8_t> buffer);
    // Reads and drops up to `samples` samples; how many there were.
    std::uint64_t Skip(std::uint64_t samples);
    void CloseDecoder();
    void SetDrained(bool drained);

    CBaseDecoder* const m_decoderOverride;
    std::unique_ptr<CBaseDecoder> m_ownDecoder;
    CBaseDecoder* m_decoder = nullptr; // open from Play to StopPlaying
    std::atomic<std::uint64_t> m_position{0};
    std::atomic<double> m_speed{1.0};

    // Playback thread: the speed's stream (made at the first block not at 1) and what went
    // through it.
    std::unique_ptr<sonicStreamStruct, SSonicDeleter> m_sonic;
    std::vector<std::uint8_t> m_sonicInput;
    std::uint64_t m_recordRead = 0;   // the record's samples read since the start offset
    std::uint64_t m_recordQueued = 0; // ... and counted into queued blocks
    bool m_recordEnded = false;
    bool m_sonicFlushed = false;

    // The blocks at the device in play order, and when the first of them began playing.
    mutable std::mutex m_playheadMutex;
    std::deque<SQueued> m_queued;
    std::chrono::steady_clock::time_point m_blockStarted;
    std::function<void()> m_endHandler;
    bool m_endReported = false;    // playback thread
    std::size_t m_outstanding = 0; // playback thread, once started

    std::mutex m_decoderMutex; // a Read and the Close never overlap
    bool m_decoderOpen = false;

    std::mutex m_drainMutex;
    std::condition_variable m_drainChanged;
    bool m_drained = true;
};
