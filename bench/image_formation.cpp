// Cost of one ping through StoreCycle with every image being drawn, of a re-draw of an image
// from a full history, and of the composite rebuild. Figures in docs/performance.md.

#include <benchmark/benchmark.h>

#include <random>

#include "../fuzz/support/NullPlatform.h"
#include "document/CVantrelDoc.h"

namespace {

void FillLines(CVantrelDoc& doc, unsigned seed) {
    std::mt19937 rng(seed);
    for (auto& head : doc.heads) {
        for (auto& sample : head.line) sample = static_cast<std::uint8_t>(rng() % 256);
    }
}

// Four heads, composite mode with its planes and the three channel images, all width x rows.
void SetUpImages(CVantrelDoc& doc, int width, int rows) {
    doc.images.compositeMode = 1;
    doc.images.AllocateComposite(width, rows);
    for (int c = 0; c < 3; ++c) doc.images.AllocateChannelImage(c, width, rows);
    const double zoom = width == 4000 ? 2.0 : width / 2000.0;
    for (auto& slot : doc.images.slotStates) slot.zoomFactor = zoom;
    doc.gps.readerExists = 1;
    doc.heads[kHeadH].frequencyHz = 540000;
}

// One accepted ping: StoreCycle with image formation. Both sides at 50 m and 3 knots: 3.86
// rows a ping at width 1000, 15.4 at width 4000.
void BM_StoreCycle(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int rows = static_cast<int>(state.range(1));
    NullPlatform platform;
    CVantrelDoc doc(platform);
    SetUpImages(doc, width, rows);
    FillLines(doc, 1);
    for (int i = 0; i < 100; ++i) doc.StoreCycle();
    const std::int32_t counterBefore = doc.images.compositeRowCounter;
    for (auto _ : state) {
        doc.StoreCycle();
    }
    const double rowsAdvanced = doc.images.compositeRowCounter - counterBefore;
    state.counters["rows/ping"] =
        benchmark::Counter(rowsAdvanced, benchmark::Counter::kAvgIterations);
    // Time per pixel of the waterfall that moved: width x rows advanced.
    state.counters["time/px"] = benchmark::Counter(
        rowsAdvanced * width, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StoreCycle)
    ->Args({1000, 1000})
    ->Args({1000, 2000})
    ->Args({1000, 4000})
    ->Args({4000, 4000})
    ->Unit(benchmark::kMicrosecond);

// A full 4000-record history re-drawn into a 2000 x 2000 image ("100 %"). At 3 knots a record
// covers 7.7 rows, so about 260 records fill the image; at 0.05 knots nearly every record is
// merged into the row above and all 3999 records are walked.
void BM_RedrawFromHistory(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    doc.images.held = 1;  // store only
    for (int i = 0; i < kHistoryLength; ++i) {
        FillLines(doc, static_cast<unsigned>(i));
        doc.StoreCycle();
    }
    doc.images.held = 0;
    doc.images.AllocateChannelImage(kHeadL, 2000, 2000);
    doc.speed.useManualSpeed = 1;
    doc.speed.manualSpeedKnots = static_cast<double>(state.range(0)) / 100.0;
    const FormationInputs in = doc.CurrentFormationInputs();
    for (auto _ : state) {
        doc.images.slotStates[kHeadL].remainder = 0.0;
        doc.images.RedrawFromHistory(in, kHeadL, false);
    }
    state.counters["rows"] = doc.images.rowsFilled;
}
BENCHMARK(BM_RedrawFromHistory)->Arg(300)->Arg(5)->Unit(benchmark::kMillisecond);

// The composite rebuild: three planes re-drawn and the 24-bit image recomputed, 2000 x 2000.
void BM_CompositeRebuild(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    doc.images.held = 1;
    for (int i = 0; i < kHistoryLength; ++i) {
        FillLines(doc, static_cast<unsigned>(i));
        doc.StoreCycle();
    }
    doc.images.held = 0;
    doc.images.compositeMode = 1;
    doc.images.AllocateComposite(2000, 2000);
    const FormationInputs in = doc.CurrentFormationInputs();
    for (auto _ : state) {
        doc.images.RebuildComposite(in);
    }
}
BENCHMARK(BM_CompositeRebuild)->Unit(benchmark::kMillisecond);

// Creating a document: its 4000-record history ring (29 MB) is part of it.
void BM_CreateDocument(benchmark::State& state) {
    for (auto _ : state) {
        NullPlatform platform;
        CVantrelDoc doc(platform);
        benchmark::DoNotOptimize(&doc);
    }
}
BENCHMARK(BM_CreateDocument)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
