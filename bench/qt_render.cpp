// The whole of `sonvara-cli render` in one process: a 4000-record four-head file opened, every
// record read and stored (composite and the three channel images at width 1000 x 2000 rows,
// the echogram at the same size), and the five PNGs written; and the PNG writing alone, for
// its share. The echo lines come from
// the simulator's scene, so the images compress as survey images do. Figures in
// docs/performance.md.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "../fuzz/support/NullPlatform.h"
#include "ImageOptions.h"
#include "ImageWriter.h"
#include "SimScene.h"
#include "document/CVantrelDoc.h"

namespace {

constexpr int kRecords = 4000;

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid())))
        .string();
}

// Four heads with system information, lines from the scene (the echo sounder's with its
// orientation block), a cycle time.
void SceneCycle(CVantrelDoc& doc, const sim::Scene& scene, std::uint32_t ping) {
    for (int h = 0; h < kHeadCount; ++h) {
        doc.heads[h].available = 1;
        std::uint8_t* line = doc.heads[h].line.data();
        if (h == kHeadES) {
            scene.EchoSounder(ping, {}, line);
            scene.OrientationBlock(ping, line + sim::kSamples);
            continue;
        }
        scene.SideScan(h, 0, ping, {}, line);
        scene.SideScan(h, 1, ping, {}, line + sim::kSamples);
    }
    doc.headCount = kHeadCount;
    doc.systemInfoReceived = 1;
    LocalTime t;
    t.year = 2025, t.month = 7, t.day = 3, t.hour = 14, t.minute = 5, t.second = 9;
    doc.cycleTime.Stamp(t);
}

// The benchmark's data file, written once and removed at the end.
struct Survey {
    Survey() : path(TempPath("bench-render") + ".svx") {
        NullPlatform platform;
        CVantrelDoc writer(platform);
        const sim::Scene scene;
        writer.recording.dataFile.Open(path, DataFile::Mode::CreateWrite);
        for (int i = 0; i < kRecords; ++i) {
            SceneCycle(writer, scene, static_cast<std::uint32_t>(i));
            writer.recording.pingNumber = i + 1;
            writer.readWriteFiles.WriteRecord();
        }
        writer.recording.dataFile.Close();
    }
    ~Survey() { std::filesystem::remove(path); }
    std::string path;
};

const std::string& SurveyFile() {
    static const Survey survey;
    return survey.path;
}

// Plays the whole file into the document, as render does; the number of records played.
int PlayFile(CVantrelDoc& doc) {
    doc.files.fileSystem.makeWritable = [](const std::string&) { return false; };
    std::string error;
    cli::PrepareImages(doc, cli::ImageOptions{}, error);
    // The echogram as render sizes it.
    doc.ResizeEchoSounder(cli::ImageOptions{}.width, doc.images.CompositeImage().Rows());
    if (!doc.OpenPlaybackFile(SurveyFile())) return 0;
    int records = 0;
    while (doc.files.playbackPosition < doc.files.playbackFileLength &&
           doc.PlayNextRecord() == RecordRead::Record) {
        ++records;
    }
    return records;
}

void BM_RenderFile(benchmark::State& state) {
    const std::string out = TempPath("bench-render-images");
    NullPlatform platform;
    SurveyFile();  // written once, outside the timing
    for (auto _ : state) {
        CVantrelDoc doc(platform);
        const int records = PlayFile(doc);
        std::string error;
        if (records != kRecords || !cli::WriteImageSet(doc, out, records, false, error)) {
            state.SkipWithError("the file was not rendered");
        }
        doc.CloseDocument();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    std::filesystem::remove_all(out);
}
BENCHMARK(BM_RenderFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteImages(benchmark::State& state) {
    const std::string out = TempPath("bench-write-images");
    NullPlatform platform;
    CVantrelDoc doc(platform);
    const int records = PlayFile(doc);
    for (auto _ : state) {
        std::string error;
        if (!cli::WriteImageSet(doc, out, records, false, error))
            state.SkipWithError("not written");
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(out)) bytes += entry.file_size();
    state.counters["png_bytes"] = static_cast<double>(bytes);
    std::filesystem::remove_all(out);
}
BENCHMARK(BM_WriteImages)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
