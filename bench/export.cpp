// The exports of a 4000-record four-head recording of the simulator (44 MB): XTF, and the
// mosaic of head L at 0.1 m (laid only, and laid and written as a GeoTIFF). Figures in
// docs/performance.md.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "SimRecording.h"
#include "export/Mosaic.h"
#include "export/XtfExport.h"
#include "export/writers/MosaicWriters.h"

namespace {

constexpr int kRecords = 4000;

std::string TempFile(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string(name) + "-" + std::to_string(getpid())))
        .string();
}

// The recording, written once for all benchmarks of the run.
const std::string& Recording() {
    static const std::string path = [] {
        const std::string file = TempFile("bench-export.svx");
        std::string error;
        if (!sim::WriteSimulatedRecording(file, {.records = kRecords}, error)) std::abort();
        return file;
    }();
    return path;
}

void BM_XtfExport(benchmark::State& state) {
    const std::string out = TempFile("bench-export.xtf");
    for (auto _ : state) {
        const svx::ExportReport report = svx::ExportXtf(Recording(), out);
        if (!report.Ok() || report.records != kRecords) state.SkipWithError("export failed");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    std::filesystem::remove(out);
}
BENCHMARK(BM_XtfExport)->Unit(benchmark::kMillisecond);

void BM_MosaicLay(benchmark::State& state) {
    for (auto _ : state) {
        svx::Mosaic mosaic;
        const svx::ExportReport report =
            svx::BuildMosaic(Recording(), {.resolutionM = 0.1}, mosaic);
        if (!report.Ok()) state.SkipWithError("mosaic failed");
        state.counters["MB"] = static_cast<double>(mosaic.raster.Bytes()) / 1e6;
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_MosaicLay)->Unit(benchmark::kMillisecond);

void BM_MosaicGeoTiff(benchmark::State& state) {
    const std::string out = TempFile("bench-export.tif");
    for (auto _ : state) {
        svx::Mosaic mosaic;
        std::string error;
        if (!svx::BuildMosaic(Recording(), {.resolutionM = 0.1}, mosaic).Ok() ||
            !svx::WriteGeoTiff(mosaic, out, error)) {
            state.SkipWithError("mosaic failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    std::filesystem::remove(out);
}
BENCHMARK(BM_MosaicGeoTiff)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Recording();  // written before any timing starts
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove(Recording());
    return 0;
}
