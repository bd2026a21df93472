// Cost of the sensor steps of one accepted cycle: the orientation conversion with every filter
// on, and the echo-sounder column (resampling, scroll, bottom detection) with and without its
// window; and of the echogram's rebuild from a full ping history on a resize.

#include <benchmark/benchmark.h>

#include "../fuzz/support/NullPlatform.h"
#include "SimScene.h"
#include "acquisition/CVantrelDoc.h"

namespace {

void SimulatedPing(CVantrelDoc& doc, const sim::Scene& scene, std::uint32_t ping) {
    sim::SceneRequest request;
    request.rangeM = doc.esRange;
    scene.EchoSounder(ping, request, doc.heads[kHeadES].line.data());
    scene.OrientationBlock(ping, doc.heads[kHeadES].line.data() + kEchoSamples);
}

void BM_ConvertOrientation(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    for (auto& flag : doc.orientation.filterEnabled) flag = 1;
    doc.orientation.readings.altitudeM = 10.0;
    SimulatedPing(doc, sim::Scene(1), 1);
    for (auto _ : state) doc.ConvertOrientation();
}
BENCHMARK(BM_ConvertOrientation);

// Window width x height (0 x 0: no window, bottom detection on the 1000 samples).
void BM_EchoSounderColumn(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    if (width > 0) doc.ResizeEchoSounder(width, height);
    SimulatedPing(doc, sim::Scene(1), 1);
    for (auto _ : state) doc.AddEchoSounderColumn();
}
BENCHMARK(BM_EchoSounderColumn)
    ->Args({0, 0})
    ->Args({260, 460})
    ->Args({400, 1100})
    ->Unit(benchmark::kMicrosecond);

void BM_EchoSounderRebuild(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    const sim::Scene scene(1);
    for (std::uint32_t p = 0; p < kHistoryLength; ++p) {
        SimulatedPing(doc, scene, p);
        doc.StoreCycle();
    }
    for (auto _ : state) doc.ResizeEchoSounder(260, 460);
}
BENCHMARK(BM_EchoSounderRebuild)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
