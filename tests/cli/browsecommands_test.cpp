#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "clirunner.h"
#include "platform/wavebackend.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace {

using namespace testsupport;

// A record of `seconds` of a tone in `format`, written by the engine; its bytes.
Bytes EngineRecord(int format, int seconds, const std::string& path)
{
    CAudioManager audio;
    audio.ApplyFormat(format);
    const auto encoder = audio.CreateEncoder(audio.CodecIndex());
    encoder->SetInfo("*ParlantographerInfo*\n[[Tags]]\n[[Tasks]]\nCall\n[[Contacts]]\nAnn\n");
    encoder->Open(path, false);
    std::vector<std::uint8_t> second(8000);
    for (std::size_t i = 0; i < second.size(); ++i)
        second[i] = static_cast<std::uint8_t>(128 + ((i / 9) % 2 ? 50 : -50));
    for (int s = 0; s < seconds; ++s)
        encoder->Write(second, s + 1 == seconds);
    encoder->Close();
    return ReadFile(path);
}

// What the program does to the record files while it lists them, counted by strace: every call
// that names a file of the data folder, and the bytes read from them. `list --json` reads each
// record in one pass of at most six calls and 8 KB, however long the memo is (here a minute
// of Speex, 60 KB).
TEST(BrowseCommands, ListReadsEachRecordInSixCallsAndEightKilobytesAtMost)
{
    if (std::system("strace -V >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "strace is not installed";
    CCliRunner cli;
    const std::string data = cli.Home() + "/Data/";
    std::filesystem::create_directories(data);
    const Bytes wav = EngineRecord(0, 3, cli.Scratch("r.wav"));
    const Bytes ogg = EngineRecord(3, 60, cli.Scratch("r.ogg"));
    constexpr int kRecords = 40;
    for (int i = 0; i < kRecords; ++i) {
        char dated[32];
        std::snprintf(dated, sizeof dated, "01%02d2027_08%02d00", 1 + i % 28, i);
        const std::string stem = i % 4 == 3 ? "Memo " + std::to_string(i) : dated;
        WriteFile(data + stem + (i % 2 ? ".ogg" : ".wav"), i % 2 ? ogg : wav);
    }
    for (const char* json : {"", "--json"}) {
        SCOPED_TRACE(json);
        const std::string trace = cli.Scratch("trace");
        std::vector<std::string> arguments{"list"};
        if (*json)
            arguments.push_back(json);
        // The leak checker cannot run under a tracer; the calls counted are the same without it.
        const SCliResult result = cli.RunUnder(
            {"strace", "-f", "-y", "-E", "ASAN_OPTIONS=detect_leaks=0", "-o", trace}, arguments);
        if (result.exitCode != 0 && result.err.find("ptrace") != std::string::npos)
            GTEST_SKIP() << "strace may not trace here: " << result.err;
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.out.find("Memo 39"), std::string::npos);

        std::ifstream lines(trace);
        const std::regex recordFile("/Data/[^\">/]+");
        const std::regex bytesRead("^\\d+ +p?read(64)?\\(.* = (\\d+)$");
        std::size_t calls = 0;
        std::size_t bytes = 0;
        for (std::string line; std::getline(lines, line);) {
            if (!std::regex_search(line, recordFile))
                continue;
            ++calls;
            std::smatch read;
            if (std::regex_match(line, read, bytesRead))
                bytes += std::stoul(read[2]);
        }
        EXPECT_GE(calls, 3u * kRecords);
        EXPECT_LE(calls, 6u * kRecords);
        EXPECT_LE(bytes, 8192u * kRecords);
    }
}

} // namespace
