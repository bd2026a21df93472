#pragma once
// The measuring and marking tools of the waterfall views: arming them, what a click stores,
// the distances, ranges and target heights they measure, the texts they show and where the
// labels go. The views hand their clicks here and paint the plan PlanMeasureOverlay returns;
// every view kind (the side-scan views and the composite view) shares this code.

#include <string>
#include <vector>

#include "imaging/MeasureState.h"

class RowInfoRing;

// What the tools need to know about the view's image and the document.
struct MeasureGeometry {
    int imageWidth = 0;
    int imageRows = 0;
    int range = 0;     // metres
    int sideMode = 3;  // 1 port, 2 starboard, 3 both
    bool speedCorrection = true;
    // The row stamps of the view's slot: their advance bytes count the vertical extent of a
    // distance while speed correction is off. Null counts image rows.
    const RowInfoRing* rowStamps = nullptr;
};

enum class MeasureTool { Distance, Range, Plus, Height };

// The tool's command: arms it when it is off, disarms it when it is on. Arming one tool
// disarms the others; either way a half-made measurement is dropped.
void ToggleTool(MeasureState& state, MeasureTool tool);
bool ToolArmed(const MeasureState& state, MeasureTool tool);

// Left button down at image point (x, y) while a tool is armed: stores what the tool's step
// stores. False when no tool took the click, or when the marks are full: a measurement is
// begun only when all the marks it will store fit (four for a target height).
bool MeasureButtonDown(MeasureState& state, const MeasureGeometry& geometry, int x, int y);
// Left button up: the target-height tool moves to its next step.
void MeasureButtonUp(MeasureState& state);

// Metres between two image points. The across scale is the range over the pixels of one
// side; along the track an image row counts as a pixel, or, with speed correction off, as
// the advance byte stamped in it (rows y1 .. y2 both included, clamped to the image).
double DistanceMetres(const MeasureGeometry& geometry, int x1, int y1, int x2, int y2);
// Across-track metres from the nadir of image column x.
double RangeMetres(const MeasureGeometry& geometry, int x);
// Metres of a shadow from column xStart to column xEnd.
double ShadowLengthMetres(const MeasureGeometry& geometry, int xStart, int xEnd);
// Height of a target from its bottom-return and shadow-start ranges and its shadow length:
// shadow x bottom / (start + shadow); 0 when start + shadow is 0.
double TargetHeightMetres(double bottomReturn, double shadowStart, double shadowLength);

// "%.2f m", or "%.2f ft" in imperial units (units 1).
std::string MeasureLabelText(double metres, int units);
// The prompt of a target-height step; step 3 shows the height the pointer would give.
std::string HeightPromptText(int step, double heightMetres, int units);

struct OverlayPoint {
    int x = 0, y = 0;
};
struct OverlaySegment {
    OverlayPoint from, to;
};
struct OverlayLabel {
    OverlayPoint anchor;  // the point the label belongs to
    std::string text;
};

// What to draw, in image coordinates: lines, crosses (+-8 px strokes) and labels.
struct OverlayPlan {
    std::vector<OverlaySegment> lines;
    std::vector<OverlayPoint> crosses;
    std::vector<OverlayLabel> labels;
};

// The stored marks in order, then the measurement in progress up to the pointer (image
// point) when the pointer is inside. Writes the distance so far into the pending mark.
OverlayPlan PlanMeasureOverlay(MeasureState& state, const MeasureGeometry& geometry, int units,
                               bool pointerInside, OverlayPoint pointer);

struct LabelBox {
    int left = 0, top = 0;
};
// Top-left corner of a label of textWidth x textHeight for a point at window (x, y): 33 px
// above it (17 px below when the point is within 25 px of the top), moved 50 px left near the
// image's right edge (imageRight, in window columns); always inside the client area.
LabelBox PlaceLabel(int x, int y, int imageRight, int clientWidth, int clientHeight, int textWidth,
                    int textHeight);
