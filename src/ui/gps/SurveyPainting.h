#pragma once
// The survey on the track plotter: the covered seabed (translucent, per side), the plan's lines
// (numbered, the active one highlighted with arrows along its direction), the vessel as a
// symbol pointing along its heading, and the helmsman's read-out in a corner.

#include <QImage>
#include <QPointF>
#include <optional>

#include "models/SurveyPlot.h"
#include "survey/Steering.h"

class QPainter;

void PaintCoverage(QImage& sheet, const survey::Coverage& coverage, const PlotFrame& frame);
void PaintPlanLines(QPainter& painter, const survey::LinePlan& plan, const PlotFrame& frame);
// A pointed hull at the pixel along the heading (degrees from north, screen up); a dot
// without one.
void PaintVessel(QPainter& painter, QPointF at, std::optional<double> headingDeg);
// The read-out in the bottom-left corner of a width x height sheet; the cross-track line red
// while off the line.
void PaintSteeringOverlay(QPainter& painter, const survey::SteeringReadout& readout, int width,
                          int height);
