// The track plotter painting a 100,000-point track (survey lines, 2 m steps) into its
// off-screen image at the default zoom, offscreen. The whole track is in view at the
// smallest zoom, so that case draws every segment on screen. And a ten-hour survey (72,000
// pings, two a second, laid 2 m apart on 1 km lines 80 m apart with a 100 m swath: 144 km of
// line, twice what 4 knots would sail, so twice the coverage): its plan, track and coverage
// painted into a 480 x 360 plotter, fitted and at the zoom steps.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>

#include "../fuzz/support/NullPlatform.h"
#include "document/CVantrelDoc.h"
#include "gps/Utm.h"
#include "survey/LineGenerator.h"
#include "survey/LineGeometry.h"
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

constexpr double kLat = 54.0, kLon = 9.0;
constexpr int kSurveyPings = 72000;
constexpr double kLineM = 1000.0, kSpacingM = 80.0, kStepM = 2.0;

// The lines, then the pings sailed along them in order (the turns not sailed), each ping a
// segment of the track and a swath of the coverage.
void FillSurvey(CVantrelDoc& doc) {
    survey::LineRequest request;
    request.first = {"Line", {{kLat, kLon}, survey::Travel({kLat, kLon}, 0.0, kLineM)}};
    request.spacingM = kSpacingM;
    request.count = static_cast<int>(std::ceil(kSurveyPings * kStepM / kLineM)) + 1;
    doc.ReplaceSurveyLines(survey::ParallelLines(request));
    std::lock_guard<std::mutex> guard(doc.gps.lock);
    GpsTrack& track = doc.gps.track;
    std::int32_t restart = 0;
    track.AddTrackPoint(kLat, kLon, restart);  // the origin
    const int perLine = static_cast<int>(kLineM / kStepM);
    for (int i = 0; i < kSurveyPings; ++i) {
        const survey::SurveyLine& line = doc.survey.plan.lines[static_cast<std::size_t>(i / perLine)];
        const double heading = survey::BearingDeg(line.points[0], line.points[1]);
        const survey::GeoPoint at = survey::Travel(line.points[0], heading, (i % perLine) * kStepM);
        track.AddTrackPoint(at.latitude, at.longitude, restart);
        doc.survey.coverage.Add({at, heading, 50.0, 50.0});
    }
}

// Arg: the zoom step in pixels per kilometre, or 0 for the plan fitted.
void BM_PaintSurvey(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    FillSurvey(doc);
    doc.gpsConfig.trackZoom = state.range(0) > 0 ? state.range(0) / 1000.0 : 1.0;
    CGPSTrackView view(doc);
    view.resize(480, 360);
    if (state.range(0) == 0) view.FitPlan();
    view.Render();
    for (auto _ : state) benchmark::DoNotOptimize(view.Render().constBits());
    state.SetLabel(std::to_string(kSurveyPings) + " pings, " +
                   std::to_string(doc.survey.plan.lines.size()) + " lines, " +
                   std::to_string(doc.survey.coverage.Tiles()) + " tiles, " +
                   (state.range(0) ? "zoom " + std::to_string(doc.gpsConfig.trackZoom) : "fitted"));
}
BENCHMARK(BM_PaintSurvey)->Arg(0)->Arg(50)->Arg(1000)->Unit(benchmark::kMillisecond);

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
