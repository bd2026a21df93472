// The mosaic of several recordings: two lines 60 m apart, each seeing 50 m to either side, so
// that they overlap over a 40 m band whose midline is 30 m from each; each line's samples all
// hold one value, so every pixel tells which line it came from. Where it should come from is
// worked out here from the fixes' positions alone.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "StraightLines.h"
#include "export/SurveyMosaic.h"
#include "gps/Utm.h"

namespace {

constexpr double kRes = 0.5;
constexpr double kSwathM = 50.0;  // slant range, laid as it is (no altitude)
constexpr double kApartM = 60.0;
constexpr std::uint8_t kSouthValue = 100, kNorthValue = 200;

// A line through two fixes on the UTM grid, and how far a point lies from it.
struct GridLine {
    double e0, n0, e1, n1;
    double Distance(double e, double n) const {
        const double dx = e1 - e0, dy = n1 - n0;
        return std::fabs((e - e0) * dy - (n - n0) * dx) / std::hypot(dx, dy);
    }
};

GridLine GridLineOf(const StraightLine& line, int zone) {
    double lat0, lon0, lat1, lon1;
    LinePosition(line, 0, lat0, lon0);
    LinePosition(line, 0.5 * (line.records - 1), lat1, lon1);
    const UtmPosition a = LatLonToUtmInZone(lat0, lon0, zone, false);
    const UtmPosition b = LatLonToUtmInZone(lat1, lon1, zone, false);
    return {a.easting, a.northing, b.easting, b.northing};
}

class TwoLines : public ::testing::Test {
protected:
    void SetUp() override {
        south = {.latitude = 54.0, .longitude = 9.0, .east = true, .value = kSouthValue};
        // Sailed back west along a line 60 m north, over the same stretch.
        north = south;
        double lat = 0;
        LinePosition(south, 0.5 * (south.records - 1), lat, north.longitude);
        north.latitude = south.latitude + kApartM / kMetresPerDegreeLat;
        north.east = false;
        north.value = kNorthValue;
        southFile = WriteStraightLine(dir, "south.svx", south);
        northFile = WriteStraightLine(dir, "north.svx", north);
    }

    svx::Mosaic Build(const std::vector<std::string>& files, svx::MosaicOptions options) {
        options.resolutionM = kRes;
        if (!options.normalize) options.normalize = false;  // the values tell the lines apart
        svx::Mosaic m;
        const svx::ExportReport report = svx::BuildSurveyMosaic(files, options, m);
        EXPECT_TRUE(report.Ok()) << report.error;
        return m;
    }

    // Calls check(pixel, distance to the south line, to the north line) for every pixel centre
    // of the middle 120 m of the lines, from 10 m south of the south line to 10 m north of the
    // north one.
    void EachPixel(const svx::Mosaic& m,
                   const std::function<void(std::uint8_t, double, double)>& check) const {
        const GridLine s = GridLineOf(south, m.zone), n = GridLineOf(north, m.zone);
        const double e0 = std::min(s.e0, s.e1) + 40, e1 = std::max(s.e0, s.e1) - 40;
        for (double e = e0; e < e1; e += kRes) {
            for (double y = std::min(s.n0, s.n1) - 10; y < std::max(n.n0, n.n1) + 10; y += kRes) {
                const auto col = static_cast<std::int64_t>(std::floor(e / kRes));
                const auto row = static_cast<std::int64_t>(std::floor(-y / kRes));
                const double ce = (static_cast<double>(col) + 0.5) * kRes;
                const double cn = -(static_cast<double>(row) + 0.5) * kRes;
                check(m.raster.At(col, row), s.Distance(ce, cn), n.Distance(ce, cn));
            }
        }
    }

