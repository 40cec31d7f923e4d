#pragma once

// Bytes, whole files and the one builder of WAVE files for every test program (no Qt, so the
// audio and platform tests use them too).

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The same for files handled as strings of bytes.
inline void WriteString(const std::string& path, const std::string& bytes)
{
    WriteFile(path, Bytes(bytes.begin(), bytes.end()));
}

inline std::string ReadString(const std::string& path)
{
    const Bytes bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes Str(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

inline Bytes Slice(const Bytes& b, std::size_t from, std::size_t to)
{
    return Bytes(b.begin() + static_cast<long>(std::min(from, b.size())),
                 b.begin() + static_cast<long>(std::min(to, b.size())));
}

inline std::string Text(const Bytes& b, std::size_t at, std::size_t n)
{
    const Bytes part = Slice(b, at, at + n);
    return std::string(part.begin(), part.end());
}

inline Bytes LeBytes(std::uint32_t value, int count = 4)
{
    Bytes out;
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return out;
}

inline std::uint32_t Le(const Bytes& b, std::size_t at, int count = 4)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | b.at(at + static_cast<std::size_t>(i));
    return value;
}

struct SWavShape
{
    std::uint16_t channels = 1;
    std::uint32_t rate = 8000;
    std::uint16_t bits = 8;
    // What follows the 16 bytes of the format chunk: nothing as most programs write it, two
    // zero bytes for an 18-byte chunk, or the program's own information area (InfoArea).
    Bytes extension = {};
    // An unclosed file, cut short by a crash, keeps both length fields at 0x7FFFFFFF.
    bool closed = true;
};

// A PCM WAVE file holding `samples`, mono 8-bit 8000 Hz unless `shape` says otherwise.
inline Bytes WavFile(const Bytes& samples, const SWavShape& shape = {})
{
    const auto fmtSize = static_cast<std::uint32_t>(16 + shape.extension.size());
    const auto size = static_cast<std::uint32_t>(samples.size());
    const std::uint32_t blockAlign = shape.channels * shape.bits / 8u;
    Bytes out{'R', 'I', 'F', 'F'};
    for (const Bytes& part :
         {LeBytes(shape.closed ? 20 + fmtSize + size : 0x7FFFFFFF), Bytes{'W', 'A', 'V', 'E'},
          Bytes{'f', 'm', 't', ' '}, LeBytes(fmtSize), LeBytes(1, 2), LeBytes(shape.channels, 2),
          LeBytes(shape.rate), LeBytes(shape.rate * blockAlign), LeBytes(blockAlign, 2),
          LeBytes(shape.bits, 2), shape.extension, Bytes{'d', 'a', 't', 'a'},
          LeBytes(shape.closed ? size : 0x7FFFFFFF), samples})
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// The program's extension of the format chunk: its size, then the 1024-byte information area
// holding `info` and zeros after it.
inline Bytes InfoArea(const std::string& info)
{
    Bytes out = LeBytes(1024, 2);
    out.insert(out.end(), info.begin(),
               info.begin() + static_cast<long>(std::min<std::size_t>(info.size(), 1024)));
    out.resize(2 + 1024, 0);
    return out;
}

// Where the information area of the program's record header lies, and where its samples begin.
constexpr std::size_t kInfoAreaAt = 38;
constexpr std::size_t kRecordHeaderSize = 1070;

} // namespace testsupport
