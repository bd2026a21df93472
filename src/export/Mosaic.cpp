#include "export/Mosaic.h"

#include <array>
#include <cmath>
#include <deque>
#include <vector>

#include "acquisition/HeadTable.h"
#include "export/MosaicMerge.h"
#include "export/PingNavigation.h"
#include "gps/Utm.h"
#include "recordings/Recording.h"

namespace svx {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kMaxPending = 1024;
constexpr double kSameFixS = 1e-3;
constexpr double kMaxFillSeconds = 10.0;
constexpr double kMaxFillTurnDeg = 10.0;
// Points across are laid closer than a pixel, so that no pixel between two of them is missed;
// the lines that fill the gap to the previous ping step a pixel at most in either direction.
constexpr double kStepPerPixel = 0.7;
constexpr double kFillStepPixels = 1.0;

struct PendingPing {
    double time = 0;
    std::array<std::vector<std::uint8_t>, 2> sides;  // port, starboard; nearest first
    double rangeM = 0;
    double altitudeM = 0;
    double headingDeg = 0;
};

struct Anchor {
    double time = 0, easting = 0, northing = 0;
};

struct AcrossPoint {
    double ground;
    std::uint8_t value;
};

// Where a ping was laid, for filling the gap to the next one.
struct LaidPing {
    double time = 0, easting = 0, northing = 0, starE = 0, starN = 0;
};

std::int64_t FloorToInt(double x) {
    const auto t = static_cast<std::int64_t>(x);
    return x < static_cast<double>(t) ? t - 1 : t;
}

class MosaicBuilder {
public:
    MosaicBuilder(const MosaicOptions& options, Mosaic& out, AcrossDistances* distances)
        : options(options), out(out), distances(distances) {}

    void Add(const rec::PingValues& ping) {
        const PingNavigation& nav = ping.nav;
        if (!head) Begin(ping);
        const rec::SideScanLine& line = ping.heads[static_cast<std::size_t>(*head)];
        if (!line.present) return;
        sawHead = true;
        if (nav.newFix) TakeFix(nav);
        if (anchors.empty()) return;  // no position yet
        if (!(line.slantRangeM > 0)) return;  // samples over a range not known lie nowhere
        Queue(line, nav);
        LayUpTo(anchors.back().time, false);
        while (pending.size() > kMaxPending) LayFront();
    }

    void Finish() {
        while (!pending.empty()) LayFront();
    }

    bool SawHead() const { return sawHead; }
    bool SawAltitude() const { return sawAltitude; }
    bool HasPosition() const { return !anchors.empty(); }

private:
    void Begin(const rec::PingValues& first) {
        if (options.head) {
            head = *options.head;
        } else {
            for (int h = kHeadL; h <= kHeadH && !head; ++h) {
                if (first.heads[static_cast<std::size_t>(h)].present) head = h;
            }
            if (!head) head = kHeadL;
        }
        out.head = *head;
    }

    void TakeFix(const PingNavigation& nav) {
        const double time = nav.FixTime();
        const UtmPosition own = LatLonToUtm(nav.latitude, nav.longitude);
        fixZone = own.south ? -own.zone : own.zone;
        if (anchors.empty()) {
            out.zone = options.zone > 0 ? options.zone : own.zone;
            out.south = options.zone > 0 ? options.south : own.south;
        }
        const UtmPosition p = LatLonToUtmInZone(nav.latitude, nav.longitude, out.zone, out.south);
        if (!anchors.empty()) {
            const Anchor& last = anchors.back();
            // The same fix carried by a later record: its time, worked out from another record
            // clock, may differ in the last bits, and a second anchor at the same place would
            // stop the pings after the last fix instead of carrying them on along the track.
            if (last.easting == p.easting && last.northing == p.northing &&
                std::fabs(last.time - time) < kSameFixS) {
                return;
            }
        }
        // True north on the grid: the heading is turned by it before the swath is laid.
        const UtmPosition up =
            LatLonToUtmInZone(nav.latitude + 1e-4, nav.longitude, out.zone, out.south);
        gridNorth = std::atan2(up.easting - p.easting, up.northing - p.northing);
        anchors.push_back({time, p.easting, p.northing});
        if (anchors.size() > 2) anchors.pop_front();
        out.track.Add(p.easting, p.northing);
    }

    void Queue(const rec::SideScanLine& line, const PingNavigation& nav) {
        if (!out.resolutionM) {
            out.resolutionM =
                options.resolutionM ? *options.resolutionM : DefaultResolution(line.slantRangeM);
        }
        out.across.SetBin(AcrossTable::BinStepsFor(out.resolutionM));
        ++out.pingsPerZone[fixZone];
        PendingPing& ping = pending.emplace_back();
        ping.time = nav.clock.Seconds();
        ping.sides[0] = line.port;
        ping.sides[1] = line.starboard;
        ping.rangeM = line.slantRangeM;
        if (nav.altitudeM) {
            altitude = *nav.altitudeM;
            sawAltitude = true;
        }
        ping.altitudeM = altitude;
        ping.headingDeg = nav.ShipHeading();
    }

