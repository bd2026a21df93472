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
#include "PlaybackRun.h"
#include "Progress.h"
#include "SensorTableWriter.h"
#include "common/RegularFile.h"
#include "shell/ProfileFile.h"

namespace {

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
    // Played as the application plays it, GPS reader included: the recorded speed corrects
    // the images as it does on the screen.
    PlaybackRun run("render");
    CVantrelDoc& doc = run.Doc();
    std::string error;
    if (!options.settingsFile.empty()) {
        const std::string problem = RegularFileProblem(options.settingsFile);
        ProfileFile settings;
        settings.SetPath(options.settingsFile);
        if (!problem.empty() || !settings.Load()) {
            return Complain("cannot read the settings file " +
                            (problem.empty() ? options.settingsFile : "(" + problem + ")"));
        }
        doc.LoadSettings(settings);
    }
    if (!PrepareImages(doc, options.images, error)) return Complain(error);
    // The echogram as its window would show it at the images' height.
    doc.ResizeEchoSounder(options.images.width, doc.images.CompositeImage().Rows());
    SensorTableWriter sensors;
    if (!options.sensorsFile.empty() && !sensors.Open(options.sensorsFile, error)) {
        return Complain(error);
    }
    if (!run.Open(options.file, error)) return Complain(error);

    RenderProgress progress;
    std::int32_t accepted = doc.acceptedCycleCount;
    int played = 0;
    const int records = run.PlayWhile([&] {
        ++played;
        if (doc.acceptedCycleCount != accepted) sensors.AddStoredRecord(doc);
        accepted = doc.acceptedCycleCount;
        progress.Step(played, doc.files.playbackPosition, doc.files.playbackFileLength);
        return options.every <= 0 || played % options.every != 0 ||
               WriteImageSet(doc, options.outDir, played, true, error);
    });
    if (!error.empty()) return Complain(error);
    const bool numbered = options.every > 0;
    if ((!numbered || records % options.every != 0) &&
        !WriteImageSet(doc, options.outDir, records, numbered, error)) {
        return Complain(error);
    }
    if (!sensors.Close(error)) return Complain(error);
    std::printf("%d records played from %s into %s\n", records, options.file.c_str(),
                options.outDir.c_str());
    const bool clean = run.ReportSkipped();
    if (records == 0) return Complain(options.file + " holds no record");
    return clean ? kExitDone : kExitFailed;
}
