#include "clirunner.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace testsupport;

QJsonObject InfoJson(CCliRunner& cli, const std::string& path)
{
    const SCliResult result = cli.Run({"info", path, "--json"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
}

// The two PCM length fields agree with the file's real size, and the information area
// holds `info` followed by zero bytes only.
void ExpectCompletePcmRecord(const std::string& path, const std::string& info)
{
    const std::string bytes = ReadString(path);
    ASSERT_GE(bytes.size(), kRecordHeaderSize);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Le(Str(bytes), 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(1062, 4), "data");
    EXPECT_EQ(Le(Str(bytes), 1066), bytes.size() - kRecordHeaderSize);
    EXPECT_EQ(bytes.substr(kInfoAreaAt, 1024), info + std::string(1024 - info.size(), '\0'));
}

// Starts a realtime recording of 30 s, waits until the file holds more than `bytes`, lets
// it run `extraMs` longer and sends `signal`.
SCliResult RecordUntilSignal(CCliRunner& cli, const std::string& path, std::uintmax_t bytes,
                             int extraMs, int signal)
{
    cli.SetEnv("PARLANTOGRAPHER_SIM_SPEED", "realtime");
    const auto process = cli.Start({"record", path, "--seconds", "30", "--info", "stopped"});
    const auto size = [&] {
        std::error_code error;
        const auto found = std::filesystem::file_size(path, error);
        return error ? 0 : found;
    };
    for (int i = 0; i < 500 && size() <= bytes; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(extraMs));
    ::kill(static_cast<pid_t>(process->processId()), signal);
    return CCliRunner::Finish(*process, 10000);
}

// The commands' own checks, end to end: the parser's refusals are tested in-process.
TEST(CliEngine, RefusalsSayWhyAndLeaveEveryFileAsItWas)
{
    CCliRunner cli;
    const std::string out = cli.Scratch("out.wav"), kept = cli.Scratch("kept.wav");
    const std::string zeroByte = cli.Scratch("info.txt"), plainWav = cli.Scratch("input.wav");
    WriteString(kept, "keep me");
    WriteString(zeroByte, std::string("before\0after", 12));
    const std::string plainBefore = ReadString(plainWav);
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"record", out}, 2, "--seconds N is required"},
        {{"record", out, "--seconds", "0"}, 2, "must be a whole number"},
        {{"record", out, "--seconds", "2", "--format", "3"}, 2, "a .wav file takes format 0"},
        {{"record", cli.Scratch("o.ogg"), "--seconds", "2", "--format", "0"}, 2, "formats 1 to 5"},
        {{"record", cli.Scratch("o.mp3"), "--seconds", "2"}, 2, "OUT must end in .wav"},
        {{"record", out, "--seconds", "2", "--tag", "Priority=Normal"}, 2, "leave out OUT"},
        {{"record", out, "--seconds", "2", "--info", "a", "--info-file", zeroByte}, 2, "not both"},
        {{"tag", out}, 2, "give the new information with --info or --info-file"},
        {{"record", out, "--seconds", "1", "--info", std::string(1025, 'x')}, 1, "1024 bytes"},
        {{"record", out, "--seconds", "1", "--info-file", zeroByte}, 1, "a zero byte"},
        {{"record", out, "--seconds", "1", "--info-file", cli.Scratch("none")}, 1, "Cannot read"},
        {{"record", kept, "--seconds", "1"}, 1, "the file exists already; nothing recorded"},
        {{"record", cli.Scratch("none/x.wav"), "--seconds", "1"},
         1,
         "The folder " + cli.Scratch("none") + " does not exist; nothing recorded\n"},
        {{"tag", plainWav, "--info", "x"}, 1, "not a record made by this program"},
        {{"time-left", "--path", cli.Scratch("no/such/folder")}, 1, "no such folder"},
    };
    for (const auto& [arguments, status, reason] : cases) {
        SCOPED_TRACE(arguments.front() + ' ' + arguments.back());
        const SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, status) << result.err;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        if (status == 2) {
            EXPECT_NE(result.err.find("usage: parlantographer-cli "), std::string::npos);
        }
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
    EXPECT_FALSE(std::filesystem::exists(out)) << "a refused command left a file behind";
    EXPECT_EQ(ReadString(kept), "keep me");
    EXPECT_EQ(ReadString(plainWav), plainBefore);
}

