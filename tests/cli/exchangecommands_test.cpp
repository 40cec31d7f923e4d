#include "clirunner.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

const std::string kInfo = "*ParlantographerInfo*\n[[Tags]]\n[Priority]\nImportant\n[[Tasks]]\n"
                          "Call back\n[[Contacts]]\nAnn Lee\nZoë\n";

// A peer program's standard output; empty when it fails.
QByteArray Peer(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

// ffprobe's view of a file: codec, duration, and the tags of the container and the stream
// together (Opus keeps them in the stream), with lower-case keys.
struct SProbe
{
    QString codec;
    double seconds = 0;
    QJsonObject tags;
};

SProbe Probe(const std::string& path)
{
    const QJsonObject json =
        QJsonDocument::fromJson(Peer("ffprobe", {"-v", "error", "-show_format", "-show_streams",
                                                 "-of", "json", QString::fromStdString(path)}))
            .object();
    const QJsonObject stream = json["streams"].toArray().at(0).toObject();
    const QJsonObject format = json["format"].toObject();
    SProbe probe{stream["codec_name"].toString(), format["duration"].toString().toDouble(), {}};
    for (const QJsonObject& tags : {format["tags"].toObject(), stream["tags"].toObject()}) {
        for (auto it = tags.begin(); it != tags.end(); ++it)
            probe.tags.insert(it.key().toLower(), it.value());
    }
    return probe;
}

// Both record formats to each of the four formats, read back by a peer: the right codec, the
// memo's length, its name, its date and its information; the FLAC holds the very samples.
TEST(CliExport, EveryFormatFromBothRecordFormatsReadsRightInAPeer)
{
    CCliRunner cli;
    WriteString(cli.Scratch("info.txt"), kInfo);
    const struct
    {
        std::string name, format, codec;
        double tolerance;
    } outputs[] = {{"wav", "0", "pcm_s16le", 0.15},
                   {"flac", "0", "flac", 0.15},
                   {"opus", "0", "opus", 0.15},
                   {"mp3", "0", "mp3", 0.25}};
    for (const std::string format : {"0", "3"}) {
        const std::string record =
            cli.Scratch("Call Zoë." + std::string(format == "0" ? "wav" : "ogg"));
        ASSERT_EQ(cli.Run({"record", record, "--seconds", "3", "--format", format, "--info-file",
                           cli.Scratch("info.txt")})
                      .exitCode,
                  0);
        const QJsonObject info =
            QJsonDocument::fromJson(
                QByteArray::fromStdString(cli.Run({"info", record, "--json"}).out))
                .object();
        const double seconds = static_cast<double>(info["samples"].toInteger()) / 8000;
        const QString year = QString::number(QDate::currentDate().year());
        for (const auto& output : outputs) {
            const std::string out = cli.Scratch("export-" + format + "." + output.name);
            SCOPED_TRACE(out);
            const SCliResult result = cli.Run({"export", record, out});
            ASSERT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.out, out + "\n");
            const SProbe probe = Probe(out);
            EXPECT_EQ(probe.codec, QString::fromStdString(output.codec));
            EXPECT_NEAR(probe.seconds, seconds, output.tolerance);
            EXPECT_EQ(probe.tags["title"].toString(), "Call Zoë");
            EXPECT_TRUE(probe.tags["date"].toString().startsWith(year))
                << probe.tags["date"].toString().toStdString();
            const QString comment = probe.tags["comment"].toString();
            for (const char* line :
                 {"Task: Call back", "Contacts: Ann Lee, Zoë", "Priority: Important"})
                EXPECT_TRUE(comment.contains(QString::fromUtf8(line))) << comment.toStdString();
        }
    }
    // 16-bit samples are the 8-bit ones widened: 0x80 is silence, one step is 256.
    const QByteArray decoded =
        Peer("ffmpeg", {"-v", "error", "-i", QString::fromStdString(cli.Scratch("export-0.flac")),
                        "-f", "s16le", "-"});
    const std::vector<std::uint8_t> input = CCliRunner::InputSamples(3 * 8000);
    ASSERT_EQ(decoded.size(), static_cast<qsizetype>(2 * input.size()));
    for (std::size_t i = 0; i < input.size(); i += 997) {
        const auto sample =
            static_cast<std::int16_t>(static_cast<std::uint8_t>(decoded[2 * i]) |
                                      static_cast<std::uint8_t>(decoded[2 * i + 1]) << 8);
        EXPECT_EQ(sample, (input[i] - 128) * 256) << "sample " << i;
    }
}

