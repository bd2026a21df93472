// The exports of a 4000-record four-head recording of the simulator (44 MB): XTF, and the
// mosaic of head L at 0.1 m as the tool lays it (each pixel's sample chosen by the overlap
// rule; laid only, and laid and written as a COG); and the mosaic of 4000 pings of an XTF
// file of two-byte samples. Figures in docs/performance.md.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "SimRecording.h"
#include "XtfBenchFile.h"
#include "export/SurveyMosaic.h"
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
            svx::BuildSurveyMosaic({Recording()}, {.resolutionM = 0.1}, mosaic);
        if (!report.Ok()) state.SkipWithError("mosaic failed");
        state.counters["MB"] = static_cast<double>(mosaic.raster.Bytes()) / 1e6;
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_MosaicLay)->Unit(benchmark::kMillisecond);

// The same number of pings of another recorder's XTF file (two channels of 1024 two-byte
// samples, a straight line), written once for the run.
const std::string& XtfRecording() {
    static const std::string path = [] {
        const std::string file = TempFile("bench-export-input.xtf");
        std::vector<std::uint8_t> bytes;
        AppendXtfBenchHeader(bytes);
        std::mt19937 rng(7);
        for (int n = 0; n < kRecords; ++n) AppendXtfBenchPing(bytes, static_cast<std::uint32_t>(n), rng);
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) std::abort();
        std::fclose(out);
        return file;
    }();
    return path;
}

void BM_MosaicLayXtf(benchmark::State& state) {
    for (auto _ : state) {
        svx::Mosaic mosaic;
        const svx::ExportReport report =
            svx::BuildSurveyMosaic({XtfRecording()}, {.resolutionM = 0.1}, mosaic);
        if (!report.Ok() || mosaic.pings != kRecords) state.SkipWithError("mosaic failed");
        state.counters["MB"] = static_cast<double>(mosaic.raster.Bytes()) / 1e6;
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_MosaicLayXtf)->Unit(benchmark::kMillisecond);

void BM_MosaicGeoTiff(benchmark::State& state) {
    const std::string out = TempFile("bench-export.tif");
    for (auto _ : state) {
        svx::Mosaic mosaic;
        std::string error;
        if (!svx::BuildSurveyMosaic({Recording()}, {.resolutionM = 0.1}, mosaic).Ok() ||
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
    XtfRecording();
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove(Recording());
    std::filesystem::remove(XtfRecording());
    return 0;
}
