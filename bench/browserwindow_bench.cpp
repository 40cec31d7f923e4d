// The records browser's window over 10,000 records, against the browsing model alone in the
// same run: opening the window beside building the model it opens with, and each change a
// user makes (a period, a page, a search keystroke) beside the model's answer to the same
// question. What the widgets add is printed as a ratio, with the one-frame aim (16 ms).
// The records pane's first display is measured beside the model's build the same way, repeated,
// with its ratio at the minimum, median and maximum.
// The records are made in memory (names over two years, one in twenty renamed): the window
// reads no file once it has its record list.

#include "audio/audiomanager.h"
#include "benchrecords.h"
#include "browser/browserpage.h"
#include "browser/findrecorddlg.h"
#include "browser/propertyall.h"
#include "browser/recordspane.h"
#include "browserstubs.h"
#include "platform/wavebackend.h"
#include "store/peakscache.h"
#include "store/recordbrowser.h"
#include "timesreporter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kRecords = 10000;

const RecordList& Records()
{
    static const RecordList records = Bench::BrowsedRecords(kRecords);
    return records;
}

// One open window for the changes, made before any timing starts.
struct SWindow
{
    CAudioManager audio;
    Bench::CSilentPrompts prompts{false};
    Bench::CNoPim pim;
    CFindRecordDlg dialog{{audio, prompts, pim, Records(),
                           []() -> const RecordList& { return Records(); },
                           [] {
                               return QDateTime(QDate(2026, 6, 17), QTime(12, 0));
                           }}};
};

// Made before any timing starts; main ends it while the application object still lives.
std::unique_ptr<SWindow>& WindowSlot()
{
    static std::unique_ptr<SWindow> window;
    return window;
}

SWindow& Window()
{
    std::unique_ptr<SWindow>& window = WindowSlot();
    if (!window)
        window = std::make_unique<SWindow>();
    return *window;
}

void BM_BuildModel(benchmark::State& state)
{
    for (auto _ : state) {
        const CRecordBrowser model(Records());
        benchmark::DoNotOptimize(model.Count());
    }
}
BENCHMARK(BM_BuildModel)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_OpenWindow(benchmark::State& state)
{
    SWindow& window = Window();
    for (auto _ : state) {
        CFindRecordDlg dialog(
            {window.audio, window.prompts, window.pim, Records(), []() -> const RecordList& {
                 return Records();
             }});
        benchmark::DoNotOptimize(dialog.AllPage());
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The model's answers to the questions the changes below ask.
void BM_ModelQuestions(benchmark::State& state)
{
    const CRecordBrowser& model = Window().dialog.Records();
    SRecordQuery query;
    query.today = QDate(2026, 6, 17);
    for (auto _ : state) {
        query.period = Period::EPeriod::All;
        benchmark::DoNotOptimize(model.Records(query).size());
        query.search = QStringLiteral("contact 1");
        benchmark::DoNotOptimize(model.Records(query).size());
        query.search.clear();
    }
}
BENCHMARK(BM_ModelQuestions)->Unit(benchmark::kMillisecond);

// The same two lists through the window: a period chosen, a search typed and cleared.
void BM_WindowPeriodAndSearch(benchmark::State& state)
{
    CPropertyAll* page = Window().dialog.AllPage();
    QComboBox* period = page->PeriodList();
    for (auto _ : state) {
        period->setCurrentIndex(0);
        emit period->activated(0);
        page->SearchField()->setText(QStringLiteral("contact 1"));
        page->SearchField()->clear();
    }
}
BENCHMARK(BM_WindowPeriodAndSearch)->Unit(benchmark::kMillisecond);

// Every page shown once, from the records already read.
void BM_WindowPages(benchmark::State& state)
{
    QTabWidget* tabs = Window().dialog.Tabs();
    for (auto _ : state) {
        for (int page = 1; page <= 4; ++page)
            tabs->setCurrentIndex(page % 4);
    }
}
BENCHMARK(BM_WindowPages)->Unit(benchmark::kMillisecond);

// The records pane's first display beside the model it is built on, each repeated, so that
// the ratio is given at the minimum, the median and the maximum: the pane reads its record list,
// builds its model, fills and lays out its page and paints it at a desktop size.
void MinMedianMax(benchmark::internal::Benchmark* bench)
{
    bench->Unit(benchmark::kMillisecond)
        ->Repetitions(9)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics(
            "min",
            [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) {
            return *std::max_element(v.begin(), v.end());
        });
}

void BM_PaneModelBuild(benchmark::State& state)
{
    for (auto _ : state) {
        const CRecordBrowser model(Records());
        benchmark::DoNotOptimize(model.Count());
    }
}
BENCHMARK(BM_PaneModelBuild)->Apply(MinMedianMax);

void BM_PaneFirstDisplay(benchmark::State& state)
{
    SWindow& window = Window();
    CPeaksCache peaks(window.audio);
    for (auto _ : state) {
        CRecordsPane pane({window.audio, window.prompts, window.pim, peaks, [] {
                               return Records();
                           }});
        pane.resize(800, 770);
        // Everything a first show lays out and paints, without a screen to wait for.
        benchmark::DoNotOptimize(pane.grab().width());
    }
}
BENCHMARK(BM_PaneFirstDisplay)->Apply(MinMedianMax);

class CRatioReporter : public CTimesReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        CTimesReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate)
                m_aggregates[run.run_name.function_name][run.aggregate_name] =
                    run.GetAdjustedRealTime();
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto& built = m_aggregates["BM_PaneModelBuild"];
        auto& pane = m_aggregates["BM_PaneFirstDisplay"];
        if (built["median"] > 0)
            std::printf("the pane's first display over %d records: min %.1f ms, median %.1f ms, "
                        "max %.1f ms = %.2f / %.2f / %.2f x building the model (%.1f / %.1f / "
                        "%.1f ms)\n",
                        kRecords, pane["min"], pane["median"], pane["max"],
                        pane["min"] / built["min"], pane["median"] / built["median"],
                        pane["max"] / built["max"], built["min"], built["median"], built["max"]);
        const double model = RealTime("BM_BuildModel");
        const double open = RealTime("BM_OpenWindow");
        if (model > 0)
            std::printf("opening %.1f ms = %.2f x building the model (%.1f ms)\n", open,
                        open / model, model);
        const double questions = RealTime("BM_ModelQuestions");
        const double changes = RealTime("BM_WindowPeriodAndSearch");
        if (questions > 0)
            std::printf("a period and a search keystroke through the window: %.2f ms = %.2f x "
                        "the model's answers; per change %.2f ms, aim < 16 ms\n",
                        changes, changes / questions, changes / 3);
        const double pages = RealTime("BM_WindowPages");
        std::printf("showing a page: %.2f ms, aim < 16 ms\n", pages / 4);
    }

private:
    std::map<std::string, std::map<std::string, double>> m_aggregates;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("PARLANTOGRAPHER_AUDIO"))
        qputenv("PARLANTOGRAPHER_AUDIO", "sim");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Window(); // the records and the window exist before any timing starts
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    WindowSlot().reset();
    return 0;
}