// The refusals leave every file as it was; --force replaces a file whole.
TEST(CliExport, RefusalsTouchNothingAndForceReplaces)
{
    CCliRunner cli;
    const std::string record = cli.Scratch("memo.wav"), kept = cli.Scratch("kept.mp3");
    ASSERT_EQ(cli.Run({"record", record, "--seconds", "1", "--info", kInfo}).exitCode, 0);
    WriteString(kept, "keep me");
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"export", cli.Scratch("input.wav"), cli.Scratch("a.wav")}, 1, "is not a record"},
        {{"export", record, kept}, 1, "exists already; nothing exported (--force replaces it)"},
        {{"export", record, cli.Scratch("a.ogg")}, 2, "OUT must end in .wav, .flac, .opus or .mp3"},
        {{"export", record}, 2, "usage: parlantographer-cli export FILE OUT [--force]"},
    };
    for (const auto& [arguments, status, reason] : cases) {
        SCOPED_TRACE(arguments.back());
        const SCliResult result = cli.Run(arguments);
        EXPECT_EQ(result.exitCode, status);
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(cli.Scratch("a.wav")));
    EXPECT_FALSE(std::filesystem::exists(cli.Scratch("a.ogg")));
    EXPECT_EQ(ReadString(kept), "keep me");

    ASSERT_EQ(cli.Run({"export", record, kept, "--force"}).exitCode, 0);
    EXPECT_EQ(ReadString(kept).substr(0, 3), "ID3");
}

// A 44.1 kHz stereo file becomes a record of the storage, dated by its modification time,
// listed, and played to the end with its length.
TEST(CliImport, AStereoFileBecomesAPlayableRecordOfTheSameLength)
{
    CCliRunner cli;
    const std::string source = cli.Scratch("from phone.wav");
    WriteFile(source,
              WavFile(Bytes(44100 * 4 * 3 / 2, 0x10), {.channels = 2, .rate = 44100, .bits = 16}));
    const auto modified = std::filesystem::file_time_type::clock::now() - std::chrono::hours(30);
    std::filesystem::last_write_time(source, modified);

    const SCliResult result = cli.Run({"import", source});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string path = result.out.substr(0, result.out.size() - 1);
    EXPECT_EQ(std::filesystem::path(path).parent_path(), cli.Home() + "/Data");
    EXPECT_EQ(std::filesystem::last_write_time(path), modified);
    const QJsonArray listed =
        QJsonDocument::fromJson(QByteArray::fromStdString(cli.Run({"list", "--json"}).out)).array();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].toObject()["seconds"].toInteger(), 2); // 1.5 s, rounded
    const QJsonObject info =
        QJsonDocument::fromJson(QByteArray::fromStdString(cli.Run({"info", path, "--json"}).out))
            .object();
    EXPECT_EQ(info["samples"].toInteger(), 12000);
    cli.SetEnv("PARLANTOGRAPHER_SIM_OUTPUT", cli.Scratch("played.raw"));
    ASSERT_EQ(cli.Run({"play", path}).exitCode, 0);
    EXPECT_GE(ReadString(cli.Scratch("played.raw")).size(), 12000u);

    const SCliResult text = cli.Run({"import", cli.Scratch("played.raw")});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_NE(text.err.find("nothing imported"), std::string::npos) << text.err;
}

} // namespace
