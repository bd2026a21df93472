// The mosaic of a recording of the simulator on its first survey line (east at 4 knots):
// geometry, the targets at the places the simulator put them, and the rules for bad input.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "ExportTestSupport.h"
#include "SimGps.h"
#include "SimScene.h"
#include "TargetSearch.h"
#include "export/Mosaic.h"
#include "gps/Utm.h"

namespace {

constexpr double kRes = 0.25;
constexpr int kRecords = 300;  // 150 s, about 310 m of the first 400 m line

struct Utm {
    double e, n;
};

Utm UtmOf(const sim::LocalPlace& place) {
    double lat = 0, lon = 0;
    sim::LatLonOf(place, lat, lon);
    const UtmPosition p = LatLonToUtmInZone(lat, lon, 32, false);
    return {p.easting, p.northing};
}

std::uint8_t PixelAt(const svx::Mosaic& m, double e, double n) {
    return m.raster.At(static_cast<std::int64_t>(std::floor(e / m.resolutionM)),
                       static_cast<std::int64_t>(std::floor(-n / m.resolutionM)));
}

std::pair<int, int> BestShift(const svx::Mosaic& m, const sim::WorldTarget& t, double trackN) {
    const Utm c = UtmOf({t.eastM, t.northM});
    return BestTargetShift([&m](double e, double n) { return double(PixelAt(m, e, n)); },
                           m.resolutionM, c.e, c.n, t.lengthEastM, t.lengthNorthM,
                           t.northM < trackN ? -1.0 : 1.0);
}

class FirstLineMosaic : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        file = Recording(*dir, "line.svx", {.records = kRecords});
    }
    static void TearDownTestSuite() { delete dir; }

    svx::Mosaic Build(svx::MosaicOptions options) {
        svx::Mosaic m;
        const svx::ExportReport report = svx::BuildMosaic(file, options, m);
        EXPECT_TRUE(report.Ok()) << report.error;
        return m;
    }

    static TempDir* dir;
    static std::string file;
};
TempDir* FirstLineMosaic::dir = nullptr;
std::string FirstLineMosaic::file;

TEST_F(FirstLineMosaic, IsInTheUtmZoneOfTheFirstFix) {
    const svx::Mosaic m = Build({.resolutionM = kRes});
    EXPECT_EQ(m.zone, 32);
    EXPECT_FALSE(m.south);
    EXPECT_EQ(m.Epsg(), 32632);
    EXPECT_EQ(m.head, 0);  // L, the first side-scan head
    EXPECT_EQ(m.pings, static_cast<std::uint64_t>(kRecords));
    EXPECT_DOUBLE_EQ(m.resolutionM, kRes);
}

TEST_F(FirstLineMosaic, TargetsAppearWhereTheSimulatorPutThem) {
    const svx::Mosaic m = Build({.resolutionM = kRes});
    int seen = 0;
    for (const sim::WorldTarget& t : sim::SurveyTargets()) {
        if (t.eastM > 290 || t.northM > 30) continue;  // off this stretch of the line
        SCOPED_TRACE(t.eastM);
        const auto [dx, dy] = BestShift(m, t, 0.0);
        EXPECT_LE(std::abs(dx), 2);
        EXPECT_LE(std::abs(dy), 2);
        ++seen;
    }
    EXPECT_EQ(seen, 3);
}

TEST_F(FirstLineMosaic, LaybackMovesTheMosaicBackAlongTheHeading) {
    const svx::Mosaic m = Build({.resolutionM = kRes, .laybackM = 10.0});
    const sim::WorldTarget t = sim::SurveyTargets()[0];  // 15 m south of the line
    const double h = 92.0 * 3.14159265358979 / 180.0;
    const sim::WorldTarget moved{t.eastM - 10.0 * std::sin(h), t.northM - 10.0 * std::cos(h),
                                 t.lengthEastM, t.lengthNorthM, t.heightM};
    const auto [dx, dy] = BestShift(m, moved, 0.0);
    EXPECT_LE(std::abs(dx), 2);
    EXPECT_LE(std::abs(dy), 2);
}

TEST_F(FirstLineMosaic, SwathIsTwiceTheGroundRangeWithTheWaterColumnLeftOut) {
    struct Case {
        bool slant;
        bool nadirCovered;
    };
    for (const Case c : {Case{true, false}, Case{false, true}}) {
        SCOPED_TRACE(c.slant);
        const svx::Mosaic m = Build({.resolutionM = kRes, .slantCorrection = c.slant});
        // Along the column 150 m east of the line's start: the rows that hold data.
        const Utm mid = UtmOf({150.0, 0.0});
        const auto col = static_cast<std::int64_t>(std::floor(mid.e / kRes));
        std::int64_t top = 0, bottom = 0;
        bool any = false;
        for (std::int64_t row = m.raster.MinRow(); row <= m.raster.MaxRow(); ++row) {
            if (m.raster.At(col, row) == 0) continue;
            if (!any) top = row;
            bottom = row;
            any = true;
        }
        ASSERT_TRUE(any);
        const double width = static_cast<double>(bottom - top + 1) * kRes;
        const double altitude =
            sim::Scene().AltitudeM(static_cast<std::uint32_t>(150 / (4 * 1852.0 / 3600) / 0.5));
        const double slant = 49.975;
        const double ground = c.slant ? std::sqrt(slant * slant - altitude * altitude) : slant;
        EXPECT_NEAR(width, 2 * ground * std::cos(2 * 3.14159265358979 / 180), 1.5);
        EXPECT_EQ(PixelAt(m, mid.e, mid.n) != 0, c.nadirCovered);
    }
}

