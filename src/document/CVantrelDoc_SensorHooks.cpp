// The document's side of the orientation sensor, the echo sounder and the orientation
// history: per-cycle steps of the ingest and the operations of their windows.

#include "document/CVantrelDoc.h"
#include "sensors/OrientationFilter.h"

void CVantrelDoc::ConvertOrientation() {
    ::ConvertOrientation(orientation, heads[kHeadES].line.data() + kEchoSamples);
}

void CVantrelDoc::AddEchoSounderColumn() {
    // The bottom is looked for in every ping, so the altitude stored with the pings does not
    // depend on the window: in the window's column when it shows one, else in the samples as
    // they are.
    const bool drawing = echoSounder.IsOpen() && echoSounder.Drawable();
    const int n = drawing ? echoSounder.OutputSamples() : kEsInputSamples;
    std::uint8_t* column = echoSounder.Scratch();
    ResampleEchoSamples(heads[kHeadES].line.data(), n, column, echoSounder.StretchPlan());
    CutBeyondRange(column, n, esRange);
    if (drawing) echoSounder.AddColumn(column);
    double altitude = 0.0;
    if (DetectBottom(column, n, esRange, altitude)) orientation.readings.altitudeM = altitude;
    if (!orientationPresent) TakeAltitudeWithoutSensor(orientation);
}

void CVantrelDoc::RedrawEchoSounderImage() {
    if (echoSounder.IsOpen()) echoSounder.Rebuild(history);
}

void CVantrelDoc::AddOrientationSample() {
    if (historyChart.IsOpen()) historyChart.AddSample(orientation.readings);
}

void CVantrelDoc::ResizeEchoSounder(int clientWidth, int clientHeight) {
    echoSounder.Resize(clientWidth, clientHeight);
    echoSounder.Rebuild(history);
}

void CVantrelDoc::CloseEchoSounder() {
    echoSounder.Close();
}

void CVantrelDoc::ResizeHistoryChart(int clientWidth, int clientHeight) {
    historyChart.Resize(clientWidth, clientHeight);
}

void CVantrelDoc::CloseHistoryChart() {
    historyChart.Close();
}

void CVantrelDoc::SetOrientationFilters(const std::array<bool, kFilterCount>& enabled) {
    for (int i = 0; i < kFilterCount; ++i) orientation.filterEnabled[i] = enabled[i] ? 1 : 0;
}

void CVantrelDoc::SetOrientationWindowRect(const std::array<std::int32_t, 4>& rect) {
    orientation.windowRect = rect;
}
