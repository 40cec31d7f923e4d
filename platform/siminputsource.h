#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Where the samples lie in a file given to the simulated input device.
enum class ESimInputKind
{
    Raw,   // no RIFF/WAVE signature: every byte is a sample
    Wav,   // 8 kHz, 8-bit, mono PCM WAVE: the bytes of the "data" chunk
    BadWav // a WAVE file in another format, or without a "data" chunk
};

struct SSimInputSpan
{
    ESimInputKind kind = ESimInputKind::Raw;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// Finds the samples of a simulated-input file. A data length that runs past the end of
// the file (a record that was never closed) is cut to what the file holds.
SSimInputSpan LocateSimInputSamples(std::span<const std::uint8_t> file);

// The samples the simulated input device delivers: those of the file in order, then
// silence (0x80) for ever; only silence without a file.
class CSimInputSource
{
public:
    CSimInputSource() = default;
    // Reads the whole file. False when it cannot be read or is an unusable WAVE file.
    bool Load(const std::string& path);
    // Fills `count` samples.
    void Read(std::uint8_t* samples, std::size_t count);

private:
    std::vector<std::uint8_t> m_samples;
    std::size_t m_position = 0;
};