// One record through its commands: recorded from the input, read by info, its information
// rewritten by tag, and played on the default output when the named one is missing.
TEST(CliRecord, ARecordHoldsTheInputAndTagAndPlayKeepItsSamples)
{
    CCliRunner cli;
    const std::string path = cli.Scratch("memo.wav");
    const std::string info = "note \"quoted\"\nsecond line é";
    const SCliResult result = cli.Run({"record", path, "--seconds", "3", "--info", info});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, path + "\n");
    ExpectCompletePcmRecord(path, info);
    const std::vector<std::uint8_t> input = CCliRunner::InputSamples(3 * 8000);
    const std::string samples(input.begin(), input.end());
    EXPECT_EQ(ReadString(path).substr(kRecordHeaderSize), samples) << "not the input, in order";
    const QJsonObject json = InfoJson(cli, path);
    EXPECT_EQ(json["codec"].toString(), "pcm");
    EXPECT_EQ(json["seconds"].toInteger(), 3);
    EXPECT_EQ(json["info"].toString(), QString::fromUtf8(info));
    // A file the user names touches nothing in the program's home.
    EXPECT_TRUE(std::filesystem::is_empty(cli.Home()));

    WriteString(cli.Scratch("info.txt"), "second");
    ASSERT_EQ(cli.Run({"tag", path, "--info-file", cli.Scratch("info.txt")}).exitCode, 0);
    ExpectCompletePcmRecord(path, "second");
    EXPECT_EQ(ReadString(path).substr(kRecordHeaderSize), samples);

    cli.SetEnv("PARLANTOGRAPHER_SIM_OUTPUT", cli.Scratch("played.raw"));
    const SCliResult played = cli.Run({"play", path, "--output", "Headset"});
    ASSERT_EQ(played.exitCode, 0) << played.err;
    EXPECT_EQ(played.err, "warning: the audio device \"Headset\" is not present; using the "
                          "default device\n");
    EXPECT_EQ(ReadString(cli.Scratch("played.raw")).substr(0, samples.size()), samples);
}

// The tone's frequency from its zero crossings.
double ToneHz(const std::string& samples)
{
    std::size_t crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const bool before = static_cast<std::uint8_t>(samples[i - 1]) < 128;
        crossings += before != (static_cast<std::uint8_t>(samples[i]) < 128);
    }
    return static_cast<double>(crossings) / 2 / (static_cast<double>(samples.size()) / 8000);
}

// A 6-second tone played faster, slower and from its middle: the output is as long as the
// speed makes it, and the tone keeps its pitch. A moment past the end is refused.
TEST(CliPlay, SpeedAndStartChangeTheLengthAndKeepThePitch)
{
    CCliRunner cli;
    Bytes tone(6 * 8000);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<std::uint8_t>(
            std::lround(128 + 90 * std::sin(2 * M_PI * 400 * static_cast<double>(i) / 8000)));
    const std::string path = cli.Scratch("tone.wav");
    WriteFile(path, WavFile(tone));
    const std::string played = cli.Scratch("played.raw");
    cli.SetEnv("PARLANTOGRAPHER_SIM_OUTPUT", played);
    const std::pair<std::vector<std::string>, double> runs[] = {
        {{"--speed", "2"}, 24000}, {{"--speed", "0.5"}, 96000}, {{"--from", "3"}, 24000}};
    for (const auto& [options, samples] : runs) {
        SCOPED_TRACE(options.front() + " " + options.back());
        std::filesystem::remove(played);
        std::vector<std::string> arguments{"play", path};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const SCliResult result = cli.Run(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const std::string output = ReadString(played);
        EXPECT_NEAR(static_cast<double>(output.size()), samples, samples * 0.05);
        EXPECT_NEAR(ToneHz(output), 400, 400 * 0.05);
    }
    const SCliResult past = cli.Run({"play", path, "--from", "6"});
    EXPECT_EQ(past.exitCode, 1);
    EXPECT_NE(past.err.find("past the end of the record (6 s)"), std::string::npos) << past.err;
    EXPECT_EQ(cli.Run({"play", path, "--speed", "1,5"}).exitCode, 2);
}

// A realtime recording stopped from outside ends like a normal one: the file is
// finalised, the information is in it, the program reports the path and success.
TEST(CliRecord, TerminationSignalFinalisesTheRecord)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        CCliRunner cli;
        const std::string path = cli.Scratch("stopped.wav");
        const SCliResult result = RecordUntilSignal(cli, path, kRecordHeaderSize, 300, signal);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, path + "\n");
        ExpectCompletePcmRecord(path, "stopped");
        const std::size_t samples = ReadString(path).size() - kRecordHeaderSize;
        EXPECT_GT(samples, 0u);
        EXPECT_LT(samples, 30u * 8000u);
        EXPECT_EQ(InfoJson(cli, path)["samples"].toInteger(), static_cast<qint64>(samples));
    }
}

