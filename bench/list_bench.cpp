// `list` and `list --json` run in-process over homes of engine records (half PCM, half Speex in
// Ogg, three seconds each, names over two years, one in twenty renamed; copies of a few dozen
// records written by the engine), warm cache, each beside its floor in the same run: listing
// the folder, opening each file, reading its first 1,100 bytes and closing it. Also 20,000
// records against 4,000, and 1,000 ten-minute Speex memos, where `list --json` must cost little
// more than `list`, with the lengths `list --json` keeps and, once, without them. The ratios and
// the aims are printed at the end: the ratios the aims judge are medians of rounds in which the
// command and its floor run one right after the other.
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
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <ostream>
#include <streambuf>
#include <string>
#include <thread>
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

// Each home is written once, at its first benchmark's first call, before any timing. Its
// files are then left alone for the time `list --json` waits before it keeps a memo's length,
// so that every run after the first finds the lengths kept.
QString Home(const char* name, const std::function<void(const QString&)>& make)
{
    const QString home = QString::fromStdString((Bench::ScratchDir() / name).string());
    if (!QDir(home + "/Data").exists()) {
        make(home);
        std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    }
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

// One run of the command; false when it failed.
bool RunOnce(const QString& home, const std::vector<std::string>& arguments, std::ostream& out)
{
    ::setenv("PARLANTOGRAPHER_HOME", home.toLocal8Bit().constData(), 1);
    CCliApplication application(out, out);
    return application.Run(arguments) == 0;
}

void RunCli(benchmark::State& state, const QString& home, std::vector<std::string> arguments)
{
    CNullBuffer buffer;
    std::ostream out(&buffer);
    for (auto _ : state) {
        if (!RunOnce(home, arguments, out)) {
            state.SkipWithError("the command failed");
            return;
        }
    }
    benchmark::DoNotOptimize(buffer.written);
}

// The floor, once: list the folder, open each file by its path (as `head -c 1100` does), read
// its first 1,100 bytes, close it.
void FloorOnce(const std::string& folder)
{
    char bytes[1100];
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

void Floor(benchmark::State& state, const QString& home)
{
    const std::string folder = (home + "/Data").toStdString();
    for (auto _ : state)
        FloorOnce(folder);
}

double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The ratios of round after round in which each of `works` runs once, the first one being the
// baseline, in an order that turns each round: a machine that slows down for a while (another
// program, its page cache being trimmed) sways one round's ratios, not the median's.
std::vector<double> MedianRatios(benchmark::State& state,
                                 const std::vector<std::function<void()>>& works)
{
    std::vector<std::vector<double>> ratios(works.size() - 1);
    std::size_t round = 0;
    for (auto _ : state) {
        std::vector<double> seconds(works.size());
        for (std::size_t k = 0; k < works.size(); ++k) {
            const std::size_t which = (round + k) % works.size();
            seconds[which] = SecondsOf(works[which]);
        }
        for (std::size_t k = 1; k < works.size(); ++k)
            ratios[k - 1].push_back(seconds[k] / seconds[0]);
        ++round;
    }
    std::vector<double> medians;
    for (const std::vector<double>& each : ratios)
        medians.push_back(Median(each));
    return medians;
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

// The floor, `list` and `list --json` over 4,000 records, round after round beside each other.
void BM_Beside4000(benchmark::State& state)
{
    const QString home = Mixed4000();
    const std::string folder = (home + "/Data").toStdString();
    CNullBuffer buffer;
    std::ostream out(&buffer);
    const std::vector<double> medians =
        MedianRatios(state, {[&] { FloorOnce(folder); }, [&] { RunOnce(home, {"list"}, out); },
                             [&] {
                                 RunOnce(home, {"list", "--json"}, out);
                             }});
    state.counters["list/floor"] = medians[0];
    state.counters["json/floor"] = medians[1];
}
// `list` and `list --json` over 1,000 ten-minute memos, round after round beside each other.
void BM_BesideLong1000(benchmark::State& state)
{
    const QString home = Long1000();
    CNullBuffer buffer;
    std::ostream out(&buffer);
    const std::vector<double> medians =
        MedianRatios(state, {[&] { RunOnce(home, {"list"}, out); },
                             [&] {
                                 RunOnce(home, {"list", "--json"}, out);
                             }});
    state.counters["json/list"] = medians[0];
}
// The same with the kept lengths removed before each `list --json`: what a first listing costs,
// or one after every memo changed.
void BM_BesideLong1000Cold(benchmark::State& state)
{
    const QString home = Long1000();
    const QString lengths = home + "/lengths.cache";
    CNullBuffer buffer;
    std::ostream out(&buffer);
    const std::vector<double> medians =
        MedianRatios(state, {[&] { RunOnce(home, {"list"}, out); },
                             [&] {
                                 QFile::remove(lengths);
                                 RunOnce(home, {"list", "--json"}, out);
                             }});
    state.counters["cold/list"] = medians[0];
}

BENCHMARK(BM_Floor4000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_List4000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ListJson4000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Floor20000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_List20000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ListJson20000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ListLong1000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ListJsonLong1000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Beside4000)->Unit(benchmark::kMillisecond)->Iterations(21);
BENCHMARK(BM_BesideLong1000)->Unit(benchmark::kMillisecond)->Iterations(41);
BENCHMARK(BM_BesideLong1000Cold)->Unit(benchmark::kMillisecond)->Iterations(21);

class CAimReporter : public CTimesReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        CTimesReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            for (const auto& [name, counter] : run.counters)
                m_counters[name] = counter.value;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto line = [](const char* what, double value, double aim) {
            std::printf("%-52s %6.2f  aim <= %.2f  %s\n", what, value, aim,
                        value <= aim ? "met" : "MISSED");
        };
        const double floor4 = RealTime("BM_Floor4000");
        const double list4 = RealTime("BM_List4000");
        const double json4 = RealTime("BM_ListJson4000");
        if (floor4 > 0 && list4 > 0 && json4 > 0)
            std::printf("per record over 4,000: floor %.2f us, list %.2f us, list --json %.2f us"
                        " (one run each: list / floor %.2f, list --json / floor %.2f)\n",
                        floor4 * 1000 / 4000, list4 * 1000 / 4000, json4 * 1000 / 4000,
                        list4 / floor4, json4 / floor4);
        if (m_counters.count("list/floor")) {
            line("list / floor, 4,000 records (median of rounds)", m_counters["list/floor"], 1.5);
            line("list --json / floor, 4,000 records (median)", m_counters["json/floor"], 2.0);
        }
        const double list20 = RealTime("BM_List20000");
        const double json20 = RealTime("BM_ListJson20000");
        if (list20 > 0 && list4 > 0)
            line("list, 20,000 / 4,000 records", list20 / list4, 5.5);
        if (json20 > 0 && json4 > 0)
            line("list --json, 20,000 / 4,000 records", json20 / json4, 5.5);
        if (m_counters.count("json/list"))
            line("list --json / list, 1,000 ten-minute memos (median)", m_counters["json/list"],
                 1.3);
        if (m_counters.count("cold/list"))
            std::printf("%-52s %6.2f  (lengths read from every tail, then kept)\n",
                        "list --json / list, the same, first listing", m_counters["cold/list"]);
    }

private:
    std::map<std::string, double> m_counters;
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
