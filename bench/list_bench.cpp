// `list` and `list --json` run in-process over homes of engine records (half PCM, half Speex in
// Ogg, three seconds each, names over two years, one in twenty renamed; copies of a few dozen
// records written by the engine), warm cache, each beside its floor in the same run: listing
// the folder, opening each file, reading its first 1,100 bytes and closing it. Also 20,000
// records against 4,000, and 1,000 ten-minute Speex memos, where `list --json` must cost little
// more than `list`. The ratios and the aims are printed at the end.
//
// `list_bench --make-home=DIR --records=N` only writes such a home (N records) and exits, for
// the process-level measurements of bench/list_process.sh.

#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "benchrecords.h"
#include "benchsupport.h"
#include "cli/cliapplication.h"
#include "platform/wavebackend.h"
#include "timesreporter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kInfoVariants = 50;

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A home whose data folder holds `count` records.
void MakeHome(const QString& home, int count)
{
    const QString data = home + "/Data/";
    QDir().mkpath(data);
    CAudioManager manager;
    std::vector<QByteArray> wav;
    std::vector<QByteArray> ogg;
    for (int v = 0; v < kInfoVariants; ++v) {
        wav.push_back(Bench::EngineRecord(manager, Codec::Pcm, Bench::InfoVariant(v),
                                          home + "/template.wav"));
        ogg.push_back(Bench::EngineRecord(manager, Codec::Speex, Bench::InfoVariant(v),
                                          home + "/template.ogg"));
    }
    for (int i = 0; i < count; ++i) {
        const QByteArray& bytes =
            (i % 2 == 0 ? wav : ogg)[static_cast<std::size_t>(i % kInfoVariants)];
        if (!WriteBytes(data + Bench::BrowsedRecordName(i), bytes))
            std::fprintf(stderr, "cannot write record %d\n", i);
    }
}

// A home of 1,000 ten-minute memos (Speex quality 3, as the 654 KB memo).
void MakeLongHome(const QString& home)
{
    const QString data = home + "/Data/";
    QDir().mkpath(data);
    CAudioManager manager;
    manager.ApplyFormat(3);
    const auto encoder = manager.CreateEncoder(Codec::Speex);
    const QString path = home + "/template.ogg";
    encoder->SetInfo(Bench::InfoVariant(1).toStdString());
    encoder->Open(path.toStdString(), false);
    const Bench::Bytes& speech = Bench::SpeechClip();
    std::vector<std::uint8_t> second(8000);
    for (int s = 0; s < 600; ++s) {
        for (std::size_t i = 0; i < second.size(); ++i)
            second[i] = speech[(static_cast<std::size_t>(s) * 8000 + i) % speech.size()];
        encoder->Write(second, s == 599);
    }
    encoder->Close();
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    for (int i = 0; i < 1000; ++i)
        WriteBytes(data + Bench::BrowsedRecordName(i * 20 + (i % 19)).replace(".wav", ".ogg"),
                   bytes);
}

// Each home is written once, at its first benchmark's first call, before any timing.
QString Home(const char* name, const std::function<void(const QString&)>& make)
{
    const QString home = QString::fromStdString((Bench::ScratchDir() / name).string());
    if (!QDir(home + "/Data").exists())
        make(home);
    return home;
}

QString Mixed4000()
{
    static const QString home = Home("mixed4000", [](const QString& h) { MakeHome(h, 4000); });
    return home;
}

QString Mixed20000()
{
    static const QString home = Home("mixed20000", [](const QString& h) { MakeHome(h, 20000); });
    return home;
}

QString Long1000()
{
    static const QString home = Home("long1000", MakeLongHome);
    return home;
}

// Counts what the command prints and keeps none of it.
class CNullBuffer : public std::streambuf
{
public:
    std::size_t written = 0;

protected:
    int overflow(int c) override
    {
        ++written;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        written += static_cast<std::size_t>(n);
        return n;
    }
};

