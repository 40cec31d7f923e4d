#pragma once

#include "audio/recordsyncer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

class CAudioManager;

// Turns the 8000 Hz, 8-bit mono sample stream into a record file.
// Lifecycle: closed -> Open -> Write... -> Close -> closed; the object is reused for many files.
// Open and Close run on the caller's thread, Write on the capture thread; they never overlap.
class CBaseEncoder
{
public:
    explicit CBaseEncoder(const CAudioManager& manager) : m_manager(manager) {}
    virtual ~CBaseEncoder() = default;
    CBaseEncoder(const CBaseEncoder&) = delete;
    CBaseEncoder& operator=(const CBaseEncoder&) = delete;

    // existing == false: create (truncate) the file; true: open it for update without
    // truncating, so the header written next replaces the old one in place.
    // Throws CAudioError with the codec's documented message on failure.
    virtual void Open(const std::string& path, bool existing) = 0;
    // Empties the information, finalises and closes the file. Safe when not open.
    virtual void Close() = 0;
    // Appends samples; `last` marks the final call of a recording.
    // True when everything was written, false on a write failure (never throws).
    virtual bool Write(std::span<const std::uint8_t> samples, bool last) = 0;

    // The information bytes that the next Open writes into the header.
    void SetInfo(std::string info) { m_info = std::move(info); }
    const std::string& Info() const { return m_info; }

    // Whether a file the encoder creates is pushed to the disk as it grows (see
    // StartSyncing). On; only a benchmark's baseline turns it off, to measure what it costs.
    void SetSyncToDisk(bool sync) { m_syncToDisk = sync; }

protected:
    // For Open of a new file, once its header is written: the folder is synced once (the new
    // name), then the file after every NoteWritten, on a thread of its own so the writing
    // thread never waits for the disk, and at StopSyncing. The rewrite of an existing
    // file's header is the tagger's to sync.
    void StartSyncing(std::FILE* file, const std::string& path);
    // For Write, once the bytes are in the file. False once a sync has failed.
    bool NoteWritten();
    // For Close, after the last bytes are in the stream and before it is closed: flushes,
    // syncs and ends the syncing thread. Nothing when the file is not being synced.
    void StopSyncing(std::FILE* file);

    const CAudioManager& m_manager;
    std::string m_info;

private:
    CRecordSyncer m_syncer;
    bool m_syncToDisk = true;
    bool m_syncing = false;
};
