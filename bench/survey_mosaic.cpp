// The mosaic of a survey: ten recordings of 4000 pings (head L and the echo sounder, ten pings
// a second at 4 knots, 50 m range), each a line 820 m long, the lines 80 m apart (about 16 %
// overlap of the 96 m swath), laid at 0.1 m with the rule `nearest`, normalised, and written
// as a Cloud Optimized GeoTIFF; on one thread and on two. Figures in docs/performance.md.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "PlanPath.h"
#include "SimRecording.h"
#include "export/SurveyMosaic.h"
#include "export/writers/MosaicWriters.h"

namespace {

constexpr int kLines = 10;
constexpr int kRecords = 4000;
constexpr double kLineM = 820.0, kApartM = 80.0;
constexpr double kMetresPerDegree = 111200.0;

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid())))
        .string();
}

// Line k runs east from (54.3 N, 10.15 E + ...) 80 m north of line k - 1.
const std::vector<std::string>& Recordings() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> made;
        const double lonPerM = 1.0 / (kMetresPerDegree * std::cos(54.3 * 3.14159265358979 / 180));
        for (int k = 0; k < kLines; ++k) {
            const double lat = 54.3 + k * kApartM / kMetresPerDegree;
            const survey::SurveyLine line{"L" + std::to_string(k + 1),
                                          {{lat, 10.15}, {lat, 10.15 + kLineM * lonPerM}}};
            std::string error;
            const auto path = sim::PlanPath::Make({line}, "bench", error);
            const std::string file = TempFile("bench-survey-" + std::to_string(k) + ".svx");
            sim::RecordingPlan plan{.records = kRecords, .pingIntervalS = 0.1};
            plan.heads = {true, false, false, true};
            plan.path = path;
            if (!path || !sim::WriteSimulatedRecording(file, plan, error)) std::abort();
            made.push_back(file);
        }
        return made;
    }();
    return files;
}

void BM_SurveyMosaicCog(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    const std::string out = TempFile("bench-survey.tif");
    for (auto _ : state) {
        svx::Mosaic mosaic;
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        const svx::ExportReport report = svx::BuildSurveyMosaic(
            Recordings(), {.resolutionM = 0.1, .threads = threads}, mosaic);
        const auto laid = std::chrono::steady_clock::now();
        if (!report.Ok() || mosaic.pings != std::uint64_t(kLines) * kRecords ||
            !svx::WriteGeoTiff(mosaic, out, error, threads)) {
            state.SkipWithError("mosaic failed");
        }
        const std::chrono::duration<double> layS = laid - start;
        const std::chrono::duration<double> writeS = std::chrono::steady_clock::now() - laid;
        state.counters["layS"] = layS.count();
        state.counters["cogS"] = writeS.count();
        state.counters["Mpx"] = double(mosaic.Width() * mosaic.Height()) / 1e6;
        state.counters["tileMB"] = double(mosaic.raster.Bytes()) / 1e6;
    }
    state.SetItemsProcessed(state.iterations() * kLines * kRecords);
    std::filesystem::remove(out);
}
// Wall time: the second thread's work is what is measured.
BENCHMARK(BM_SurveyMosaicCog)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Recordings();  // written before any timing starts
    benchmark::RunSpecifiedBenchmarks();
    for (const std::string& file : Recordings()) std::filesystem::remove(file);
    return 0;
}