TEST_F(FirstLineMosaic, NoPixelIsLeftOpenBetweenPings) {
    // At 0.1 m a ping is a metre from the next one: the gaps are filled along the track.
    const svx::Mosaic m = Build({.resolutionM = 0.1});
    const Utm a = UtmOf({100.0, -20.0});
    int open = 0;
    for (double e = a.e; e < a.e + 20.0; e += 0.1) open += PixelAt(m, e, a.n) == 0;
    EXPECT_EQ(open, 0);
}

TEST(MosaicTest, TheTurnAtTheEndOfALineIsNotSmearedAcross) {
    // The vessel turns from east to north at 400 m: south-east of the corner no ping looks.
    TempDir dir;
    svx::Mosaic m;
    ASSERT_TRUE(
        svx::BuildMosaic(Recording(dir, "turn.svx", {.records = 420}), {.resolutionM = 0.5}, m)
            .Ok());
    for (const sim::LocalPlace p : {sim::LocalPlace{430, -20}, sim::LocalPlace{420, -35}}) {
        const Utm u = UtmOf(p);
        EXPECT_EQ(PixelAt(m, u.e, u.n), 0) << p.eastM << "," << p.northM;
    }
    const Utm seen = UtmOf({430, 15});  // the northbound starboard side
    EXPECT_NE(PixelAt(m, seen.e, seen.n), 0);
}

TEST(MosaicTest, ARasterTooLargeIsRefusedWithItsSize) {
    TempDir dir;
    const std::string file = Recording(dir, "a.svx", {.records = 40});
    svx::Mosaic m;
    const svx::ExportReport report =
        svx::BuildMosaic(file, {.resolutionM = 0.1, .maxSidePixels = 500}, m);
    EXPECT_NE(report.error.find("more than 500 a side: choose a coarser --resolution"),
              std::string::npos)
        << report.error;
    svx::Mosaic fits;
    EXPECT_TRUE(svx::BuildMosaic(file, {.resolutionM = 0.5, .maxSidePixels = 500}, fits).Ok());
}

TEST(MosaicTest, DefaultResolutionRoundsToOneTwoOrFive) {
    const struct {
        double range, resolution;
    } cases[] = {{50, 0.1},  {75, 0.2},  {100, 0.2}, {150, 0.2},  {200, 0.5}, {300, 0.5},
                 {20, 0.05}, {10, 0.02}, {500, 1.0}, {1000, 2.0}, {2000, 5.0}};
    for (const auto& c : cases) {
        EXPECT_NEAR(svx::DefaultResolution(c.range), c.resolution, 1e-12) << c.range;
    }
}

TEST(MosaicTest, DefaultResolutionComesFromTheRange) {
    TempDir dir;
    svx::Mosaic m;
    const std::string file = Recording(dir, "a.svx", {.records = 20, .rangeM = 100});
    ASSERT_TRUE(svx::BuildMosaic(file, {}, m).Ok());
    EXPECT_DOUBLE_EQ(m.resolutionM, 0.2);
}

TEST(MosaicTest, HeadAskedForIsLaid) {
    TempDir dir;
    const std::string file = Recording(dir, "a.svx", {.records = 20});
    svx::Mosaic m;
    ASSERT_TRUE(svx::BuildMosaic(file, {.head = 2, .resolutionM = 0.5}, m).Ok());
    EXPECT_EQ(m.head, 2);
    svx::Mosaic none;
    const std::string onlyL =
        Recording(dir, "l.svx", {.records = 5, .heads = {true, false, false, true}});
    const svx::ExportReport report = svx::BuildMosaic(onlyL, {.head = 1}, none);
    EXPECT_NE(report.error.find("no ping of head M"), std::string::npos) << report.error;
}

TEST(MosaicTest, AFileWithoutPositionCannotBeMosaicked) {
    TempDir dir;
    const std::string file = Recording(dir, "nogps.svx", {.records = 10, .gps = false});
    svx::Mosaic m;
    const svx::ExportReport report = svx::BuildMosaic(file, {}, m);
    EXPECT_NE(report.error.find("holds no position"), std::string::npos) << report.error;
}

TEST(MosaicTest, DamagedRecordsAreSteppedOver) {
    TempDir dir;
    const std::string file = Recording(dir, "a.svx", {.records = 10});
    std::vector<std::uint8_t> bytes = TempDir::ReadBytes(file);
    const std::size_t length = bytes.size() / 10;
    bytes[4 * length + 8] ^= 0x10;  // the fifth record's length is wrong
    TempDir::WriteBytes(file, bytes);
    svx::Mosaic m;
    const svx::ExportReport report = svx::BuildMosaic(file, {.resolutionM = 0.5}, m);
    ASSERT_TRUE(report.Ok()) << report.error;
    ASSERT_EQ(report.damage.size(), 1u);
    EXPECT_EQ(report.damage[0].offset, 4 * length);
    EXPECT_EQ(m.pings, 9u);
}

TEST(MosaicTest, MemoryFollowsTheAreaNotThePings) {
    // The same stretch of seabed mosaicked from pings twice as dense takes as many tiles.
    TempDir dir;
    svx::Mosaic sparse, dense;
    ASSERT_TRUE(
        svx::BuildMosaic(Recording(dir, "s.svx", {.records = 100}), {.resolutionM = 0.2}, sparse)
            .Ok());
    ASSERT_TRUE(svx::BuildMosaic(Recording(dir, "d.svx", {.records = 200, .pingIntervalS = 0.25}),
                                 {.resolutionM = 0.2}, dense)
                    .Ok());
    EXPECT_EQ(dense.pings, 2 * sparse.pings);
    EXPECT_NEAR(static_cast<double>(dense.raster.TileCount()),
                static_cast<double>(sparse.raster.TileCount()), 2.0);
}

}  // namespace
