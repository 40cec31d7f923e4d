#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class CAudioManager;

// Reads a record file back as 8000 Hz, 8-bit mono samples.
// Lifecycle: closed -> Open -> Read... / GetLength -> Close -> closed.
// What one read delivered: `size` samples at the front of the buffer, and whether the end
// of the stream has been reached.
struct SDecoded
{
    std::size_t size = 0;
    bool end = false;
};

class CBaseDecoder
{
public:
    CBaseDecoder() = default;
    virtual ~CBaseDecoder() = default;
    CBaseDecoder(const CBaseDecoder&) = delete;
    CBaseDecoder& operator=(const CBaseDecoder&) = delete;

    // Opens the file, reads its header and information, leaves it at the first sample.
    // Throws CAudioError with the codec's documented message on failure.
    virtual void Open(const std::string& path, const CAudioManager& manager) = 0;
    // Empties the information and closes the file. Safe when not open.
    virtual void Close() = 0;
    // Fills `buffer` from its front as far as the stream goes.
    virtual SDecoded Read(std::span<std::uint8_t> buffer) = 0;
    // Total number of samples in the file, from its header and last page (RecordLength).
    virtual std::uint32_t GetLength() = 0;
    // Before Open: decode as fast as the codec can, at a cost in fidelity a listener might
    // hear but a waveform never shows. Nothing for codecs without such a choice.
    virtual void PreferSpeed() {}

    // The information read by Open: empty when the file has none.
    const std::string& GetInfo() const { return m_info; }

protected:
    std::string m_info;
};
