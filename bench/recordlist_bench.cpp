// The cost of rebuilding the record list, beside the floor of the same work done bare:
// listing the folder, opening each file and reading its first 1,100 bytes. Both run
// over the same 10,000 records (half PCM, half Speex in Ogg, written by the engine once,
// then copied) with a warm cache; the ratio of the two per-record times is printed.

#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "benchrecords.h"
#include "platform/wavebackend.h"
#include "store/recordcatalogue.h"
#include "timesreporter.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRecords = 10000;

QByteArray RecordInfo()
{
    QByteArray info = "*ParlantographerInfo*\n[[Tags]]\n[Priority]\nImportant\n[[Tasks]]\n"
                      "Call back\n[[Contacts]]\nAnn Lee\n";
    info.resize(1024, '\0');
    return info;
}

class CRecordFolder
{
public:
    CRecordFolder()
    {
        CAudioManager manager;
        const QByteArray wav =
            Bench::EngineRecord(manager, Codec::Pcm, RecordInfo(), m_dir.path() + "/template.wav");
        const QByteArray ogg = Bench::EngineRecord(manager, Codec::Speex, RecordInfo(),
                                                   m_dir.path() + "/template.ogg");
        for (int i = 0; i < kRecords; ++i) {
            const bool pcm = i % 2 == 0;
            const QString name =
                QString::asprintf("%02d%02d2026_%02d%02d%02d.%s", 1 + i % 12, 1 + i % 28,
                                  (i / 3600) % 24, (i / 60) % 60, i % 60, pcm ? "wav" : "ogg");
            QFile file(m_dir.path() + u'/' + name);
            if (!file.open(QIODevice::WriteOnly) || file.write(pcm ? wav : ogg) < 0)
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        }
    }
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

const CRecordFolder& Folder()
{
    static const CRecordFolder folder;
    return folder;
}

void BM_BuildRecordList(benchmark::State& state)
{
    CAudioManager manager;
    const QStringList folders{Folder().Path()};
    std::size_t listed = 0;
    for (auto _ : state) {
        RecordList list = BuildRecordList(folders, manager.GetTagger());
        listed = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    if (listed != kRecords)
        state.SkipWithError("not every record was listed");
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_BuildRecordList)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What the engine's reading path alone costs: the tagger on every file.
void BM_TaggerOnEveryFile(benchmark::State& state)
{
    CAudioManager manager;
    const QByteArray folder = QFile::encodeName(Folder().Path());
    std::vector<std::string> paths;
    DIR* dir = ::opendir(folder.constData());
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.')
            paths.push_back(folder.toStdString() + '/' + entry->d_name);
    ::closedir(dir);
    for (auto _ : state) {
        for (const std::string& path : paths) {
            try {
                benchmark::DoNotOptimize(manager.GetTagger().ReadRecordInfo(path));
            } catch (const std::exception& e) {
                state.SkipWithError(e.what());
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_TaggerOnEveryFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The floor: list the folder, open each file, read its first 1,100 bytes, close it.
void BM_OpenAndReadFloor(benchmark::State& state)
{
    const QByteArray folder = QFile::encodeName(Folder().Path());
    char buffer[1100];
    std::size_t files = 0;
    for (auto _ : state) {
        files = 0;
        DIR* dir = ::opendir(folder.constData());
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            const std::string path = folder.toStdString() + '/' + entry->d_name;
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
            ::close(fd);
            ++files;
        }
        ::closedir(dir);
    }
    if (files != kRecords)
        state.SkipWithError("not every file was read");
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_OpenAndReadFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Prints the per-record times and their ratio once both benchmarks have run.
class CRatioReporter : public CTimesReporter
{
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double build = Find("BM_BuildRecordList");
        const double tagger = Find("BM_TaggerOnEveryFile");
        const double floor = Find("BM_OpenAndReadFloor");
        if (build > 0 && floor > 0)
            std::printf("per record: BuildRecordList %.0f ns, floor %.0f ns, ratio %.2f\n", build,
                        floor, build / floor);
        if (tagger > 0 && floor > 0)
            std::printf("per record: tagger alone %.0f ns, ratio %.2f\n", tagger, tagger / floor);
        const double buildCpu = Find("BM_BuildRecordList", true);
        const double taggerCpu = Find("BM_TaggerOnEveryFile", true);
        const double floorCpu = Find("BM_OpenAndReadFloor", true);
        if (buildCpu > 0 && taggerCpu > 0 && floorCpu > 0)
            std::printf(
                "cpu per record: BuildRecordList %.0f ns (ratio %.2f), tagger alone %.0f ns "
                "(ratio %.2f), floor %.0f ns\n",
                buildCpu, buildCpu / floorCpu, taggerCpu, taggerCpu / floorCpu, floorCpu);
    }

private:
    // ms -> ns per record; CPU time too, as the machine is shared
    double Find(const std::string& prefix, bool cpu = false) const
    {
        return (cpu ? CpuTime(prefix) : RealTime(prefix)) * 1e6 / kRecords;
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Folder(); // the records exist before any timing starts
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
