// The catalogue and contact operations that must stay linear, each beside a baseline of the
// same size measured in the same run: listing every group with its tags against reading the
// file's lines once; proposing a copy name with thousands of numbered copies taken against
// the same read; a vCard of one long quoted-printable soft-break chain against a vCard of the
// same bytes on plain lines. The ratio of each pair is printed per size: it stays flat as the
// size grows when the operation is linear.

#include "benchsupport.h"
#include "store/linefile.h"
#include "store/tagcatalogue.h"
#include "store/vcardreader.h"
#include "timesreporter.h"

#include <QByteArray>
#include <QString>
#include <benchmark/benchmark.h>
#include <iostream>
#include <map>

namespace {

QString Home(int groups)
{
    const auto folder = Bench::ScratchDir() / ("home" + std::to_string(groups));
    std::filesystem::create_directories(folder);
    QByteArray text = "[Work]\nReport\n";
    for (int i = 1; i <= groups; ++i)
        text += "[Work" + QByteArray::number(i).rightJustified(2, '0') + "]\nReport\n";
    LineFile::ReplaceBytes(QString::fromStdString((folder / "groups.dat").string()), text);
    return QString::fromStdString(folder.string());
}

void BM_ReadLinesBaseline(benchmark::State& state)
{
    const QString home = Home(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(LineFile::Read(home + "/groups.dat"));
}

void BM_ListAll(benchmark::State& state)
{
    const CTagCatalogue tags(Home(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(tags.ListAll());
}

void BM_MakeCopyName(benchmark::State& state)
{
    const CTagCatalogue tags(Home(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(tags.MakeCopyName("Work"));
}

QByteArray Card(int lines, bool softBreaks)
{
    QByteArray value;
    for (int i = 0; i < lines; ++i)
        value += softBreaks ? "abcdefgh=\r\n" : "abcdefgh";
    return "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:" + value +
           ";Ann;;;\r\nEND:VCARD\r\n";
}

void BM_VCardPlainBaseline(benchmark::State& state)
{
    const QByteArray card = Card(static_cast<int>(state.range(0)), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(CVCardReader::Parse(card));
}

void BM_VCardSoftBreaks(benchmark::State& state)
{
    const QByteArray card = Card(static_cast<int>(state.range(0)), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(CVCardReader::Parse(card));
}

BENCHMARK(BM_ReadLinesBaseline)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListAll)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakeCopyName)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VCardPlainBaseline)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VCardSoftBreaks)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Prints each operation's time over its baseline's, per size.
class CRatioReporter : public CTimesReporter
{
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto ratio = [&](const char* what, const char* base, int n) {
            const std::string suffix = "/" + std::to_string(n);
            const double a = CpuTime(what + suffix), b = CpuTime(base + suffix);
            if (a > 0 && b > 0)
                std::cout << what << suffix << " / " << base << ": " << a / b << '\n';
        };
        for (int n : {1000, 5000}) {
            ratio("BM_ListAll", "BM_ReadLinesBaseline", n);
            ratio("BM_MakeCopyName", "BM_ReadLinesBaseline", n);
        }
        for (int n : {2000, 10000})
            ratio("BM_VCardSoftBreaks", "BM_VCardPlainBaseline", n);
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
