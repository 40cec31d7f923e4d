#include "clirunner.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace testsupport;

QJsonObject InfoJson(CCliRunner& cli, const std::string& path)
{
    const SCliResult result = cli.Run({"info", path, "--json"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << result.out;
    return document.object();
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

TEST(CliUsage, WrongUsageExitsWithTwoAndAUsageHint)
{
    CCliRunner cli;
    const std::string out = cli.Scratch("out.wav");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"no-such-command"},
        {"record", out},
        {"record", out, "--seconds"},
        {"record", out, "--seconds", "0"},
        {"record", out, "--seconds", "86401"},
        {"record", out, "--seconds", "-1"},
        {"record", out, "--seconds", "1.5"},
        {"record", out, "--seconds", "2", "--seconds", "3"},
        {"record", out, "--seconds", "2", "--format", "6"},
        {"record", out, "--seconds", "2", "--format", "3"},
        {"record", cli.Scratch("out.ogg"), "--seconds", "2", "--format", "0"},
        {"record", cli.Scratch("out.mp3"), "--seconds", "2"},
        {"record", cli.Scratch("out"), "--seconds", "2"},
        {"record", out, "--seconds", "2", "--tag", "Priority=Normal"},
        {"record", out, "--seconds", "2", "--info", "a", "--info-file", out},
        {"record", out, "extra.wav", "--seconds", "2"},
        {"record", out, "--seconds", "2", "--loud"},
        {"info"},
        {"info", out, "--json=yes"},
        {"tag", out},
        {"devices", "now"},
        {"time-left", "--format", "x"},
    };
    for (const auto& arguments : cases) {
        std::string shown;
        for (const auto& word : arguments)
            shown += word + ' ';
        const SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, 2) << shown << result.err;
        EXPECT_NE(result.err.find("usage: parlantographer-cli"), std::string::npos) << shown;
        EXPECT_TRUE(result.out.empty()) << shown;
    }
    EXPECT_FALSE(std::filesystem::exists(out)) << "a refused command left a file behind";

    const SCliResult help = cli.Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("  record"), std::string::npos) << help.out;
    EXPECT_EQ(cli.Run({"--version"}).out.rfind("parlantographer-cli ", 0), 0u);
    EXPECT_EQ(cli.Run({"tag", "--help"}).out.rfind("usage: parlantographer-cli tag FILE", 0), 0u);
}

TEST(CliRecord, RecordHoldsExactlyTheRequestedSamplesAndTheInformation)
{
    CCliRunner cli;
    const std::string path = cli.Scratch("memo.wav");
    const std::string info = "note \"quoted\"\nsecond line é";
    const SCliResult result = cli.Run({"record", path, "--seconds", "3", "--info", info});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, path + "\n");
    ExpectCompletePcmRecord(path, info);
    const std::vector<std::uint8_t> input = CCliRunner::InputSamples(3 * 8000);
    EXPECT_EQ(ReadString(path).substr(kRecordHeaderSize), std::string(input.begin(), input.end()))
        << "the samples are not the input's, in order";

    const QJsonObject json = InfoJson(cli, path);
    EXPECT_EQ(json["codec"].toString(), "pcm");
    EXPECT_EQ(json["seconds"].toInteger(), 3);
    EXPECT_EQ(json["info"].toString(), QString::fromUtf8(info));
    // A file the user names touches nothing in the program's home.
    EXPECT_TRUE(std::filesystem::is_empty(cli.Home()));
}

