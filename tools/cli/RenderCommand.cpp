// sonvara-cli render: plays a data file headless through the document's playback step (the
// reader, the cycle validation and StoreCycle, as the playback timer does) and writes the
// images that result. The file is played once, from its first record to its end; damaged
// records are stepped over as the playback does, and each stretch stepped over is reported.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <unistd.h>

#include <cstdio>
#include <vector>

#include "Commands.h"
#include "FileChecks.h"
#include "ImageOptions.h"
#include "ImageWriter.h"
#include "Progress.h"
#include "SensorTableWriter.h"
#include "acquisition/CVantrelDoc.h"
#include "app/ProfileFile.h"
#include "datafiles/DataFileTexts.h"
#include "platform/TimerIds.h"
#include "platform/qt/QtPlatform.h"

namespace {

// Why the document refused to play the file, from the text of its message box.
std::string OpenProblem(const std::string& file, const std::vector<std::string>& messages) {
    if (messages.empty()) return "cannot play " + file;
    const std::string& text = messages.front();
    if (text == datafiletext::kUnknownType) return file + " is not a data file (.svx)";
    if (text == datafiletext::kNoData) return file + " holds no record";
    return "cannot play " + file + ": " + cli::OneLine(text);
}

// The progress line on standard error while the file is played, on a terminal only.
class RenderProgress {
public:
    RenderProgress() : onTerminal(isatty(STDERR_FILENO) == 1) { clock.start(); }
    ~RenderProgress() {
        if (meter.Shown()) std::fputs("\r\x1b[K", stderr);
    }
    void Step(long long records, unsigned long long position, unsigned long long length) {
        if (!onTerminal) return;
        const long long total = cli::EstimateTotal(records, position, length);
        if (const auto line = meter.Update(records, total, clock.nsecsElapsed() / 1e9)) {
            std::fprintf(stderr, "\r%s\x1b[K", line->c_str());
            std::fflush(stderr);
        }
    }

private:
    bool onTerminal;
    QElapsedTimer clock;
    cli::ProgressMeter meter{"render"};
};

// One line on standard error for each damaged stretch the playback stepped over.
void ReportSkipped(const std::vector<svx::DamagedStretch>& skipped) {
    for (const svx::DamagedStretch& stretch : skipped) {
        std::fprintf(
            stderr, "sonvara-cli render: damaged record at offset %llu skipped (%llu bytes: %s)\n",
            static_cast<unsigned long long>(stretch.offset),
            static_cast<unsigned long long>(stretch.bytes), svx::DamageText(stretch.damage));
    }
}

}  // namespace

int cli::RunRender(int argc, char** argv) {
    const RenderParse parsed = ParseRenderArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("render", parsed); code >= 0) return code;
    const RenderOptions& options = *parsed.options;
    // Only a regular file is played: a FIFO without a writer would block for ever.
    if (const std::string problem = CheckInputFile(options.file); !problem.empty()) {
        return Complain(problem);
    }
    if (const std::string problem = MakeOutputDirectory(options.outDir); !problem.empty()) {
        return Complain(problem);
    }

    QCoreApplication app(argc, argv);
    QtPlatform platform(QtPlatform::Mode::Headless);
    std::vector<std::string> messages;
    platform.SetMessageSink([&messages](const std::string& text) { messages.push_back(text); });
    CVantrelDoc doc(platform);
    // Rendering changes nothing on disk but the images: the data file and its event file are
    // opened read-only, and no event file is created.
    doc.files.fileSystem.makeWritable = [](const std::string&) { return false; };
    std::string error;
    if (!options.settingsFile.empty()) {
        ProfileFile settings(options.settingsFile);
        if (!settings.Load())
            return Complain("cannot read the settings file " + options.settingsFile);
        doc.LoadSettings(settings);
    }
    if (!PrepareImages(doc, options.images, error)) return Complain(error);
    // The echogram as its window would show it at the images' height.
    doc.ResizeEchoSounder(options.images.width, doc.images.CompositeImage().Rows());
    SensorTableWriter sensors;
    if (!options.sensorsFile.empty() && !sensors.Open(options.sensorsFile, error)) {
        return Complain(error);
    }
    if (!doc.OpenPlaybackFile(options.file)) return Complain(OpenProblem(options.file, messages));
    // The file plays; what else the document says (an event file it cannot open) is printed.
    for (const std::string& text : messages) Complain(ToolLine(text));
    platform.SetMessageSink([](const std::string& text) { Complain(ToolLine(text)); });
    // The records are played here one after the other, not on the playback timers.
    platform.StopTimer(kTimerPlaybackDelay);

    int records = 0;
    RenderProgress progress;
    while (doc.files.playbackPosition < doc.files.playbackFileLength) {
        const std::int32_t accepted = doc.acceptedCycleCount;
        const RecordRead read = doc.PlayNextRecord();
        if (read == RecordRead::Damaged) break;  // no readable record in the whole file
        if (read != RecordRead::Record) continue;
        ++records;
        if (doc.acceptedCycleCount != accepted) sensors.AddStoredRecord(doc);
        progress.Step(records, doc.files.playbackPosition, doc.files.playbackFileLength);
        if (options.every > 0 && records % options.every == 0 &&
            !WriteImageSet(doc, options.outDir, records, true, error)) {
            return Complain(error);
        }
    }
    const bool numbered = options.every > 0;
    if ((!numbered || records % options.every != 0) &&
        !WriteImageSet(doc, options.outDir, records, numbered, error)) {
        return Complain(error);
    }
    if (!sensors.Close(error)) return Complain(error);
    const std::vector<svx::DamagedStretch> skipped = doc.playback.skipped;
    doc.CloseDocument();
    std::printf("%d records played from %s into %s\n", records, options.file.c_str(),
                options.outDir.c_str());
    ReportSkipped(skipped);
    if (records == 0) return Complain(options.file + " holds no record");
    return skipped.empty() ? kExitDone : kExitFailed;
}
