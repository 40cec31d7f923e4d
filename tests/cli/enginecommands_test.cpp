#include "clirunner.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

constexpr std::size_t kPcmHeader = 1070;

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
    const std::string bytes = ReadFileBytes(path);
    ASSERT_GE(bytes.size(), kPcmHeader);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(LittleEndian32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(1062, 4), "data");
    EXPECT_EQ(LittleEndian32(bytes, 1066), bytes.size() - kPcmHeader);
    EXPECT_EQ(bytes.substr(38, 1024), info + std::string(1024 - info.size(), '\0'));
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
    for (const int seconds : {1, 3}) {
        const std::string path = cli.Scratch("memo" + std::to_string(seconds) + ".wav");
        const std::string info = "note \"quoted\"\nsecond line é";
        const SCliResult result =
            cli.Run({"record", path, "--seconds", std::to_string(seconds), "--info", info});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, path + "\n");
        ExpectCompletePcmRecord(path, info);

        const std::string bytes = ReadFileBytes(path);
        ASSERT_EQ(bytes.size(), kPcmHeader + seconds * 8000u);
        const std::vector<std::uint8_t> input = CCliRunner::InputSamples(seconds * 8000u);
        EXPECT_TRUE(bytes.compare(kPcmHeader, std::string::npos,
                                  std::string(input.begin(), input.end())) == 0)
            << "the samples are not the input's, in order";

        const QJsonObject json = InfoJson(cli, path);
        EXPECT_EQ(json["path"].toString().toStdString(), path);
        EXPECT_EQ(json["codec"].toString(), "pcm");
        EXPECT_EQ(json["samples"].toInteger(), seconds * 8000);
        EXPECT_EQ(json["seconds"].toInteger(), seconds);
        EXPECT_EQ(json["info"].toString(), QString::fromUtf8(info));
    }
    // A file the user names touches nothing in the program's home.
    EXPECT_TRUE(std::filesystem::is_empty(cli.Home()));

    const std::string ogg = cli.Scratch("memo.ogg");
    ASSERT_EQ(cli.Run({"record", ogg, "--seconds", "2", "--format", "3", "--info", "speex memo"})
                  .exitCode,
              0);
    const QJsonObject json = InfoJson(cli, ogg);
    EXPECT_EQ(json["codec"].toString(), "speex");
    EXPECT_EQ(json["info"].toString(), "speex memo");
    // The stream's length is its last granule position, which leaves out the codec's
    // look-ahead: a little short of the samples captured, never more.
    EXPECT_LE(json["samples"].toInteger(), 2 * 8000);
    EXPECT_GT(json["samples"].toInteger(), 2 * 8000 - 160);
}

