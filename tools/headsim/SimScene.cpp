#include "SimScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "SimGps.h"
#include "VesselPath.h"

#include "acquisition/HeadTable.h"
#include "common/ByteOrder.h"
#include "common/TextFormat.h"

namespace sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Frequencies in kHz as the installation reports them, with the limits a head accepts.
constexpr HeadModel kModels[kHeadCount] = {
    {120, 100, 140, 500.0, 0.0015, 0.60},
    {260, 240, 280, 250.0, 0.005, 0.30},
    {540, 500, 580, 100.0, 0.012, 0.12},
    {200, 190, 210, kEchoSounderLimitM, 0.004, 0.30},
};

std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint8_t ToSample(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

double GainFactor(int gainDb) {
    return std::pow(10.0, (gainDb - 14) / 40.0);
}

double SmoothStep(double t) {
    return t * t * (3.0 - 2.0 * t);
}

// A reproducible number in [0, 1) for the keys: one mix of the keys spread by odd multipliers.
double Noise01(std::uint64_t seed, std::uint64_t a, std::uint64_t b, std::uint64_t c) {
    const std::uint64_t h = Mix(seed * 0xD1B54A32D192ED03ull + a * 0x9E3779B97F4A7C15ull +
                                b * 0xC2B2AE3D27D4EB4Full + c * 0x165667B19E3779F9ull);
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

// Smooth 2-D value noise along one row (v fixed): random values at the integer lattice,
// interpolated with a smooth step. Samples move along u in small steps, so the two lattice
// columns around u are kept and reused while u stays in their cell.
class RowNoise {
public:
    RowNoise(std::uint64_t seed, double v, std::uint64_t salt)
        : seed(seed),
          salt(salt),
          tv(SmoothStep(v - std::floor(v))),
          iv(static_cast<std::int64_t>(std::floor(v))) {}

    double At(double u) {
        const double fu = std::floor(u);
        const auto iu = static_cast<std::int64_t>(fu);
        if (!valid || iu != cell) {
            left = (valid && iu == cell + 1) ? right : Column(iu);
            right = Column(iu + 1);
            cell = iu;
            valid = true;
        }
        return left + (right - left) * SmoothStep(u - fu);
    }

private:
    double Column(std::int64_t iu) const {
        const auto u = static_cast<std::uint64_t>(iu);
        const double top = Noise01(seed, u, static_cast<std::uint64_t>(iv), salt);
        const double bottom = Noise01(seed, u, static_cast<std::uint64_t>(iv + 1), salt);
        return top + (bottom - top) * tv;
    }

    std::uint64_t seed, salt;
    double tv;
    std::int64_t iv;
    bool valid = false;
    std::int64_t cell = 0;
    double left = 0, right = 0;
};

// The seabed's backscatter strength along one ping's row: coarse patches of harder ground, a
// grain the head resolves (its cell size), a finer grain, and sand ripples.
class SeabedRow {
public:
    SeabedRow(std::uint64_t seed, double y, int side, double cellM)
        : y(y),
          cellM(cellM),
          patch(seed, y / 25.0, 0x100 + static_cast<std::uint64_t>(side)),
          grain(seed, y / (cellM * 6), 0x200 + static_cast<std::uint64_t>(side)),
          fine(seed, y / cellM, 0x300 + static_cast<std::uint64_t>(side)) {}

    double At(double x) {
        const double p = patch.At(x / 25.0);
        double t = 0.30 + 0.35 * grain.At(x / (cellM * 6)) + 0.20 * fine.At(x / cellM);
        if (p > 0.65) t *= 1.35;
        t += 0.08 * std::sin(2 * kPi * (x + 0.3 * y) / 2.5) * (1.0 - p);
        return std::clamp(t, 0.05, 1.2);
    }

private:
    double y, cellM;
    RowNoise patch, grain, fine;
};

}  // namespace

const HeadModel& ModelOf(int head) {
    return kModels[std::clamp(head, 0, kHeadCount - 1)];
}

double Scene::AltitudeM(std::uint32_t ping) const {
    return 10.0 + 3.0 * std::sin(2 * kPi * ping / 700.0) + 0.5 * std::sin(2 * kPi * ping / 97.0);
}

Orientation Scene::OrientationAt(std::uint32_t ping) const {
    const double p = ping;
    return {1.5 * std::sin(2 * kPi * p / 90.0), -2.5 * std::sin(2 * kPi * p / 130.0),
            75.0 + 6.0 * std::sin(2 * kPi * p / 900.0), 11.5 + 0.4 * std::sin(2 * kPi * p / 2000.0),
            18.0 + 1.5 * std::sin(2 * kPi * p / 400.0)};
}

std::vector<Target> Scene::TargetsAt(double alongM) const {
    std::vector<Target> found;
    const auto first = static_cast<std::int64_t>(std::floor(alongM / kTargetSpacingM)) - 1;
    for (std::int64_t k = first; k <= first + 2; ++k) {
        if (k < 1) continue;
        const auto key = static_cast<std::uint64_t>(k);
        Target t{};
        t.alongM = k * kTargetSpacingM + 15.0 * Noise01(seed, key, 1, 0x7A);
        t.side = Noise01(seed, key, 2, 0x7A) < 0.5 ? 0 : 1;
        t.acrossM = 6.0 + 60.0 * Noise01(seed, key, 3, 0x7A);
        t.lengthM = 3.0 + 4.0 * Noise01(seed, key, 4, 0x7A);
        t.widthM = 1.5 + 2.5 * Noise01(seed, key, 5, 0x7A);
        t.heightM = 0.5 + 1.5 * Noise01(seed, key, 6, 0x7A);
        if (std::abs(alongM - t.alongM) <= t.lengthM / 2) found.push_back(t);
    }
    return found;
}

void Scene::FollowVessel(double speedKnots, std::function<double()> seconds) {
    FollowPath(nullptr, speedKnots, std::move(seconds));
}

void Scene::FollowPath(std::shared_ptr<const VesselPath> followed, double speedKnots,
                       std::function<double()> seconds) {
    UsePath(std::move(followed));
    vesselKnots = speedKnots;
    vesselClock = std::move(seconds);
}

const VesselPath& Scene::Path() const {
    return path ? *path : *DefaultPath();
}

void Scene::SideScan(int head, int side, std::uint32_t ping, const SceneRequest& request,
                     std::uint8_t* out) const {
    if (vesselClock) {
        SideScanAt(head, side, ping, PoseOn(Path(), vesselClock(), vesselKnots), request, out);
        return;
    }
    std::vector<Crossing> crossings;
    for (const Target& t : TargetsAt(AlongTrackM(ping))) {
        if (t.side == side) crossings.push_back({t.acrossM, t.acrossM + t.widthM, t.heightM});
    }
    SideScanWith(head, side, ping, request, crossings, out);
}

void Scene::SideScanAt(int head, int side, std::uint32_t ping, const Pose& pose,
                       const SceneRequest& request, std::uint8_t* out) const {
    std::vector<Crossing> crossings;
    Crossing c{};
    for (const WorldTarget& t : Path().Targets()) {
        if (CrossTarget(pose, side, t, c)) crossings.push_back(c);
    }
    SideScanWith(head, side, ping, request, crossings, out);
}

void Scene::SideScanWith(int head, int side, std::uint32_t ping, const SceneRequest& request,
                         const std::vector<Crossing>& crossings, std::uint8_t* out) const {
    const HeadModel& model = ModelOf(head);
    const double dr = std::max(request.rangeM, 1) / double(kSamples);
    const double a = AltitudeM(ping);
    const double y = AlongTrackM(ping);
    const double gain = GainFactor(request.gainDb);
    const bool silent = (request.transmitOffMask & (side == 0 ? 2 : 1)) != 0;
    const std::uint64_t pingKey = (static_cast<std::uint64_t>(ping) << 8) | (head << 1) | side;
    SeabedRow seabed(seed, y, side, model.cellM);
    for (int i = 0; i < kSamples; ++i) {
        const double r = (i + 0.5) * dr;
        const double noise =
            3.0 + 8.0 * Noise01(seed, pingKey, static_cast<std::uint64_t>(i), 0x11);
        double v = noise;
        if (!silent && r >= a && r <= model.maxRangeM) {
            const double x = std::sqrt(r * r - a * a);
            const double speckle =
                0.55 + 0.9 * Noise01(seed, pingKey, static_cast<std::uint64_t>(i), 0x22);
            const double loss = std::pow(a / r, 0.4) * std::exp(-model.absorptionPerM * r);
            bool shadow = false;
            double highlight = 0.0;
            for (const Crossing& t : crossings) {
                const double back = t.farM;
                const double shadowEnd =
                    t.heightM < a ? back + t.heightM * back / (a - t.heightM) : 1e9;
                if (x >= t.nearM && x <= back) highlight = 230.0;
                if (x > back && x <= shadowEnd) shadow = true;
            }
            double echo = 255.0 * seabed.At(x) * speckle * loss;
            echo += 230.0 * std::exp(-(r - a) / std::max(0.4, 2 * dr));  // first bottom return
            if (highlight > 0) echo = std::max(echo, highlight * speckle * std::pow(a / r, 0.3));
            if (!shadow) v += gain * echo;
        }
        out[i] = ToSample(v);
    }
}

std::vector<WorldTarget> SurveyTargets() {
    std::vector<WorldTarget> targets{{200.0, -15.0, 4.0, 2.0, 1.2}};
    for (int line = 0; line < 8; ++line) {
        const double north = line * 50.0 + 25.0;
        targets.push_back({110.0, north, 4.0, 2.0, 1.2});
        targets.push_back({290.0, north, 3.0, 3.0, 1.5});
    }
    return targets;
}

std::string DescribeTargets() {
    return DescribeTargets(*DefaultPath());
}

// The line runs from the pose along u = side * (cos h, -sin h) (starboard to the right of the
// heading); the box is met where the line's slab intervals in east and north overlap.
bool CrossTarget(const Pose& pose, int side, const WorldTarget& target, Scene::Crossing& out) {
    const double h = pose.headingDeg * kPi / 180.0;
    const double sign = side == 0 ? -1.0 : 1.0;
    const double u[2] = {sign * std::cos(h), -sign * std::sin(h)};
    const double from[2] = {pose.eastM, pose.northM};
    const double lo[2] = {target.eastM - target.lengthEastM / 2,
                          target.northM - target.lengthNorthM / 2};
    const double hi[2] = {target.eastM + target.lengthEastM / 2,
                          target.northM + target.lengthNorthM / 2};
    double enter = 0.0, leave = 1e9;
    for (int k = 0; k < 2; ++k) {
        if (std::fabs(u[k]) < 1e-12) {
            if (from[k] < lo[k] || from[k] > hi[k]) return false;
            continue;
        }
        double t0 = (lo[k] - from[k]) / u[k], t1 = (hi[k] - from[k]) / u[k];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    if (enter > leave || leave <= 0.0) return false;
    out = {enter, leave, target.heightM};
    return true;
}

void Scene::EchoSounder(std::uint32_t ping, const SceneRequest& request, std::uint8_t* out) const {
    const double dr = std::max(request.rangeM, 1) / double(kSamples);
    const double a = AltitudeM(ping);
    const double gain = std::clamp(GainFactor(request.gainDb), 0.7, 1.6);
    const bool silent = (request.transmitOffMask & 1) != 0;
    const std::uint64_t pingKey = (static_cast<std::uint64_t>(ping) << 8) | 0xE5;
    for (int i = 0; i < kSamples; ++i) {
        const double r = (i + 0.5) * dr;
        double v = 2.0 + 8.0 * Noise01(seed, pingKey, static_cast<std::uint64_t>(i), 0x33);
        if (!silent && r >= a && r <= kEchoSounderLimitM) {
            const double d = r - a;
            const double layers =
                0.6 + 0.4 * Noise01(seed, pingKey, static_cast<std::uint64_t>(i), 0x44);
            v += gain * (200.0 * std::exp(-d / std::max(0.3, 2 * dr)) +
                         60.0 * layers * std::exp(-d / (0.3 * a)));
        }
        out[i] = ToSample(v);
    }
}

std::uint16_t EncodeSignedWord(double value, double fullScale) {
    long raw = std::lround(value * 65536.0 / fullScale);
    raw = std::clamp(raw, -32767L, 32767L);
    // Read back as v - 65535 when v is above 32767, so -1 is stored as 65534.
    return static_cast<std::uint16_t>(raw < 0 ? raw + 65535 : raw);
}

std::uint16_t EncodeUnsignedWord(double value, double fullScale) {
    return static_cast<std::uint16_t>(
        std::clamp(std::lround(value * 65536.0 / fullScale), 0L, 65535L));
}

void Scene::OrientationBlock(std::uint32_t ping, std::uint8_t* out) const {
    std::fill(out, out + kSamples, 0);
    const Orientation o = OrientationAt(ping);
    PutLe16(out + 0, EncodeSignedWord(o.pitchDeg, 360.0));
    PutLe16(out + 2, EncodeSignedWord(o.rollDeg, 360.0));
    // Headings above 180 degrees wrap to negative words; the reader adds 360 back.
    const double heading = o.headingDeg > 180.0 ? o.headingDeg - 360.0 : o.headingDeg;
    PutLe16(out + 4, EncodeSignedWord(heading, 360.0));
    PutLe16(out + 8, EncodeSignedWord(o.temperatureC, 100.0));
    PutLe16(out + 10, EncodeUnsignedWord(o.depthM, 1000.0));
}

}  // namespace sim