// A recording killed outright keeps every second completed before the kill, in both
// formats, and still opens as a record with its information.
TEST(CliRecord, AKilledRecordingKeepsItsCompletedSeconds)
{
    for (const char* name : {"killed.wav", "killed.ogg"}) {
        SCOPED_TRACE(name);
        CCliRunner cli;
        const std::string path = cli.Scratch(name);
        RecordUntilSignal(cli, path, 0, 2600, SIGKILL); // the header is written at the start
        const QJsonObject info = InfoJson(cli, path);
        EXPECT_GE(info["samples"].toInteger(), 2 * 8000 - 160); // a Speex frame of slack
        EXPECT_EQ(info["info"].toString(), "stopped");
    }
}

// A FIFO named like a record never makes a command wait (each would otherwise block in its
// open until killed): the commands refuse it at once and the listing leaves it out.
TEST(CliRecordFiles, AFifoNamedLikeARecordIsRefusedWithoutWaiting)
{
    CCliRunner cli;
    const std::string fifo = cli.Home() + "/Data/fifo.wav";
    std::filesystem::create_directories(cli.Home() + "/Data");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> commands = {{"info", fifo},
                                                            {"edit", fifo, "--add-contact", "Bo"},
                                                            {"tag", fifo, "--info", "x"},
                                                            {"rename", fifo, "Other"},
                                                            {"delete", "--permanent", fifo},
                                                            {"play", fifo}};
    for (const std::vector<std::string>& command : commands) {
        const SCliResult result = cli.Run(command, 10000);
        EXPECT_EQ(result.exitCode, 1) << command[0] << ": " << result.err;
    }
    const SCliResult listed = cli.Run({"list"}, 10000);
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, "");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST(CliDevices, ListsEachDirectionWithItsDefault)
{
    CCliRunner cli;
    const SCliResult json = cli.Run({"devices", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(json.out)),
              QJsonDocument::fromJson(R"([
        {"direction": "input", "name": "Simulated", "description": "Simulated", "default": true},
        {"direction": "output", "name": "Simulated", "description": "Simulated", "default": true}
    ])"));
    EXPECT_NE(cli.Run({"devices"}).out.find("input      *        Simulated"), std::string::npos);
}

// The seconds are those above the reserve, at the format's rate (PCM: 7850 bytes a second).
TEST(CliTimeLeft, ReportsTheSecondsTheFreeSpaceHoldsAboveTheReserve)
{
    CCliRunner cli;
    const SCliResult result = cli.Run({"time-left", "--format", "0", "--path", cli.Scratch("")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto number = [&](const std::string& label) {
        const std::size_t at = result.out.find(label);
        return at == std::string::npos ? -1.0 : std::stod(result.out.substr(at + label.size()));
    };
    const double freeBytes = number("free bytes: ");
    ASSERT_GT(freeBytes, 0) << result.out;
    EXPECT_EQ(number("recording seconds: "),
              freeBytes > 1e6 ? std::floor((freeBytes - 1e6) / 7850) : 0)
        << result.out;
}

} // namespace
