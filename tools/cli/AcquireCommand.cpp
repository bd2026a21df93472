// sonvara-cli acquire: the acquisition engine on the real Qt platform, without windows.
// Everything runs on the main thread's event loop, as in the application.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <csignal>
#include <cstdio>

#include "../common/StopSignals.h"
#include "AcquireReport.h"
#include "Commands.h"
#include "ImageWriter.h"
#include "acquisition/CVantrelDoc.h"
#include "acquisition/RangeList.h"
#include "platform/qt/QtPlatform.h"

namespace {

void Apply(const cli::AcquireOptions& options, CVantrelDoc& doc) {
    if (options.range) {
        doc.range = doc.esRange = *options.range;
        doc.rangeIndex = doc.esRangeIndex = RangeIndexOf(*options.range);
    }
    if (options.gainDb) {
        for (HeadEntry& head : doc.heads) head.gainDb = *options.gainDb;
    }
    doc.BuildSwitchCommands();
}

}  // namespace

int cli::RunAcquire(int argc, char** argv) {
    const AcquireParse parsed = ParseAcquireArguments({argv + 1, argv + argc});
    if (parsed.help) {
        std::fputs(AcquireUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.options) {
        std::fprintf(stderr, "sonvara-cli acquire: %s\n(see sonvara-cli acquire --help)\n",
                     parsed.error.c_str());
        return 2;
    }
    const AcquireOptions& options = *parsed.options;

    QCoreApplication app(argc, argv);
    tools::InstallStopHandlers();
    QtPlatform platform(QtPlatform::Mode::Headless);
    platform.SetConnectPreset(true, options.address);
    platform.SetMessageSink([](const std::string& text) {
        std::fprintf(stderr, "sonvara-cli acquire: message box: %s\n", text.c_str());
    });
    CVantrelDoc doc(platform);
    Apply(options, doc);
    std::string error;
    if (!options.imagesDir.empty() && !PrepareImages(doc, options.images, error)) {
        std::fprintf(stderr, "sonvara-cli acquire: %s\n", error.c_str());
        return 2;
    }
    // Every accepted cycle goes through StoreCycle into the recorder, as in the application.
    if (!options.recordPath.empty() && !doc.StartRecordingTo(options.recordPath)) {
        std::fprintf(stderr, "sonvara-cli acquire: cannot record to %s\n",
                     options.recordPath.c_str());
        return 2;
    }

    QElapsedTimer clock;
    clock.start();
    auto elapsed = [&clock] { return clock.nsecsElapsed() / 1e9; };
    doc.ConnectToSonarHead();

    int lastAccepted = 0;
    QTimer progress;
    QObject::connect(&progress, &QTimer::timeout, &app, [&] {
        const AcquireSnapshot now = TakeSnapshot(doc, elapsed());
        std::fprintf(stderr, "%s\n", FormatProgress(now, lastAccepted).c_str());
        lastAccepted = now.accepted;
    });
    progress.start(1000);
    // Checks often enough that a run for N cycles ends right after the Nth.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [&] {
        const bool done = (options.cycles > 0 && doc.acceptedCycleCount >= options.cycles) ||
                          (options.seconds > 0 && elapsed() >= options.seconds);
        if (done || tools::stopRequested) app.quit();
    });
    watch.start(2);
    app.exec();

    AcquireTotals totals;
    totals.last = TakeSnapshot(doc, elapsed());
    totals.address = options.address;
    totals.target = options.cycles;
    totals.succeeded = Succeeded(totals.last.accepted, options.cycles);
    if (!options.imagesDir.empty() && !WriteImageSet(doc, options.imagesDir, 0, false, error)) {
        std::fprintf(stderr, "sonvara-cli acquire: %s\n", error.c_str());
        totals.succeeded = false;
    }
    if (!options.recordPath.empty()) doc.StopRecording();
    doc.CloseDocument();
    const std::string text = options.json ? FormatTotalsJson(totals) : FormatTotalsText(totals);
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    return totals.succeeded ? 0 : 1;
}
