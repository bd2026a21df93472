// sonvara-cli render: plays a data file headless through the document's playback step (the
// reader, the cycle validation and StoreCycle, as the playback timer does) and writes the
// images that result. The file is played once, from its first record to its end.

#include <QCoreApplication>

#include <cstdio>

#include "Commands.h"
#include "ImageOptions.h"
#include "ImageWriter.h"
#include "SensorTableWriter.h"
#include "acquisition/CVantrelDoc.h"
#include "app/ProfileFile.h"
#include "platform/TimerIds.h"
#include "platform/qt/QtPlatform.h"

namespace {

int Fail(const std::string& text, int code) {
    std::fprintf(stderr, "sonvara-cli render: %s\n", text.c_str());
    return code;
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
    if (!options.settingsFile.empty()) {
        ProfileFile settings(options.settingsFile);
        if (!settings.Load())
            return Fail("cannot read the settings file " + options.settingsFile, 2);
        doc.LoadSettings(settings);
    }
    if (!PrepareImages(doc, options.images, error)) return Fail(error, 2);
    // The echogram as its window would show it at the images' height.
    doc.ResizeEchoSounder(options.images.width, doc.images.CompositeImage().Rows());
    SensorTableWriter sensors;
    if (!options.sensorsFile.empty() && !sensors.Open(options.sensorsFile, error)) {
        return Fail(error, 2);
    }
    if (!doc.OpenPlaybackFile(options.file)) return Fail("cannot play " + options.file, 2);
    // The records are played here one after the other, not on the playback timers.
    platform.StopTimer(kTimerPlaybackDelay);

    int records = 0;
    RecordRead read = RecordRead::Record;
    std::uint64_t at = 0;
    while (doc.files.playbackPosition < doc.files.playbackFileLength) {
        at = doc.files.playbackPosition;
        const std::int32_t accepted = doc.acceptedCycleCount;
        read = doc.PlayNextRecord();
        if (read != RecordRead::Record) break;
        ++records;
        if (doc.acceptedCycleCount != accepted) sensors.AddStoredRecord(doc);
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
    if (!sensors.Close(error)) return Fail(error, 2);
    doc.CloseDocument();
    std::printf("%d records played from %s into %s\n", records, options.file.c_str(),
                options.outDir.c_str());
    if (read == RecordRead::Damaged)
        return Fail("damaged record at offset " + std::to_string(at), 1);
    if (read == RecordRead::Truncated) return Fail("the last record is cut off", 1);
    if (records == 0) return Fail("the file holds no record", 1);
    return 0;
}
