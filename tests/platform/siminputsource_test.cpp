#include "platform/siminputsource.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

void Le(std::vector<std::uint8_t>& v, std::uint32_t x, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}

// RIFF/WAVE with a format chunk of `fmtSize` bytes (PCM, given channels, rate and bits)
// and a data chunk that declares `declared` bytes and holds `held`.
std::vector<std::uint8_t> Wav(std::uint32_t fmtSize, std::uint16_t channels, std::uint32_t rate,
                              std::uint16_t bits, std::uint32_t declared, std::size_t held)
{
    auto v = Bytes("RIFF");
    Le(v, 0x7FFFFFFF, 4);
    for (auto b : Bytes("WAVEfmt "))
        v.push_back(b);
    Le(v, fmtSize, 4);
    Le(v, 1, 2);
    Le(v, channels, 2);
    Le(v, rate, 4);
    Le(v, rate * channels * bits / 8, 4);
    Le(v, channels * bits / 8, 2);
    Le(v, bits, 2);
    v.resize(20 + fmtSize, 0); // the extension bytes (an information area) are zeros
    for (auto b : Bytes("data"))
        v.push_back(b);
    Le(v, declared, 4);
    v.resize(v.size() + held, 0x42);
    return v;
}

// The file without its last `count` bytes.
std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> file, std::size_t count)
{
    file.resize(file.size() - count);
    return file;
}

struct SCase
{
    const char* name;
    std::vector<std::uint8_t> file;
    ESimInputKind kind;
    std::size_t offset;
    std::size_t length;
};

class LocateSimInputSamplesTest : public ::testing::TestWithParam<SCase>
{
};

TEST_P(LocateSimInputSamplesTest, FindsTheSamples)
{
    const SSimInputSpan span = LocateSimInputSamples(GetParam().file);
    EXPECT_EQ(span.kind, GetParam().kind);
    if (span.kind != ESimInputKind::BadWav) {
        EXPECT_EQ(span.offset, GetParam().offset);
        EXPECT_EQ(span.length, GetParam().length);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LocateSimInputSamplesTest,
    ::testing::Values(
        SCase{"Raw", Bytes("\x01\x02\x03"), ESimInputKind::Raw, 0, 3},
        SCase{"Empty", {}, ESimInputKind::Raw, 0, 0},
        SCase{"RiffButNotWave", Bytes(std::string("RIFF\x04\0\0\0AVI LIST", 16)),
              ESimInputKind::Raw, 0, 16},
        SCase{"PlainWav", Wav(16, 1, 8000, 8, 100, 100), ESimInputKind::Wav, 44, 100},
        SCase{"RecordWithInformationArea", Wav(1042, 1, 8000, 8, 5, 5), ESimInputKind::Wav, 1070,
              5},
        SCase{"NeverClosedRecordReadsToTheEnd", Wav(1042, 1, 8000, 8, 0x7FFFFFFF, 300),
              ESimInputKind::Wav, 1070, 300},
        SCase{"SixteenBit", Wav(16, 1, 8000, 16, 10, 10), ESimInputKind::BadWav, 0, 0},
        SCase{"Stereo", Wav(16, 2, 8000, 8, 10, 10), ESimInputKind::BadWav, 0, 0},
        SCase{"OtherRate", Wav(16, 1, 44100, 8, 10, 10), ESimInputKind::BadWav, 0, 0},
        SCase{"NoDataChunk", Cut(Wav(16, 1, 8000, 8, 0, 0), 8), ESimInputKind::BadWav, 0, 0},
        SCase{"TruncatedFormatChunk", Cut(Wav(16, 1, 8000, 8, 0, 0), 14), ESimInputKind::BadWav, 0,
              0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(SimInputSource, DeliversTheSamplesThenSilence)
{
    const auto path = std::filesystem::temp_directory_path() / "parlantographer-siminput.wav";
    {
        auto file = Wav(16, 1, 8000, 8, 3, 0);
        file.insert(file.end(), {7, 8, 9});
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<long>(file.size()));
    }
    CSimInputSource source;
    ASSERT_TRUE(source.Load(path.string()));
    std::uint8_t out[5];
    source.Read(out, 2);
    source.Read(out + 2, 3);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 5),
              (std::vector<std::uint8_t>{7, 8, 9, 0x80, 0x80}));
    std::filesystem::remove(path);

    CSimInputSource missing;
    EXPECT_FALSE(missing.Load(path.string()));
    CSimInputSource silent;
    silent.Read(out, 5);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 5), std::vector<std::uint8_t>(5, 0x80));
}

} // namespace