TEST(CliRecord, TheInformationAreaTakes1024BytesAndRefusalsRecordNothing)
{
    CCliRunner cli;
    const std::string infoFile = cli.Scratch("info.txt");
    std::string full(1024, 'a');
    full[1023] = 'z';
    WriteFileBytes(infoFile, full);
    const std::string path = cli.Scratch("full.wav");
    ASSERT_EQ(cli.Run({"record", path, "--seconds", "1", "--info-file", infoFile}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(path).substr(38, 1024), full);
    EXPECT_EQ(InfoJson(cli, path)["info"].toString().toStdString(), full);

    const std::string refused = cli.Scratch("refused.wav");
    const SCliResult tooLong =
        cli.Run({"record", refused, "--seconds", "1", "--info", std::string(1025, 'x')});
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_NE(tooLong.err.find("1024"), std::string::npos) << tooLong.err;
    WriteFileBytes(infoFile, std::string("before\0after", 12));
    EXPECT_EQ(cli.Run({"record", refused, "--seconds", "1", "--info-file", infoFile}).exitCode, 1);
    EXPECT_EQ(
        cli.Run({"record", refused, "--seconds", "1", "--info-file", cli.Scratch("none")}).exitCode,
        1);
    EXPECT_FALSE(std::filesystem::exists(refused));

    WriteFileBytes(refused, "keep me");
    EXPECT_EQ(cli.Run({"record", refused, "--seconds", "1"}).exitCode, 1);
    EXPECT_EQ(ReadFileBytes(refused), "keep me");

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
            return std::filesystem::file_size(path, error) > kPcmHeader && !error;
        };
        for (int i = 0; i < 500 && !hasSamples(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(static_cast<pid_t>(process->processId()), signal);
        const SCliResult result = CCliRunner::Finish(*process, 10000);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, path + "\n");
        ExpectCompletePcmRecord(path, "stopped");
        const std::size_t samples = ReadFileBytes(path).size() - kPcmHeader;
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

TEST(CliTag, RewritesTheInformationAndNothingElse)
{
    CCliRunner cli;
    const std::string path = cli.Scratch("memo.wav");
    ASSERT_EQ(cli.Run({"record", path, "--seconds", "1", "--info", "first text, long"}).exitCode,
              0);
    const std::string before = ReadFileBytes(path);
    ASSERT_EQ(cli.Run({"tag", path, "--info", "second"}).exitCode, 0);
    ASSERT_EQ(ReadFileBytes(path).size(), before.size());
    EXPECT_EQ(ReadFileBytes(path).substr(kPcmHeader), before.substr(kPcmHeader));
    ExpectCompletePcmRecord(path, "second");

    // Information written in the Windows code page by older versions still reads.
    const std::string infoFile = cli.Scratch("cp1252.txt");
    WriteFileBytes(infoFile, "Caf\xE9 \x80 5");
    ASSERT_EQ(cli.Run({"tag", path, "--info-file", infoFile}).exitCode, 0);
    EXPECT_EQ(InfoJson(cli, path)["info"].toString(), QString::fromUtf8("Caf\u00E9 \u20AC 5"));

    const std::string after = ReadFileBytes(path);
    EXPECT_EQ(cli.Run({"tag", path, "--info", std::string(1025, 'y')}).exitCode, 1);
    EXPECT_EQ(ReadFileBytes(path), after);
}

TEST(CliTag, FilesThatAreNotRecordsAreLeftUntouched)
{
    CCliRunner cli;
    // A plain WAV with the common 44-byte header: writing a record header over it would
    // overwrite its first samples.
    const std::string plain = cli.Scratch("plain.wav");
    std::string wav = ReadFileBytes(cli.Scratch("input.wav")).substr(0, 44 + 4000);
    wav.replace(4, 4, std::string("\xC4\x0F\0\0", 4));  // RIFF length for 4000 samples
    wav.replace(40, 4, std::string("\xA0\x0F\0\0", 4)); // data length
    WriteFileBytes(plain, wav);
    const SCliResult refused = cli.Run({"tag", plain, "--info", "x"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("nothing written"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadFileBytes(plain), wav);

    const SCliResult missing = cli.Run({"tag", cli.Scratch("none.wav"), "--info", "x"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "GetSuitableCodec(): Cannot open the input file\n");
    const std::string text = cli.Scratch("notes.txt");
    WriteFileBytes(text, "just text");
    const SCliResult info = cli.Run({"info", text});
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_EQ(info.err, "GetSuitableCodec(): Cannot find a suitable codec for the given file\n");
    EXPECT_EQ(ReadFileBytes(text), "just text");
}

TEST(CliPlay, PlaysEverySampleOfARecordInOrder)
{
    CCliRunner cli;
    const std::string path = cli.Scratch("memo.wav");
    ASSERT_EQ(cli.Run({"record", path, "--seconds", "2"}).exitCode, 0);
    cli.SetEnv("PARLANTOGRAPHER_SIM_OUTPUT", cli.Scratch("played.raw"));
    const SCliResult result = cli.Run({"play", path});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadFileBytes(cli.Scratch("played.raw")).substr(0, 16000),
              ReadFileBytes(path).substr(kPcmHeader));

    // A named output that is not there plays on the default one, with a warning.
    for (const auto& [output, warning] :
         {std::pair{"Simulated", ""},
          std::pair{"Headset", "warning: the audio device \"Headset\" is not present; using the "
                               "default device\n"}}) {
        std::filesystem::remove(cli.Scratch("played.raw"));
        const SCliResult named = cli.Run({"play", path, "--output", output});
        EXPECT_EQ(named.exitCode, 0) << named.err;
        EXPECT_EQ(named.err, warning);
        EXPECT_EQ(ReadFileBytes(cli.Scratch("played.raw")).size(), 16000u) << output;
    }
}

TEST(CliDevices, ListsEachDirectionWithItsDefaultAsTableOrJson)
{
    CCliRunner cli;
    const SCliResult json = cli.Run({"devices", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(json.out)),
              QJsonDocument::fromJson(R"([
        {"direction": "input", "name": "Simulated", "description": "Simulated", "default": true},
        {"direction": "output", "name": "Simulated", "description": "Simulated", "default": true}
    ])"));
    const SCliResult table = cli.Run({"devices"});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out, "DIRECTION  DEFAULT  NAME       DESCRIPTION\n"
                         "input      *        Simulated  Simulated\n"
                         "output     *        Simulated  Simulated\n");
}

TEST(CliTimeLeft, SecondsAreTheFreeBytesAtTheFormatsRate)
{
    CCliRunner cli;
    const auto numberAfter = [](const std::string& text, const std::string& label) {
        const std::size_t at = text.find(label);
        return at == std::string::npos ? 0 : std::stoull(text.substr(at + label.size()));
    };
    for (const auto& [format, bytesPerSecond] :
         {std::pair{"0", 7850ull}, std::pair{"1", 392ull}, std::pair{"5", 1962ull}}) {
        const SCliResult result =
            cli.Run({"time-left", "--format", format, "--path", cli.Scratch("")});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const std::uint64_t freeBytes = numberAfter(result.out, "free bytes: ");
        EXPECT_GT(freeBytes, 0u) << result.out;
        EXPECT_EQ(numberAfter(result.out, "recording seconds: "), freeBytes / bytesPerSecond)
            << result.out;
    }
    const SCliResult missing = cli.Run({"time-left", "--path", cli.Scratch("no/such/folder")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.empty());
}

} // namespace
