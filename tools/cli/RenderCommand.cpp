// sonvara-cli render: plays a data file headless through the document's playback step (the
// reader, the cycle validation and StoreCycle, as the playback timer does) and writes the
// images that result. The file is played once, from its first record to its end; damaged
// records are stepped over as the playback does, and each stretch stepped over is reported.

#include <QCoreApplication>

#include <cstdio>
#include <vector>

#include "Commands.h"
#include "ImageOptions.h"
#include "ImageWriter.h"
#include "acquisition/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "platform/qt/QtPlatform.h"

namespace {

int Fail(const std::string& text, int code) {
    std::fprintf(stderr, "sonvara-cli render: %s\n", text.c_str());
    return code;
}

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
    if (parsed.help) {
        std::fputs(RenderUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.options) {
        return Fail(parsed.error + "\n(see sonvara-cli render --help)", 2);
    }
    const RenderOptions& options = *parsed.options;

    QCoreApplication app(argc, argv);
    QtPlatform platform(QtPlatform::Mode::Headless);
    platform.SetMessageSink([](const std::string& text) {
        std::fprintf(stderr, "sonvara-cli render: message box: %s\n", text.c_str());
    });
    CVantrelDoc doc(platform);
    // Rendering changes nothing on disk but the images: the data file and its event file are
    // opened read-only, and no event file is created.
    doc.files.fileSystem.makeWritable = [](const std::string&) { return false; };
    std::string error;
    if (!PrepareImages(doc, options.images, error)) return Fail(error, 2);
    if (!doc.OpenPlaybackFile(options.file)) return Fail("cannot play " + options.file, 2);
    // The records are played here one after the other, not on the playback timers.
    platform.StopTimer(kTimerPlaybackDelay);

    int records = 0;
    while (doc.files.playbackPosition < doc.files.playbackFileLength) {
        const RecordRead read = doc.PlayNextRecord();
        if (read == RecordRead::Damaged) break;  // no readable record in the whole file
        if (read != RecordRead::Record) continue;
        ++records;
        if (options.every > 0 && records % options.every == 0 &&
            !WriteImageSet(doc, options.outDir, records, true, error)) {
            return Fail(error, 2);
        }
    }
    const bool numbered = options.every > 0;
    if ((!numbered || records % options.every != 0) &&
        !WriteImageSet(doc, options.outDir, records, numbered, error)) {
        return Fail(error, 2);
    }
    const std::vector<svx::DamagedStretch> skipped = doc.playback.skipped;
    doc.CloseDocument();
    std::printf("%d records played from %s into %s\n", records, options.file.c_str(),
                options.outDir.c_str());
    ReportSkipped(skipped);
    if (records == 0) return Fail("the file holds no record", 1);
    return skipped.empty() ? 0 : 1;
}
