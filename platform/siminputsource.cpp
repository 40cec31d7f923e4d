#include "platform/siminputsource.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::uint32_t Le32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

bool IsSupportedFormat(const std::uint8_t* fmt, std::size_t size)
{
    // wFormatTag, nChannels, nSamplesPerSec, nAvgBytesPerSec, nBlockAlign, wBitsPerSample
    return size >= 16 && Le16(fmt) == 1 && Le16(fmt + 2) == 1 && Le32(fmt + 4) == 8000 &&
           Le16(fmt + 14) == 8;
}

} // namespace

SSimInputSpan LocateSimInputSamples(std::span<const std::uint8_t> file)
{
    const std::size_t size = file.size();
    if (size < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return {ESimInputKind::Raw, 0, size};

    bool formatOk = false;
    std::size_t position = 12;
    while (size - position >= 8) {
        const std::uint8_t* chunk = file.data() + position;
        const std::size_t body = position + 8;
        const std::size_t declared = Le32(chunk + 4);
        const std::size_t available = std::min(declared, size - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0)
            formatOk = IsSupportedFormat(chunk + 8, available);
        else if (std::memcmp(chunk, "data", 4) == 0)
            return formatOk ? SSimInputSpan{ESimInputKind::Wav, body, available}
                            : SSimInputSpan{ESimInputKind::BadWav, 0, 0};
        if (declared > size - body)
            break;
        position = body + declared + (declared & 1); // chunks are padded to even sizes
    }
    return {ESimInputKind::BadWav, 0, 0};
}

bool CSimInputSource::Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    const SSimInputSpan span = LocateSimInputSamples(file);
    if (span.kind == ESimInputKind::BadWav)
        return false;
    m_samples.assign(file.begin() + static_cast<std::ptrdiff_t>(span.offset),
                     file.begin() + static_cast<std::ptrdiff_t>(span.offset + span.length));
    m_position = 0;
    return true;
}

void CSimInputSource::Read(std::uint8_t* samples, std::size_t count)
{
    const std::size_t n = std::min(count, m_samples.size() - m_position);
    if (n > 0)
        std::memcpy(samples, m_samples.data() + m_position, n);
    m_position += n;
    std::memset(samples + n, 0x80, count - n);
}
