// Cost of one paint of a side-scan view: a 1000 x 800 window onto a 2000-row image whose ring
// seam lies inside the window, with labels, range scale and grid, rendered offscreen into an
// image of the window's size (what the backing store receives). Figures in
// docs/performance.md.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "../fuzz/support/NullPlatform.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "ui/imaging/CPaletteChildFrm.h"
#include "ui/imaging/CPaletteView.h"
#include "ui/imaging/CSonarLView.h"
#include "ui/imaging/CVantrelView.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;

void FillImage(RingImage& image) {
    image.ScrollDown(image.Rows() / 3);  // two pieces, the seam inside the window
    for (int r = 0; r < image.Rows(); ++r) {
        std::uint8_t* row = image.Row(r);
        for (int x = 0; x < image.Width(); ++x) row[x] = static_cast<std::uint8_t>((x ^ r) % 255);
    }
}

// zoom: the view's zoom command (Fill the Screen: 1000 x 2000; 100 %: 2000 x 2000, scrolled).
void BM_PaintSideScanView(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    CSonarLView view(doc);
    view.resize(kWidth, kHeight);
    view.show();  // the first show delivers the size: the image is allocated
    view.Commands().Execute(static_cast<int>(state.range(0)));
    if (!doc.images.ChannelImage(0).Exists()) {
        state.SkipWithError("the view did not size its image");
        return;
    }
    FillImage(doc.images.slotStates[0].image);
    view.State().scrollX = state.range(0) == kCmdFillScreen ? 0 : 500;
    view.State().scrollY = 400;
    QImage target(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["rows"] = doc.images.ChannelImage(0).Rows();
    state.counters["width"] = doc.images.ChannelImage(0).Width();
}
BENCHMARK(BM_PaintSideScanView)
    ->Arg(kCmdFillScreen)
    ->Arg(kCmdZoom100)
    ->Unit(benchmark::kMicrosecond);

// The composite view's paint at "Fill the Screen": the 24-bit image, scale and grid, the
// overlay texts, ten stored measurements and ten event markers.
void BM_PaintCompositeView(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    doc.images.compositeMode = 1;
    for (int h = 0; h < 3; ++h) doc.heads[h].available = 1;
    CVantrelView view(doc);
    view.resize(kWidth, kHeight);
    view.show();
    if (!doc.images.CompositeExists()) {
        state.SkipWithError("the view did not size the composite");
        return;
    }
    for (int cycle = 0; cycle < 400; ++cycle) {
        for (int h = 0; h < 3; ++h) {
            for (std::size_t s = 0; s < doc.heads[h].line.size(); ++s) {
                doc.heads[h].line[s] = static_cast<std::uint8_t>((s * (h + 1) + cycle) % 250);
            }
        }
        doc.StoreCycle();
    }
    MeasureState& measure = view.State().measure;
    for (int i = 0; i < 10; ++i) {
        measure.marks[i] =
            Mark{100 + 50 * i, 40 * i, 200 + 50 * i, 40 * i + 30, kMarkDistance, 1.0};
        doc.events.eventMarkerPath.push_back({i, 80 * i + 20, 60 * i + 10});
    }
    measure.markCount = 10;
    QImage target(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintCompositeView)->Unit(benchmark::kMicrosecond);

// The palette editor's paint: rasterising three curves, drawing them and applying the palette.
void BM_PaintPaletteEditor(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    doc.InitPalette();
    CPaletteChildFrm frame(doc);
    CPaletteView& view = *frame.View();
    view.resize(view.sizeHint());
    QImage target(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintPaletteEditor)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
