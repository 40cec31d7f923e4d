#pragma once

#include <cstddef>
#include <cstdint>

// Which family of wave devices an operation addresses.
enum class EWaveDirection
{
    Input,
    Output
};

// The notices an open wave device delivers to the thread that serves it.
enum class EWaveNotice
{
    Open,
    Close,
    Done, // a queued buffer comes back: filled (input) or played (output)
    Lost  // the device went away (unplugged, removed); the buffers still come back after it
};

// The PCM sample format asked of a device (the 18-byte format record of the platform).
struct SWaveFormat
{
    std::uint16_t formatTag = 1; // PCM
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSec = 8000;
    std::uint32_t avgBytesPerSec = 8000;
    std::uint16_t blockAlign = 1;
    std::uint16_t bitsPerSample = 8;
    std::uint16_t cbSize = 0;
};

// The format record for a sample rate, sample width and channel count.
constexpr SWaveFormat MakeWaveFormat(std::uint32_t sampleRate, std::uint16_t bitsPerSample,
                                     std::uint16_t channels)
{
    SWaveFormat format;
    format.channels = channels;
    format.samplesPerSec = sampleRate;
    format.bitsPerSample = bitsPerSample;
    format.blockAlign = static_cast<std::uint16_t>(channels * bitsPerSample / 8);
    format.avgBytesPerSec = format.blockAlign * sampleRate;
    return format;
}

// One block of samples exchanged with a device. The memory belongs to the caller and
// must stay valid until the device has handed the buffer back with a Done notice.
struct SWaveBuffer
{
    std::uint8_t* data = nullptr;
    // Input: the capacity to fill. Output: the number of bytes to play.
    std::size_t length = 0;
    // Input: how many bytes the device filled when it handed the buffer back.
    std::size_t bytesRecorded = 0;
};
