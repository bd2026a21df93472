#pragma once
// What the track plotter draws of the survey, without Qt: the plotter's frame (metres east
// and south of the track's origin in its UTM zone, scaled and shifted to pixels), and the
// covered seabed blended into the plotter's pixels, translucent, one colour per side.

#include <cstdint>
#include <optional>

#include "survey/Coverage.h"
#include "survey/LinePlan.h"

struct GpsTrack;

struct PlotFrame {
    int zone = 0;  // 0: no frame yet
    bool south = false;
    double originEasting = 0.0, originNorthing = 0.0;
    // Pixel = metres * zoom + offset.
    double zoom = 1.0;
    double offsetX = 0.0, offsetY = 0.0;

    bool Valid() const { return zone != 0; }
    // The plotter's metres (x east, y south) of a position.
    void Metres(const survey::GeoPoint& at, double& x, double& y) const;
    void Pixel(const survey::GeoPoint& at, double& px, double& py) const;
};

// The track's frame once it has an origin; before that, a frame at the plan's first point (so
// a plan shows before the first fix). Invalid without either. Zoom 1, no offset.
PlotFrame FrameOf(const GpsTrack& track, const survey::LinePlan& plan);

// The metres (x east, y south) of the smallest rectangle around every point of the plan, or
// nothing for an empty plan.
struct PlotBox {
    double left, top, right, bottom;
};
std::optional<PlotBox> PlanBox(const survey::LinePlan& plan, const PlotFrame& frame);
// The same around every covered cell (whole cells), or nothing when nothing is covered in the
// frame's zone.
std::optional<PlotBox> CoverageBox(const survey::Coverage& coverage, const PlotFrame& frame);
// The smallest box holding both (either may be missing).
std::optional<PlotBox> Union(const std::optional<PlotBox>& a, const std::optional<PlotBox>& b);
// The zoom and offset that show the box in a width x height view with a margin of pixels
// on every side; any zoom, not only the plotter's steps.
void FitBox(PlotFrame& frame, const PlotBox& box, int width, int height, int margin);

// The colours of covered cells, 0xAARRGGBB not premultiplied: port, starboard, both.
struct CoverageColours {
    std::uint32_t port = 0x783C8CFFu;
    std::uint32_t starboard = 0x78FFA028u;
    std::uint32_t both = 0x80CFCFCFu;
};

// Blends the coverage into premultiplied 0xAARRGGBB pixels (rows `stride` pixels apart),
// each pixel taking the cell under its centre. The coverage must be laid in the frame's zone.
void PaintCoverage(const survey::Coverage& coverage, const PlotFrame& frame, std::uint32_t* pixels,
                   int width, int height, int stride, const CoverageColours& colours = {});
