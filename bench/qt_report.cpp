// sonvara-cli report of 100 contacts, run as the user runs it: one 2000-record four-head
// recording of the simulator with an event every 20 pings, to HTML (chips, overview, table,
// CSV, GeoJSON) and PDF. The target is under 5 s a report.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QProcess>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "SimRecording.h"
#include "datafiles/EventFile.h"

namespace {

constexpr int kRecords = 2000;
constexpr int kContacts = 100;

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string(name) + "-" + std::to_string(getpid())))
        .string();
}

// The recording and its event file, written once for the run.
const std::string& Recording() {
    static const std::string path = [] {
        const std::string dir = TempPath("bench-report");
        std::filesystem::create_directories(dir);
        const std::string file = dir + "/survey.svx";
        std::string error;
        if (!sim::WriteSimulatedRecording(file, {.records = kRecords}, error)) std::abort();
        EventList events;
        for (int i = 0; i < kContacts; ++i) {
            EventRecord e;
            e.number = i;
            e.pingNumber = 10 + i * (kRecords - 20) / kContacts;
            e.acrossFraction = i % 2 ? 0.25 : 0.8;
            e.date = "09-DEC-2026\n";
            e.time = "10:00:00\n";
            e.latitude = e.longitude = "n/a\n";
            e.annotation = StoredAnnotation("contact " + std::to_string(i + 1) + " <bench>");
            events.Append(e);
        }
        std::ofstream(dir + "/survey.an", std::ios::binary) << FormatEventList(events);
        return file;
    }();
    return path;
}

void BM_ContactReport(benchmark::State& state) {
    const std::string out = TempPath("bench-report-out");
    const QStringList args{"report", QString::fromStdString(Recording()),
                           "--html", QString::fromStdString(out),
                           "--pdf",  QString::fromStdString(out + ".pdf")};
    for (auto _ : state) {
        QProcess process;
        process.start(SONVARA_CLI_PATH, args);
        if (!process.waitForFinished(120000) || process.exitCode() != 0) {
            state.SkipWithError(process.readAllStandardError().constData());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kContacts);
    std::filesystem::remove_all(out);
    std::filesystem::remove(out + ".pdf");
}
BENCHMARK(BM_ContactReport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
