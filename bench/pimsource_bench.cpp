// What the desktop's contacts cost against the folder's, over 1,000 contacts: the start-up
// (from making the source to the first list of contacts: for the desktop, reaching the
// service, opening its address books and task lists and receiving every name) and a refill
// (the list again, as every activation of the window asks for it), each against the folder
// source doing the same over 1,000 vCard files, one per contact as a synchronised folder holds
// them. Real time, as the desktop's cost is mostly waiting on the service. Runs in a session
// bus of its own with the service started there (never the user's address book); the
// service's own cold start, paid once per desktop session, is printed first.

#include "benchsupport.h"
#include "desktoppim/desktoppimsource.h"
#include "store/pimfilesource.h"
#include "support/privatesession.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <iostream>
#include <libebook/libebook.h>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kContacts = 1000;

QByteArray Card(int i)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Family" + QByteArray::number(i) +
           ";Given;;;\r\nFN:Given Family" + QByteArray::number(i) + "\r\nEMAIL:person" +
           QByteArray::number(i) + "@example.org\r\nTEL:+44 20 7946 0" +
           QByteArray::number(i % 1000) + "\r\nEND:VCARD\r\n";
}

QString Folder()
{
    static const QString folder = [] {
        const auto contacts = Bench::ScratchDir() / "pim" / "contacts";
        std::filesystem::create_directories(contacts);
        for (int i = 0; i < kContacts; ++i) {
            QFile file(
                QString::fromStdString((contacts / ("c" + std::to_string(i) + ".vcf")).string()));
            if (!file.open(QIODevice::WriteOnly) || file.write(Card(i)) < 0)
                throw std::runtime_error("cannot write the folder");
        }
        return QString::fromStdString((Bench::ScratchDir() / "pim").string());
    }();
    return folder;
}

// The same contacts in the service's built-in address book, added through its client library.
void FillTheService()
{
    GError* error = nullptr;
    ESourceRegistry* registry = e_source_registry_new_sync(nullptr, &error);
    ESource* source = registry ? e_source_registry_ref_builtin_address_book(registry) : nullptr;
    EClient* client =
        source ? e_book_client_connect_sync(source, static_cast<guint32>(-1), nullptr, &error)
               : nullptr;
    GSList* contacts = nullptr;
    for (int i = 0; i < kContacts; ++i)
        contacts = g_slist_prepend(contacts, e_contact_new_from_vcard(Card(i).constData()));
    const bool added = client && e_book_client_add_contacts_sync(E_BOOK_CLIENT(client), contacts,
                                                                 E_BOOK_OPERATION_FLAG_NONE,
                                                                 nullptr, nullptr, &error);
    g_slist_free_full(contacts, g_object_unref);
    const std::string message = error ? error->message : "";
    g_clear_error(&error);
    if (client)
        g_object_unref(client);
    if (source)
        g_object_unref(source);
    if (registry)
        g_object_unref(registry);
    if (!added)
        throw std::runtime_error("cannot fill the service: " + message);
}

void Check(std::size_t contacts, benchmark::State& state)
{
    if (contacts != kContacts)
        state.SkipWithError("not every contact arrived");
}

void BM_FolderStartUp(benchmark::State& state)
{
    const QString folder = Folder();
    for (auto _ : state) {
        const CPimFileSource source(folder);
        Check(source.Contacts().size(), state);
    }
}

void BM_DesktopStartUp(benchmark::State& state)
{
    for (auto _ : state) {
        auto source = std::make_unique<CDesktopPimSource>();
        Check(source->Contacts().size(), state);
        state.PauseTiming(); // letting go is not part of starting
        source.reset();
        state.ResumeTiming();
    }
}

void BM_FolderRefill(benchmark::State& state)
{
    const CPimFileSource source(Folder());
    for (auto _ : state)
        Check(source.Contacts().size(), state);
}

void BM_DesktopRefill(benchmark::State& state)
{
    const CDesktopPimSource source;
    for (auto _ : state)
        Check(source.Contacts().size(), state);
}

BENCHMARK(BM_FolderStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DesktopStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FolderRefill)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DesktopRefill)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the desktop's time over the folder's, per repetition paired in order: min, median
// and max of the ratios.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* what : {"StartUp", "Refill"}) {
            const std::vector<double>& desktop = m_times[std::string("BM_Desktop") + what];
            const std::vector<double>& folder = m_times[std::string("BM_Folder") + what];
            std::vector<double> ratios;
            for (std::size_t i = 0; i < std::min(desktop.size(), folder.size()); ++i)
                ratios.push_back(desktop[i] / folder[i]);
            if (ratios.empty())
                continue;
            std::sort(ratios.begin(), ratios.end());
            std::cout << what << " desktop / folder over " << kContacts << " contacts: min "
                      << ratios.front() << ", median " << ratios[ratios.size() / 2] << ", max "
                      << ratios.back() << '\n';
        }
    }

private:
    std::map<std::string, std::vector<double>> m_times;
};

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv(testsupport::kInsidePrivateSession) == nullptr) {
        std::vector<std::string> command{testsupport::SelfPath()};
        command.insert(command.end(), argv + 1, argv + argc);
        return testsupport::RunInPrivateSession(command);
    }
    const auto started = std::chrono::steady_clock::now();
    {
        const CDesktopPimSource source;
        if (!source.Problem().isEmpty()) {
            std::cerr << source.Problem().toStdString() << '\n';
            return 1;
        }
    }
    std::cout << "The service's cold start, once (empty): "
              << std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                           started)
                     .count()
              << " ms\n";
    FillTheService();
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