    TempDir dir;
    StraightLine south, north;
    std::string southFile, northFile;
};

TEST_F(TwoLines, EachPixelOfTheOverlapKeepsTheRuleOfItsOverlap) {
    using Rule = svx::MosaicOverlap;
    // Which line a pixel seen by both holds, given its distances to the south and north lines.
    using Expect = std::function<std::uint8_t(double, double)>;
    const Expect nearer = [](double ds, double dn) { return ds < dn ? kSouthValue : kNorthValue; };
    const Expect southLine = [](double, double) { return kSouthValue; };
    const Expect northLine = [](double, double) { return kNorthValue; };
    const struct Case {
        const char* name;
        Rule rule;
        bool southFirst;
        Expect expect;
    } cases[] = {
        {"nearest, south first", Rule::Nearest, true, nearer},
        {"nearest, north first", Rule::Nearest, false, nearer},
        {"max", Rule::Max, true, northLine},  // 200 > 100
        {"max, north first", Rule::Max, false, northLine},
        {"newest: the north file, given last", Rule::Newest, true, northLine},
        {"newest: the south file, given last", Rule::Newest, false, southLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> files =
            c.southFirst ? std::vector{southFile, northFile} : std::vector{northFile, southFile};
        const svx::Mosaic m = Build(files, {.overlap = c.rule, .threads = 2});
        int both = 0, onlySouth = 0, onlyNorth = 0, wrong = 0;
        EachPixel(m, [&](std::uint8_t v, double ds, double dn) {
            const bool seenS = ds < kSwathM - 1, seenN = dn < kSwathM - 1;
            const bool clearS = ds > kSwathM + 1, clearN = dn > kSwathM + 1;
            // Within two pixels of the midline the pixel may hold either line.
            if (seenS && seenN && std::fabs(ds - dn) > 2 * kRes) {
                ++both;
                wrong += v != c.expect(ds, dn);
            } else if (seenS && clearN) {
                ++onlySouth;
                wrong += v != kSouthValue;
            } else if (seenN && clearS) {
                ++onlyNorth;
                wrong += v != kNorthValue;
            }
        });
        EXPECT_EQ(wrong, 0);
        // The overlap is 2 x 50 - 60 = 40 m wide, less the 1 m margins and the 1 m about the
        // midline, along the line less 40 m at each end; to within a row and a column.
        const GridLine s = GridLineOf(south, m.zone);
        const double columns = (std::hypot(s.e1 - s.e0, s.n1 - s.n0) - 80) / kRes;
        const double rows = (2 * (kSwathM - 1) - kApartM - 2 * kRes) / kRes;
        EXPECT_NEAR(both, columns * rows, columns + rows);
        EXPECT_GT(onlySouth, 0);
        EXPECT_GT(onlyNorth, 0);
    }
}

TEST_F(TwoLines, TheRuleHoldsWhereOneRecordingOverlapsItself) {
    // Both lines in one recording: sailed east, then 10 s later back west 60 m north.
    StraightLine back = north;
    back.startS = 0.5 * south.records + 10;
    const std::string both = WriteStraightLine(dir, "back.svx", back);
    std::vector<std::uint8_t> bytes = TempDir::ReadBytes(southFile);
    const std::vector<std::uint8_t> second = TempDir::ReadBytes(both);
    bytes.insert(bytes.end(), second.begin(), second.end());
    const std::string oneFile = dir.File("both.svx");
    TempDir::WriteBytes(oneFile, bytes);
    for (const auto& [rule, nearest] :
         {std::pair{svx::MosaicOverlap::Nearest, true}, std::pair{svx::MosaicOverlap::Max, false}}) {
        SCOPED_TRACE(nearest ? "nearest" : "max");
        const svx::Mosaic m = Build({oneFile}, {.overlap = rule});
        int both = 0, wrong = 0;
        EachPixel(m, [&](std::uint8_t v, double ds, double dn) {
            if (ds > kSwathM - 1 || dn > kSwathM - 1 || std::fabs(ds - dn) <= 2 * kRes) return;
            ++both;
            wrong += v != (!nearest || dn < ds ? kNorthValue : kSouthValue);
        });
        EXPECT_GT(both, 1000);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(TwoLines, TheBoundaryOfNearestLiesOnTheMidline) {
    // Along each column, the last row holding the south line's value and the first holding
    // the north line's meet within a pixel or two of the midline, 30 m from each line.
    const svx::Mosaic m = Build({southFile, northFile}, {});
    const GridLine s = GridLineOf(south, m.zone);
    int columns = 0;
    for (double e = std::min(s.e0, s.e1) + 40; e < std::max(s.e0, s.e1) - 40; e += 10) {
        const auto col = static_cast<std::int64_t>(std::floor(e / kRes));
        const double lineN = s.n0 + (s.n1 - s.n0) * (e - s.e0) / (s.e1 - s.e0);
        double lastSouth = -1;
        for (double y = lineN; y < lineN + kApartM; y += kRes / 2) {
            if (m.raster.At(col, static_cast<std::int64_t>(std::floor(-y / kRes))) == kSouthValue) {
                lastSouth = y - lineN;
            }
        }
        EXPECT_NEAR(lastSouth, kApartM / 2, 2 * kRes) << e;
        ++columns;
    }
    EXPECT_GE(columns, 10);
}

TEST_F(TwoLines, AnyNumberOfThreadsGivesTheSameRaster) {
    std::vector<std::string> files;
    for (int k = 0; k < 5; ++k) files.push_back(k % 2 ? northFile : southFile);
    for (const svx::MosaicOverlap rule :
         {svx::MosaicOverlap::Nearest, svx::MosaicOverlap::Newest, svx::MosaicOverlap::Max}) {
        const svx::Mosaic one = Build(files, {.overlap = rule, .threads = 1});
        for (const int threads : {2, 3, 8}) {
            const svx::Mosaic many = Build(files, {.overlap = rule, .threads = threads});
            ASSERT_EQ(many.Width(), one.Width());
            ASSERT_EQ(many.Height(), one.Height());
            std::vector<std::uint8_t> a(static_cast<std::size_t>(one.Width() * one.Height()));
            std::vector<std::uint8_t> b(a.size());
            one.raster.CopyRegion(one.raster.MinCol(), one.raster.MinRow(),
                                  static_cast<int>(one.Width()), static_cast<int>(one.Height()), a.data());
            many.raster.CopyRegion(one.raster.MinCol(), one.raster.MinRow(),
                                   static_cast<int>(one.Width()), static_cast<int>(one.Height()), b.data());
            EXPECT_TRUE(a == b) << threads << " threads";
            EXPECT_EQ(many.pings, one.pings);
        }
    }
}

TEST_F(TwoLines, ARecordingWithoutPositionsIsLeftOutWithANote) {
    StraightLine blind = south;
    blind.gps = false;
    const std::string blindFile = WriteStraightLine(dir, "blind.svx", blind);
    svx::Mosaic m;
    const svx::ExportReport report =
        svx::BuildSurveyMosaic({southFile, blindFile, northFile}, {.resolutionM = kRes}, m);
    ASSERT_TRUE(report.Ok()) << report.error;
    EXPECT_EQ(m.pings, static_cast<std::uint64_t>(south.records + north.records));
    EXPECT_EQ(m.recordings, 2u);
    bool named = false;
    for (const std::string& note : report.notes) {
        named = named || (note.find(blindFile) != std::string::npos &&
                          note.find("left out") != std::string::npos);
    }
    EXPECT_TRUE(named);

    svx::Mosaic none;
    const svx::ExportReport nothing =
        svx::BuildSurveyMosaic({blindFile, blindFile}, {.resolutionM = kRes}, none);
    EXPECT_NE(nothing.error.find("no recording holds anything to lay"), std::string::npos)
        << nothing.error;
}

TEST_F(TwoLines, ACancelStopsEveryThread) {
    svx::Mosaic m;
    const svx::ExportReport report = svx::BuildSurveyMosaic(
        {southFile, northFile, southFile}, {.resolutionM = kRes, .threads = 2}, m,
        [](std::uint64_t, std::uint64_t) { return false; });
    EXPECT_TRUE(report.cancelled);
}

TEST(SurveyMosaicTest, TheZoneIsTheOneOfMostPings) {
    // One line just west of 12 E (zone 32), given first, and two just east of it (zone 33).
    TempDir dir;
    const StraightLine west{.latitude = 54.0, .longitude = 11.999, .east = false, .records = 40};
    const StraightLine east{.latitude = 54.0, .longitude = 12.001, .east = true, .records = 40};
    const std::vector<std::string> files = {WriteStraightLine(dir, "w.svx", west),
                                            WriteStraightLine(dir, "e1.svx", east),
                                            WriteStraightLine(dir, "e2.svx", east)};
    svx::Mosaic m;
    const svx::ExportReport report = svx::BuildSurveyMosaic(files, {.resolutionM = 1.0}, m);
    ASSERT_TRUE(report.Ok()) << report.error;
    EXPECT_EQ(m.zone, 33);
    EXPECT_EQ(m.pings, 120u);
    bool said = false;
    for (const std::string& note : report.notes) {
        said = said || note.find("32N 40, 33N 80: the mosaic is in zone 33N") != std::string::npos;
    }
    EXPECT_TRUE(said);
    // The western line lies where its fixes project in zone 33.
    const UtmPosition w = LatLonToUtmInZone(54.0, 11.999, 33, false);
    EXPECT_NE(m.raster.At(static_cast<std::int64_t>(std::floor((w.easting - 5) / 1.0)),
                          static_cast<std::int64_t>(std::floor(-(w.northing + 20) / 1.0))),
              0);
}

}  // namespace