    void LayUpTo(double time, bool all) {
        while (!pending.empty() && (all || pending.front().time <= time)) LayFront();
    }

    // The oldest waiting ping at its position on the last segment between two fixes.
    void LayFront() {
        const PendingPing& ping = pending.front();
        const Anchor& b = anchors.back();
        const Anchor& a = anchors.front();
        double e = b.easting, n = b.northing;
        if (anchors.size() == 2 && b.time > a.time) {
            const double f = (ping.time - a.time) / (b.time - a.time);
            e = a.easting + (b.easting - a.easting) * f;
            n = a.northing + (b.northing - a.northing) * f;
        }
        Lay(ping, e, n);
        pending.pop_front();
    }

    // The ground distances and values of one side, nearest first, at most a step apart; each
    // sample laid is counted in the across-track table.
    void AcrossOf(const PendingPing& ping, int side, std::vector<AcrossPoint>& points) {
        points.clear();
        const std::vector<std::uint8_t>& samples = ping.sides[static_cast<std::size_t>(side)];
        const int count = static_cast<int>(samples.size());
        if (count == 0) return;
        const double dr = ping.rangeM / double(count);
        const double a = options.slantCorrection ? ping.altitudeM : 0.0;
        const double step = kStepPerPixel * out.resolutionM;
        const auto ground = [&](int i) {
            const double s = (i + 0.5) * dr;
            return s <= a ? -1.0 : std::sqrt(s * s - a * a);
        };
        double g = ground(0);
        for (int i = 0; i < count; ++i) {
            const double next = i + 1 < count ? ground(i + 1) : g + dr;
            if (g >= 0) {
                const std::uint8_t v = samples[static_cast<std::size_t>(i)];
                out.across.Add(side, g, v);
                // A sample closer than a step to the last point joins it (the larger value
                // stays), so a side has about range / step points however fine its samples.
                if (!points.empty() && g < points.back().ground + step) {
                    points.back().value = std::max(points.back().value, v);
                } else {
                    points.push_back({g, v});
                }
                for (double x = points.back().ground + step; x < next; x += step) {
                    points.push_back({x, v});
                }
            }
            g = next;
        }
    }

    void Lay(const PendingPing& ping, double shipE, double shipN) {
        const double h = ping.headingDeg * kPi / 180.0 + gridNorth;
        LaidPing now;
        now.time = ping.time;
        now.easting = shipE - options.laybackM * std::sin(h);
        now.northing = shipN - options.laybackM * std::cos(h);
        now.starE = std::cos(h);
        now.starN = -std::sin(h);
        // A turn sharper than a few degrees from ping to ping would smear the far range
        // across the arc: such gaps stay open, as do long ones.
        const bool fill = previous && now.time - previous->time <= kMaxFillSeconds &&
                          std::hypot(now.easting - previous->easting,
                                     now.northing - previous->northing) <= ping.rangeM &&
                          now.starE * previous->starE + now.starN * previous->starN >=
                              std::cos(kMaxFillTurnDeg * kPi / 180.0);
        for (int side = 0; side < 2; ++side) {
            AcrossOf(ping, side, across);
            LaySide(now, fill ? &*previous : nullptr, side, before[static_cast<std::size_t>(side)]);
            std::swap(across, before[static_cast<std::size_t>(side)]);
        }
        previous = now;
        out.rangeM = std::max(out.rangeM, static_cast<int>(std::ceil(ping.rangeM)));
        ++out.pings;
    }

