#pragma once
// The georeferenced backscatter mosaic of a recording (a data file or an XTF file, read through
// its reader of recordings): every ping of one side-scan head laid across the track on a UTM
// grid (WGS 84, the zone and hemisphere of the first fix, or those of the options).
//
// A ping lies perpendicular to the ship's heading (the course when no heading is decoded;
// turned by the grid convergence at the last fix, since headings are from true north), from
// the ship's position less the layback along the heading. Positions between two fixes
// are interpolated by time: a fix is placed at its own time when the record clock agrees with
// it (the fix lies 0..5 s before the record), else at the time of the first record carrying
// it. With slant-range correction sample i of the n of a side over the slant range r (slant
// distance s = (i + 0.5) r / n) lies at ground distance sqrt(s^2 - a^2) for the ping's altitude
// a, and samples inside the altitude (the water column) are left out; without it at s. A pixel holds the largest sample
// that fell into it; the gap between two pings is filled along the track, each half with the
// samples of the nearer ping (not across a jump of more than the range, more than 10 s, or a turn
// of more than 10 degrees between two pings).
//
// Memory: the raster's tiles (one byte a pixel of each 256 x 256 tile touched, so the covered
// area divided by the resolution squared, rounded out to whole tiles), plus the pings waiting
// for their next fix (at most 1024 lines: 2000 bytes each for a data file's).

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "export/AcrossDistances.h"
#include "export/AcrossTable.h"
#include "export/ExportJob.h"
#include "export/TiledRaster.h"

namespace svx {

// Which sample a pixel keeps where the lines of several recordings overlap.
enum class MosaicOverlap {
    Nearest,  // the one of least across-track ground distance (nearest its own nadir)
    Max,      // the largest value
    Newest,   // the later recording's (in the order given)
};

struct MosaicOptions {
    std::optional<int> head = std::nullopt;  // 0 L, 1 M, 2 H; default the first side-scan head
    std::optional<double> resolutionM = std::nullopt;  // default DefaultResolution(range)
    double laybackM = 0.0;
    bool slantCorrection = true;
    // A raster wider or higher than this is refused (positions that jump across the map).
    std::int64_t maxSidePixels = 1000000;
    // The UTM zone (1..60) and hemisphere to lay in; 0: the zone of the first fix.
    int zone = 0;
    bool south = false;
    // Several recordings: the rule where they overlap, and the threads that lay them (0: one
    // per core).
    MosaicOverlap overlap = MosaicOverlap::Nearest;
    int threads = 0;
    // Across-track normalisation (each sample divided by the survey's mean at its across-track
    // distance, per side, then scaled to the survey's mean); unset: on for several recordings.
    std::optional<bool> normalize = std::nullopt;
};

// The ship's positions seen, as a UTM box.
struct UtmBox {
    double minEasting = 0, maxEasting = 0, minNorthing = 0, maxNorthing = 0;
    bool empty = true;
    void Add(double easting, double northing);
};

struct Mosaic {
    TiledRaster raster;  // pixel (col, row): easting col * res, northing -row * res (top edge)
    double resolutionM = 0.0;
    int zone = 0;
    bool south = false;
    int head = 0;
    int rangeM = 0;  // the largest range of the pings laid
    std::uint64_t pings = 0;
    std::uint64_t recordings = 0;  // merged into a mosaic of several
    UtmBox track;  // the ship's fixes
    // Pings laid, by the UTM zone of the fix before them (south zones negative).
    std::map<int, std::uint64_t> pingsPerZone;
    AcrossTable across;  // the samples laid, by across-track distance and side

    int Epsg() const { return (south ? 32700 : 32600) + zone; }
    std::int64_t Width() const { return raster.MaxCol() - raster.MinCol() + 1; }
    std::int64_t Height() const { return raster.MaxRow() - raster.MinRow() + 1; }
    double West() const { return static_cast<double>(raster.MinCol()) * resolutionM; }
    double North() const { return -static_cast<double>(raster.MinRow()) * resolutionM; }
};

// range / 500, rounded to the nearest (in ratio) of 1, 2 or 5 x 10^k metres.
double DefaultResolution(double rangeM);

// Builds the mosaic of `input`. A file without any position, or without the head asked for,
// is an error (report.error); damaged records are stepped over and listed. With `distances`,
// each pixel keeps the sample chosen by options.overlap among those that fell into it (the
// nearest to the nadir, a tie taking the larger value; the largest; the latest) and its
// across-track distance and side are kept there; without, the largest sample.
ExportReport BuildMosaic(const std::string& input, const MosaicOptions& options, Mosaic& out,
                         const ExportProgress& progress = {},
                         AcrossDistances* distances = nullptr);

}  // namespace svx
