// The track plotter painting a 100,000-point track (survey lines, 2 m steps) into its
// off-screen image at the default zoom, offscreen. The whole track is in view at the
// smallest zoom, so that case draws every segment on screen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>

#include "../fuzz/support/NullPlatform.h"
#include "document/CVantrelDoc.h"
#include "ui/gps/CGPSTrackView.h"

namespace {

// Lines 400 m long, 10 m apart, run alternately east and west in 2 m steps.
void FillTrack(CVantrelDoc& doc, int points) {
    std::lock_guard<std::mutex> guard(doc.gps.lock);
    GpsTrack& track = doc.gps.track;
    track.trackPath.clear();
    track.trackPath.reserve(static_cast<std::size_t>(points));
    double x = 0.0, y = 0.0;
    for (int i = 0; i < points; ++i) {
        const int leg = i / 200;
        const double dx = leg % 2 == 0 ? 2.0 : -2.0;
        const double stepNorth = i % 200 == 199 ? -10.0 : 0.0;
        const double nx = x + (stepNorth == 0.0 ? dx : 0.0), ny = y + stepNorth;
        track.trackPath.push_back({x, y, nx, ny});
        x = nx;
        y = ny;
    }
    track.lastDrawnX = x;
    track.lastDrawnY = y;
}

void BM_PaintGpsTrack(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    doc.gpsConfig.trackZoom = state.range(0) / 1000.0;
    FillTrack(doc, 100000);
    CGPSTrackView view(doc);
    view.resize(480, 360);
    view.Render();  // the path is built once, as the running view keeps it
    for (auto _ : state) benchmark::DoNotOptimize(view.Render().constBits());
    state.SetLabel("100000 segments, zoom " + std::to_string(doc.gpsConfig.trackZoom));
}
BENCHMARK(BM_PaintGpsTrack)->Arg(1000)->Arg(50)->Unit(benchmark::kMillisecond);

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
