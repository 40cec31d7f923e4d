#include "platform/siminputsource.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Le(std::uint32_t x, int count)
{
    Bytes v;
    for (int i = 0; i < count; ++i)
        v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
    return v;
}

// RIFF/WAVE with a format chunk of `fmtSize` bytes (PCM, given channels, rate and bits) and a
// data chunk that declares `declared` bytes and holds `held`; `cut` bytes are taken off the end.
Bytes Wav(std::uint32_t fmtSize, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
          std::uint32_t declared, std::size_t held, std::size_t cut = 0)
{
    Bytes v{'R', 'I', 'F', 'F', 0xFF, 0xFF, 0xFF, 0x7F, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    for (const Bytes& field :
         {Le(fmtSize, 4), Le(1, 2), Le(channels, 2), Le(rate, 4), Le(rate * channels * bits / 8, 4),
          Le(channels * bits / 8, 2), Le(bits, 2)})
        v.insert(v.end(), field.begin(), field.end());
    v.resize(20 + fmtSize, 0); // the extension bytes (an information area) are zeros
    for (const Bytes& field : {Bytes{'d', 'a', 't', 'a'}, Le(declared, 4), Bytes(held, 0x42)})
        v.insert(v.end(), field.begin(), field.end());
    v.resize(v.size() - cut);
    return v;
}

TEST(SimInputSource, LocatesTheSamples)
{
    const std::tuple<const char*, Bytes, ESimInputKind, std::size_t, std::size_t> cases[] = {
        {"raw", {1, 2, 3}, ESimInputKind::Raw, 0, 3},
        {"empty", {}, ESimInputKind::Raw, 0, 0},
        {"RIFF but not WAVE",
         {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '},
         ESimInputKind::Raw,
         0,
         12},
        {"plain WAVE", Wav(16, 1, 8000, 8, 100, 100), ESimInputKind::Wav, 44, 100},
        {"record with an information area", Wav(1042, 1, 8000, 8, 5, 5), ESimInputKind::Wav, 1070,
         5},
        {"record never closed", Wav(1042, 1, 8000, 8, 0x7FFFFFFF, 300), ESimInputKind::Wav, 1070,
         300},
        {"16-bit", Wav(16, 1, 8000, 16, 10, 10), ESimInputKind::BadWav, 0, 0},
        {"stereo", Wav(16, 2, 8000, 8, 10, 10), ESimInputKind::BadWav, 0, 0},
        {"other rate", Wav(16, 1, 44100, 8, 10, 10), ESimInputKind::BadWav, 0, 0},
        {"no data chunk", Wav(16, 1, 8000, 8, 0, 0, 8), ESimInputKind::BadWav, 0, 0},
        {"format chunk cut", Wav(16, 1, 8000, 8, 0, 0, 14), ESimInputKind::BadWav, 0, 0}};
    for (const auto& [name, file, kind, offset, length] : cases) {
        SCOPED_TRACE(name);
        const SSimInputSpan span = LocateSimInputSamples(file);
        EXPECT_EQ(span.kind, kind);
        if (kind != ESimInputKind::BadWav) {
            EXPECT_EQ(span.offset, offset);
            EXPECT_EQ(span.length, length);
        }
    }
}

TEST(SimInputSource, DeliversTheSamplesThenSilence)
{
    const auto path = std::filesystem::temp_directory_path() / "parlantographer-siminput.wav";
    Bytes file = Wav(16, 1, 8000, 8, 3, 0);
    file.insert(file.end(), {7, 8, 9});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<long>(file.size()));
    CSimInputSource source;
    ASSERT_TRUE(source.Load(path.string()));
    std::uint8_t out[5];
    source.Read(out, 2);
    source.Read(out + 2, 3);
    EXPECT_EQ(Bytes(out, out + 5), (Bytes{7, 8, 9, 0x80, 0x80}));
    std::filesystem::remove(path);

    EXPECT_FALSE(CSimInputSource().Load(path.string()));
    CSimInputSource silent;
    silent.Read(out, 5);
    EXPECT_EQ(Bytes(out, out + 5), Bytes(5, 0x80));
}

} // namespace