TEST(CliRecord, RefusalsRecordNothingAndKeepWhatIsThere)
{
    CCliRunner cli;
    const std::string refused = cli.Scratch("refused.wav");
    const SCliResult tooLong =
        cli.Run({"record", refused, "--seconds", "1", "--info", std::string(1025, 'x')});
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_NE(tooLong.err.find("1024"), std::string::npos) << tooLong.err;
    const std::string infoFile = cli.Scratch("info.txt");
    WriteString(infoFile, std::string("before\0after", 12));
    for (const std::string& file : {infoFile, cli.Scratch("none")})
        EXPECT_EQ(cli.Run({"record", refused, "--seconds", "1", "--info-file", file}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(refused));

    WriteString(refused, "keep me");
    EXPECT_EQ(cli.Run({"record", refused, "--seconds", "1"}).exitCode, 1);
    EXPECT_EQ(ReadString(refused), "keep me");

    const SCliResult noFolder = cli.Run({"record", cli.Scratch("none/x.wav"), "--seconds", "1"});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_EQ(noFolder.err,
              "The folder " + cli.Scratch("none") + " does not exist; nothing recorded\n");
}

// A realtime recording stopped from outside ends like a normal one: the file is
// finalised, the information is in it, the program reports the path and success.
TEST(CliRecord, TerminationSignalFinalisesTheRecord)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        CCliRunner cli;
        cli.SetEnv("PARLANTOGRAPHER_SIM_SPEED", "realtime");
        const std::string path = cli.Scratch("stopped.wav");
        const auto process = cli.Start({"record", path, "--seconds", "30", "--info", "stopped"});
        const auto hasSamples = [&] {
            std::error_code error;
            return std::filesystem::file_size(path, error) > kRecordHeaderSize && !error;
        };
        for (int i = 0; i < 500 && !hasSamples(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(static_cast<pid_t>(process->processId()), signal);
        const SCliResult result = CCliRunner::Finish(*process, 10000);
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
        cli.SetEnv("PARLANTOGRAPHER_SIM_SPEED", "realtime");
        const std::string path = cli.Scratch(name);
        const auto process = cli.Start({"record", path, "--seconds", "30", "--info", "killed"});
        const auto size = [&] {
            std::error_code error;
            const auto bytes = std::filesystem::file_size(path, error);
            return error ? 0 : bytes;
        };
        for (int i = 0; i < 500 && size() == 0; ++i) // the header is written at the start
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(2600));
        ::kill(static_cast<pid_t>(process->processId()), SIGKILL);
        CCliRunner::Finish(*process, 10000);
        const QJsonObject info = InfoJson(cli, path);
        EXPECT_GE(info["samples"].toInteger(), 2 * 8000 - 160); // a Speex frame of slack
        EXPECT_EQ(info["info"].toString(), "killed");
    }
}

TEST(CliTag, RewritesTheInformationOfARecordAndRefusesOtherFiles)
{
    CCliRunner cli;
    const std::string path = cli.Scratch("memo.wav");
    ASSERT_EQ(cli.Run({"record", path, "--seconds", "1", "--info", "first text, long"}).exitCode,
              0);
    const std::string before = ReadString(path);
    WriteString(cli.Scratch("info.txt"), "second");
    ASSERT_EQ(cli.Run({"tag", path, "--info-file", cli.Scratch("info.txt")}).exitCode, 0);
    EXPECT_EQ(ReadString(path).substr(kRecordHeaderSize), before.substr(kRecordHeaderSize));
    ExpectCompletePcmRecord(path, "second");

    const std::string text = cli.Scratch("notes.txt");
    WriteString(text, "just text");
    const SCliResult refused = cli.Run({"tag", text, "--info", "x"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "GetSuitableCodec(): Cannot find a suitable codec for the given file\n");
    EXPECT_EQ(ReadString(text), "just text");
}

TEST(CliPlay, PlaysEverySampleOfARecordInOrder)
{
    CCliRunner cli;
    const std::string path = cli.Scratch("memo.wav");
    ASSERT_EQ(cli.Run({"record", path, "--seconds", "2"}).exitCode, 0);
    cli.SetEnv("PARLANTOGRAPHER_SIM_OUTPUT", cli.Scratch("played.raw"));
    const SCliResult result = cli.Run({"play", path});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadString(cli.Scratch("played.raw")).substr(0, 16000),
              ReadString(path).substr(kRecordHeaderSize));

    // A named output that is not there plays on the default one, with a warning.
    std::filesystem::remove(cli.Scratch("played.raw"));
    const SCliResult named = cli.Run({"play", path, "--output", "Headset"});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(named.err, "warning: the audio device \"Headset\" is not present; using the "
                         "default device\n");
    EXPECT_EQ(ReadString(cli.Scratch("played.raw")).size(), 16000u);
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

TEST(CliTimeLeft, ReportsTheSecondsTheFreeSpaceHoldsOrFailsForAMissingFolder)
{
    CCliRunner cli;
    const SCliResult result = cli.Run({"time-left", "--format", "0", "--path", cli.Scratch("")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("recording seconds: "), std::string::npos) << result.out;
    const SCliResult missing = cli.Run({"time-left", "--path", cli.Scratch("no/such/folder")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.empty());
}

} // namespace
