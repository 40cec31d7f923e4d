#pragma once

#include "audio/waveformpeaks.h"

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class CAudioManager;

// The waveforms of records, computed off the user-interface thread and kept per file until
// the file changes (its size or modification time), for a waveform drawn beside the player:
// SWaveformPeaks::Columns gives the range of each pixel column. One record is computed at a
// time; a request for another record cancels the one under way, so the record selected last
// comes first however fast the selection moves. User-interface thread only; the computing
// runs on a thread of the cache's own, which hands its work over under a mutex.
class CPeaksCache : public QObject
{
    Q_OBJECT
public:
    // How many records' peaks are kept (the least recently asked for go first).
    static constexpr std::size_t kKept = 32;

    explicit CPeaksCache(const CAudioManager& audio, QObject* parent = nullptr);
    // Cancels the computation under way and waits for it.
    ~CPeaksCache() override;

    // The peaks of the record at `path` when they are known for the file as it is now;
    // otherwise null, and they are computed: Ready follows. A record that cannot be read has
    // empty peaks (no samples), so it is not tried again until it changes.
    std::shared_ptr<const SWaveformPeaks> Peaks(const std::filesystem::path& path);

signals:
    // The peaks of `path` are known now: Peaks gives them.
    void Ready(const std::filesystem::path& path);

private:
    // What tells one state of a file from another.
    struct SSignature
    {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;
        bool operator==(const SSignature&) const = default;
    };
    // A record's peaks as kept, and as the worker hands them back.
    struct SEntry
    {
        std::filesystem::path path;
        SSignature signature;
        std::shared_ptr<const SWaveformPeaks> peaks;
    };
    // What the worker computes.
    struct SJob
    {
        std::filesystem::path path;
        SSignature signature;
        std::shared_ptr<std::atomic<bool>> cancel;
    };

    static std::optional<SSignature> SignatureOf(const std::filesystem::path& path);
    void Start(const std::filesystem::path& path, const SSignature& signature);
    // The worker's loop: one job at a time, until the cache goes.
    void Work();
    // On this thread, posted by the worker: takes what it has finished.
    Q_INVOKABLE void Collect();
    void Finish(SEntry result);

    const CAudioManager& m_audio;
    std::list<SEntry> m_entries; // most recently asked for first
    // The computation under way: which file, and the flag that cancels it.
    std::optional<std::filesystem::path> m_running;
    std::shared_ptr<std::atomic<bool>> m_cancel;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<SJob> m_job;  // the next to compute; a newer one replaces it
    std::vector<SEntry> m_done; // finished, not yet collected
    bool m_quit = false;
    std::thread m_worker; // last: it starts once the rest exists
};
