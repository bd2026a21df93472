// sonvara-cli acquire: the acquisition engine on the real Qt platform, without windows.
// Everything runs on the main thread's event loop, as in the application.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../common/StopSignals.h"
#include "AcquireReport.h"
#include "Commands.h"
#include "FileChecks.h"
#include "ImageWriter.h"
#include "acquisition/RangeList.h"
#include "datafiles/DataFileTexts.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtHeadlessPlatform.h"

namespace {

// Why a file could not be opened, as the system says it.
std::string OpenReason() {
    return errno ? std::strerror(errno) : "it cannot be created";
}

bool IsRecorderMessage(const std::string& text, const std::string& recordPath) {
    namespace t = datafiletext;
    return text == t::kDiskFull || text == t::kWriteFailed || text == t::kErrorOpening ||
           text == t::OpenFailure(recordPath);
}

// One line when recording stopped by itself (the disk is full, a write failed).
void ReportRecordingStop(const cli::AcquireOptions& options, const CVantrelDoc& doc,
                         bool& reported) {
    if (reported || doc.recording.stopReason.empty()) return;
    reported = true;
    cli::Complain("recording to " + options.recordPath + " stopped after " +
                  std::to_string(doc.recording.recordsWritten) +
                  " records: " + doc.recording.stopReason);
}

void Apply(const cli::AcquireOptions& options, CVantrelDoc& doc) {
    doc.SetHeadPort(options.port);
    if (options.range) doc.SetRangeMetres(*options.range);
    if (options.gainDb) {
        for (HeadEntry& head : doc.heads) head.gainDb = *options.gainDb;
    }
    doc.BuildSwitchCommands();
}

// Empty when the GPS device can be opened now, else the reason. Opened without waiting for a
// carrier and without becoming the controlling terminal, and closed again at once.
std::string CheckGpsDevice(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return "cannot read the GPS on " + device + ": " + std::strerror(errno);
    ::close(fd);
    return {};
}

// The application's GPS reader thread on the device; the document reads it on the read
// timer as the application does.
std::unique_ptr<QtGpsReader> StartGpsReader(CVantrelDoc& doc, const std::string& device) {
    CVantrelDoc* document = &doc;
    auto reader = std::make_unique<QtGpsReader>(doc.gps, [document] { document->GpsReadDone(); });
    doc.SetGpsReader(reader.get());
    doc.SetGpsDevice(device);
    return reader;
}

// What the document tells a window that matters without one: the GPS device lost and back,
// each said once as a line.
class ToolObserver : public DocumentObserver {
public:
    void GpsDeviceMessage(const std::string& text) override { cli::Complain(text, 0); }
};

void TakeGpsTotals(const CVantrelDoc& doc, cli::AcquireTotals& totals) {
    totals.gps = true;
    totals.gpsReads = doc.gpsInput.readsDone;
    totals.recordedWithoutGps = doc.recording.recordsWithoutGps;
    std::lock_guard<std::mutex> guard(doc.gps.lock);
    totals.latitude = doc.gps.latitudeText;
    totals.longitude = doc.gps.longitudeText;
}

}  // namespace

int cli::RunAcquire(int argc, char** argv) {
    const AcquireParse parsed = ParseAcquireArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("acquire", parsed); code >= 0) return code;
    const AcquireOptions& options = *parsed.options;
    if (!options.recordPath.empty()) {
        if (const std::string problem = CheckRecordFile(options.recordPath); !problem.empty()) {
            return Complain(problem);
        }
    }
    if (!options.imagesDir.empty()) {
        if (const std::string problem = MakeOutputDirectory(options.imagesDir); !problem.empty()) {
            return Complain(problem);
        }
    }
    if (!options.gpsDevice.empty()) {
        if (const std::string problem = CheckGpsDevice(options.gpsDevice); !problem.empty()) {
            return Complain(problem);
        }
    }

    QCoreApplication app(argc, argv);
    tools::InstallStopHandlers();
    QtHeadlessPlatform platform;
    platform.SetConnectPreset(true, options.address);
    // The recorder's message boxes are said in the tool's own words (ReportRecordingStop, the
    // failed start); any other is printed as one line.
    platform.SetMessageSink([&options](const std::string& text) {
        if (!IsRecorderMessage(text, options.recordPath)) Complain(ToolLine(text));
    });
    ToolObserver observer;  // outlives the document
    CVantrelDoc doc(platform);
    doc.SetObserver(&observer);
    Apply(options, doc);
    std::string error;
    if (!options.imagesDir.empty() && !PrepareImages(doc, options.images, error)) {
        return Complain(error);
    }
    // Every accepted cycle goes through StoreCycle into the recorder, as in the application.
    if (!options.recordPath.empty() && !doc.StartRecordingTo(options.recordPath)) {
        return Complain("cannot record to " + options.recordPath + ": " + OpenReason());
    }

    std::unique_ptr<QtGpsReader> gpsReader;
    if (!options.gpsDevice.empty()) gpsReader = StartGpsReader(doc, options.gpsDevice);

    QElapsedTimer clock;
    clock.start();
    auto elapsed = [&clock] { return clock.nsecsElapsed() / 1e9; };
    // Entering real time opens the GPS port, as in the application.
    doc.ConnectToSonarHead();
    if (gpsReader && doc.gpsInput.openDevice.empty()) {
        doc.CloseDocument();
        doc.SetGpsReader(nullptr);
        return Complain("cannot read the GPS on " + options.gpsDevice);
    }

    int lastAccepted = 0;
    bool recordingReported = false;
    // The progress lines are for a person watching: on a terminal only, so that a script's
    // standard error holds just the problems.
    const bool onTerminal = isatty(STDERR_FILENO) == 1;
    QTimer progress;
    QObject::connect(&progress, &QTimer::timeout, &app, [&] {
        const AcquireSnapshot now = TakeSnapshot(doc, elapsed());
        if (onTerminal) std::fprintf(stderr, "%s\n", FormatProgress(now, lastAccepted).c_str());
        lastAccepted = now.accepted;
        ReportRecordingStop(options, doc, recordingReported);
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
        Complain(error);
        totals.succeeded = false;
    }
    if (!options.recordPath.empty()) {
        ReportRecordingStop(options, doc, recordingReported);
        totals.recording = true;
        totals.recorded = doc.recording.recordsWritten;
        totals.recordingStopped = doc.recording.stopReason;
        if (!totals.recordingStopped.empty()) totals.succeeded = false;
        if (doc.recording.recordingOn) doc.StopRecording();
    }
    if (gpsReader) TakeGpsTotals(doc, totals);
    doc.CloseDocument();
    // The reader thread is joined before the document goes.
    doc.SetGpsReader(nullptr);
    gpsReader.reset();
    const std::string text = options.json ? FormatTotalsJson(totals) : FormatTotalsText(totals);
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    return totals.succeeded ? kExitDone : kExitFailed;
}
