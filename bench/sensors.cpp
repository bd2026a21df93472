// Cost of the sensor steps of one accepted cycle: the orientation conversion with every filter
// on, and the echo-sounder column (resampling, scroll, bottom detection) with and without its
// window; and of the echogram's rebuild from a full ping history on a resize.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "../fuzz/support/NullPlatform.h"
#include "SimScene.h"
#include "document/CVantrelDoc.h"

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

// Window width x height (0 x 0: no window, bottom detection on the 1000 samples). The
// echogram keeps its columns in a ring, so a column costs in proportion to the height and not
// to the width: 1000 x 2000 (render's echogram) and 4000 x 2000 cost about the same.
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
    ->Args({1000, 2000})
    ->Args({4000, 2000})
    ->Unit(benchmark::kMicrosecond);

// What a column cost before the ring, for comparison: every row of the scrolling part moved
// one pixel to the left, then the column written (width x height as above).
void BM_EchogramBlockMove(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 1);
    const int newest = width - kEsScaleWidth - 1;
    std::uint8_t value = 0;
    for (auto _ : state) {
        for (int y = kEsMargin; y < height - kEsMargin; ++y) {
            std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * width;
            std::memmove(row, row + 1, static_cast<std::size_t>(newest));
            row[newest] = ++value;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_EchogramBlockMove)
    ->Args({1000, 2000})
    ->Args({4000, 2000})
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
