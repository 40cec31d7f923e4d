#include "platform/siminputsource.h"
#include "support/tempfolder.h"
#include "support/wavfile.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

// A record's header with an information area of zeros.
const SWavShape kRecord{.extension = Bytes(1026, 0)};

Bytes Cut(Bytes bytes, std::size_t count)
{
    bytes.resize(bytes.size() - count);
    return bytes;
}

TEST(SimInputSource, LocatesTheSamples)
{
    const std::tuple<const char*, Bytes, ESimInputKind, std::size_t, std::size_t> cases[] = {
        {"raw", {1, 2, 3}, ESimInputKind::Raw, 0, 3},
        {"empty", {}, ESimInputKind::Raw, 0, 0},
        {"RIFF but not WAVE", Cat({Str("RIFF"), LeBytes(4), Str("AVI ")}), ESimInputKind::Raw, 0,
         12},
        {"plain WAVE", WavFile(Bytes(100, 0x42)), ESimInputKind::Wav, 44, 100},
        {"record with an information area", WavFile(Bytes(5, 0x42), kRecord), ESimInputKind::Wav,
         1070, 5},
        {"record never closed",
         WavFile(Bytes(300, 0x42), {.extension = Bytes(1026, 0), .closed = false}),
         ESimInputKind::Wav, 1070, 300},
        {"16-bit", WavFile(Bytes(10, 0x42), {.bits = 16}), ESimInputKind::BadWav, 0, 0},
        {"stereo", WavFile(Bytes(10, 0x42), {.channels = 2}), ESimInputKind::BadWav, 0, 0},
        {"other rate", WavFile(Bytes(10, 0x42), {.rate = 44100}), ESimInputKind::BadWav, 0, 0},
        {"no data chunk", Cut(WavFile({}), 8), ESimInputKind::BadWav, 0, 0},
        {"format chunk cut", Cut(WavFile({}), 14), ESimInputKind::BadWav, 0, 0}};
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
    const CTempFolder folder;
    const std::filesystem::path path = folder.File("input.wav");
    WriteFile(path.string(), WavFile({7, 8, 9}));
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