void RunCli(benchmark::State& state, const QString& home, std::vector<std::string> arguments)
{
    ::setenv("PARLANTOGRAPHER_HOME", home.toLocal8Bit().constData(), 1);
    CNullBuffer buffer;
    std::ostream out(&buffer);
    std::ostream err(&buffer);
    for (auto _ : state) {
        CCliApplication application(out, err);
        if (application.Run(arguments) != 0) {
            state.SkipWithError("the command failed");
            return;
        }
    }
    benchmark::DoNotOptimize(buffer.written);
}

// The floor: list the folder, open each file by its path (as `head -c 1100` does), read its
// first 1,100 bytes, close it.
void Floor(benchmark::State& state, const QString& home)
{
    const std::string folder = (home + "/Data").toStdString();
    char bytes[1100];
    for (auto _ : state) {
        DIR* dir = ::opendir(folder.c_str());
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            const std::string path = folder + '/' + entry->d_name;
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, bytes, sizeof bytes));
            ::close(fd);
        }
        ::closedir(dir);
    }
}

void BM_Floor4000(benchmark::State& state)
{
    Floor(state, Mixed4000());
}
void BM_List4000(benchmark::State& state)
{
    RunCli(state, Mixed4000(), {"list"});
}
void BM_ListJson4000(benchmark::State& state)
{
    RunCli(state, Mixed4000(), {"list", "--json"});
}
void BM_Floor20000(benchmark::State& state)
{
    Floor(state, Mixed20000());
}
void BM_List20000(benchmark::State& state)
{
    RunCli(state, Mixed20000(), {"list"});
}
void BM_ListJson20000(benchmark::State& state)
{
    RunCli(state, Mixed20000(), {"list", "--json"});
}
void BM_ListLong1000(benchmark::State& state)
{
    RunCli(state, Long1000(), {"list"});
}
void BM_ListJsonLong1000(benchmark::State& state)
{
    RunCli(state, Long1000(), {"list", "--json"});
}

BENCHMARK(BM_Floor4000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_List4000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ListJson4000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Floor20000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_List20000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ListJson20000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ListLong1000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ListJsonLong1000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

class CAimReporter : public CTimesReporter
{
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto line = [](const char* what, double value, double aim) {
            std::printf("%-44s %6.2f  aim <= %.2f  %s\n", what, value, aim,
                        value <= aim ? "met" : "MISSED");
        };
        const double floor4 = RealTime("BM_Floor4000");
        const double list4 = RealTime("BM_List4000");
        const double json4 = RealTime("BM_ListJson4000");
        const double list20 = RealTime("BM_List20000");
        const double json20 = RealTime("BM_ListJson20000");
        if (floor4 <= 0 || list4 <= 0)
            return;
        std::printf("per record over 4,000: floor %.2f us, list %.2f us, list --json %.2f us\n",
                    floor4 * 1000 / 4000, list4 * 1000 / 4000, json4 * 1000 / 4000);
        line("list / floor, 4,000 records", list4 / floor4, 1.5);
        line("list --json / floor, 4,000 records", json4 / floor4, 2.0);
        if (list20 > 0)
            line("list, 20,000 / 4,000 records", list20 / list4, 5.5);
        if (json20 > 0)
            line("list --json, 20,000 / 4,000 records", json20 / json4, 5.5);
        const double listLong = RealTime("BM_ListLong1000");
        const double jsonLong = RealTime("BM_ListJsonLong1000");
        if (listLong > 0 && jsonLong > 0)
            line("list --json / list, 1,000 ten-minute memos", jsonLong / listLong, 1.3);
    }
};

// The value of `--name=` among the arguments, or empty.
std::string Option(int argc, char** argv, const char* name)
{
    const std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0)
            return argv[i] + prefix.size();
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    // Private settings and no cards: only the homes made here are listed.
    const std::string config = (Bench::ScratchDir() / "config").string();
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (Bench::ScratchDir() / "data").c_str(), 1);
    ::setenv("PARLANTOGRAPHER_CARDS", "", 1);
    ::setenv("PARLANTOGRAPHER_AUDIO", "sim", 1);
    if (const std::string home = Option(argc, argv, "make-home"); !home.empty()) {
        const std::string records = Option(argc, argv, "records");
        MakeHome(QString::fromStdString(home), records.empty() ? 20000 : std::stoi(records));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    CAimReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
