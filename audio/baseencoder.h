#pragma once

#include <cstddef>
#include <cstdint>
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

protected:
    const CAudioManager& m_manager;
    std::string m_info;
};
