// Polling cycles per second of four heads over loopback TCP: the real Qt platform and document
// against the simulator answering at once (--fast). One iteration is one accepted cycle
// (eight requests and replies); items_per_second is cycles per second.
//   InProcess:  simulator servers in the same thread (one core, no scheduling between them)
//   Process:    sonvara-headsim --fast as its own process (as in operation)

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "SimServer.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtPlatform.h"

namespace {

std::string Address(int block, int head) {
    return "127.77." + std::to_string(block) + "." + std::to_string(head + 2);
}

// Runs the event loop until the document has accepted `cycles` more cycles; false when it
// has not made it within ten seconds.
bool Poll(CVantrelDoc& doc, int cycles) {
    const int target = doc.acceptedCycleCount + cycles;
    bool late = false;
    QTimer guard;  // its expiry also wakes the loop below
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&late] { late = true; });
    guard.start(10000);
    while (doc.acceptedCycleCount < target && !late) {
        // Sleeps until something happens; the overload with a time limit would not wait.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return !late;
}

void Measure(benchmark::State& state, const std::string& address) {
    QtPlatform platform(QtPlatform::Mode::Headless);
    platform.SetConnectPreset(true, address);
    CVantrelDoc doc(platform);
    doc.BuildSwitchCommands();
    doc.ConnectToSonarHead();
    if (!Poll(doc, 5)) {
        state.SkipWithError("no cycles from the simulator");
        return;
    }
    const int rebuildsBefore = doc.rebuildCount;
    for (auto _ : state) {
        if (!Poll(doc, 1)) {
            state.SkipWithError("polling stopped");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["rebuilds"] = doc.rebuildCount - rebuildsBefore;
    doc.CloseDocument();
}

void BM_PollingInProcess(benchmark::State& state) {
    sim::SimConfig config;
    for (int h = 0; h < kHeadCount; ++h) config.installation.addresses[h] = Address(40, h);
    config.fast = true;
    SimServer server(config);
    QString error;
    if (!server.Start(error)) {
        state.SkipWithError(error.toStdString().c_str());
        return;
    }
    Measure(state, Address(40, 0));
}
BENCHMARK(BM_PollingInProcess)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_PollingSimulatorProcess(benchmark::State& state) {
    QProcess simulator;
    QStringList addresses;
    for (int h = 0; h < kHeadCount; ++h) addresses << QString::fromStdString(Address(41, h));
    simulator.start(SONVARA_HEADSIM_PATH,
                    {"--fast", "--addresses", addresses.join(','), "--duration", "300"});
    simulator.setReadChannel(QProcess::StandardError);
    QByteArray said;
    while (!said.contains("ready") && simulator.waitForReadyRead(5000)) {
        said += simulator.readAllStandardError();
    }
    if (!said.contains("ready")) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    Measure(state, Address(41, 0));
    simulator.terminate();
    simulator.waitForFinished(5000);
}
BENCHMARK(BM_PollingSimulatorProcess)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