    // Each point of the side, and when the previous ping is near, the line back to where the
    // same ground distance lay in it (in pixel units; its two ends widen the bounds). The half
    // of the line nearer the previous ping takes that ping's sample at the same distance, so
    // that each ping covers the ground half-way to its neighbours and nothing is shifted.
    void LaySide(const LaidPing& now, const LaidPing* before, int side,
                 const std::vector<AcrossPoint>& earlier) {
        const double inv = 1.0 / out.resolutionM;
        const double sign = side == 0 ? -1.0 : 1.0;
        std::size_t j = 0;
        for (const AcrossPoint& p : across) {
            const double g = sign * p.ground;
            const double x1 = (now.easting + now.starE * g) * inv;
            const double y1 = -(now.northing + now.starN * g) * inv;
            std::int64_t col = FloorToInt(x1), row = FloorToInt(y1);
            out.raster.Extend(col, row);
            if (!before) {
                Put(col, row, p.value, CodeOf(p.ground, side));
                continue;
            }
            const double x0 = (before->easting + before->starE * g) * inv;
            const double y0 = -(before->northing + before->starN * g) * inv;
            out.raster.Extend(FloorToInt(x0), FloorToInt(y0));
            const int steps = std::max(
                1, static_cast<int>(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)) /
                                              kFillStepPixels)));
            while (j + 1 < earlier.size() && earlier[j + 1].ground <= p.ground) ++j;
            const bool known = !earlier.empty() && earlier[j].ground <= p.ground;
            const std::uint8_t older = known ? earlier[j].value : p.value;
            const double dx = (x1 - x0) / steps, dy = (y1 - y0) / steps;
            const std::uint16_t code = CodeOf(p.ground, side);
            double x = x1, y = y1;
            for (int k = 0; k < steps; ++k, x -= dx, y -= dy) {
                Put(FloorToInt(x), FloorToInt(y), 2 * k < steps ? p.value : older, code);
            }
        }
    }

    // The distance code of a point, when distances are kept (worked out once for the point's
    // pixel and the pixels of its fill line).
    std::uint16_t CodeOf(double ground, int side) const {
        return distances ? AcrossDistances::Code(ground, side) : AcrossDistances::kNone;
    }

    // Inlined: it runs for every pixel of every fill line.
    [[gnu::always_inline]] void Put(std::int64_t col, std::int64_t row, std::uint8_t value,
                                    std::uint16_t code) {
        if (!distances) {
            out.raster.PutWithin(col, row, value);
            return;
        }
        // The raster's and the distances' tiles of the pixel, looked up once per tile.
        const std::int64_t tc = col >> TiledRaster::kTileShift, tr = row >> TiledRaster::kTileShift;
        if (!heldTile || tc != heldCol || tr != heldRow) {
            heldTile = &out.raster.TileForWrite(tc, tr);
            heldCodes = &distances->At(tc, tr);
            heldCol = tc;
            heldRow = tr;
        }
        const std::size_t i = AcrossDistances::Index(col, row);
        std::uint8_t& held = (*heldTile)[i];
        std::uint16_t& heldCode = (*heldCodes)[i];
        value = std::max<std::uint8_t>(value, 1);
        const bool wins = PixelWins(options.overlap, value, code, held, heldCode, true);
        held = wins ? value : held;  // selects, not branches
        heldCode = wins ? code : heldCode;
    }

    const MosaicOptions& options;
    Mosaic& out;
    AcrossDistances* distances;
    std::optional<int> head;
    std::deque<Anchor> anchors;  // the last two fixes
    std::deque<PendingPing> pending;
    std::optional<LaidPing> previous;
    std::vector<AcrossPoint> across;
    std::array<std::vector<AcrossPoint>, 2> before;  // the previous ping's points, per side
    TiledRaster::Tile* heldTile = nullptr;  // the tiles of the last pixel put
    AcrossDistances::Tile* heldCodes = nullptr;
    std::int64_t heldCol = 0, heldRow = 0;
    double altitude = 0.0;
    int fixZone = 0;         // of the last fix, negative in the south
    double gridNorth = 0.0;  // direction of true north, radians clockwise from grid north
    bool sawHead = false;
    bool sawAltitude = false;
};

}  // namespace

void UtmBox::Add(double easting, double northing) {
    if (empty) {
        minEasting = maxEasting = easting;
        minNorthing = maxNorthing = northing;
        empty = false;
        return;
    }
    minEasting = std::min(minEasting, easting);
    maxEasting = std::max(maxEasting, easting);
    minNorthing = std::min(minNorthing, northing);
    maxNorthing = std::max(maxNorthing, northing);
}

double DefaultResolution(double rangeM) {
    const double target = std::max(rangeM, 1.0) / 500.0;
    const double decade = std::pow(10.0, std::floor(std::log10(target)));
    double best = decade;
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (std::fabs(std::log(m * decade / target)) < std::fabs(std::log(best / target))) {
            best = m * decade;
        }
    }
    return best;
}

ExportReport BuildMosaic(const std::string& input, const MosaicOptions& options, Mosaic& out,
                         const ExportProgress& progress, AcrossDistances* distances) {
    ExportReport report;
    MosaicBuilder builder(options, out, distances);
    const std::unique_ptr<rec::RecordingReader> reader = rec::OpenRecording(input, report.error);
    if (!reader) return report;
    const bool read = reader->Walk(
        [&](const rec::PingValues& ping) {
            builder.Add(ping);
            ++report.records;
            return true;
        },
        progress, report);
    if (!read || report.cancelled) return report;
    builder.Finish();
    if (report.records == 0) {
        report.error = input + " holds no record";
    } else if (!builder.SawHead()) {
        report.error = input + " holds no ping of head " + HeadLabel(out.head);
    } else if (!builder.HasPosition() || out.raster.Empty()) {
        report.error = input + " holds no position (no decoded NMEA fix): it cannot be mosaicked";
    } else if (std::max(out.Width(), out.Height()) > options.maxSidePixels) {
        report.error = "the positions of " + input + " span " + std::to_string(out.Width()) +
                       " x " + std::to_string(out.Height()) + " pixels of " +
                       std::to_string(out.resolutionM) + " m, more than " +
                       std::to_string(options.maxSidePixels) +
                       " a side: choose a coarser --resolution";
    } else if (options.slantCorrection && !builder.SawAltitude()) {
        // Without any altitude the slant ranges are laid as they are: a ground range picked
        // from the side-scan returns would be a guess the user could not see.
        report.notes.push_back("no altitude in " + input +
                               ": laid without slant-range correction");
    }
    return report;
}

}  // namespace svx
