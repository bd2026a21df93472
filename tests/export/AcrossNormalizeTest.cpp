// The across-track normalisation: lines whose samples fall from bright at the nadir to dark at
// the far range, each with its own gain, become flat across the track; and the table that does
// it keeps its sums through its text form and adds up the same in any order.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "StraightLines.h"
#include "export/SurveyMosaic.h"
#include "gps/Utm.h"

namespace {

constexpr double kRes = 0.5;
constexpr double kApartM = 60.0;

struct Spread {
    double lowest = 1e9, highest = 0;
    double Relative() const { return (highest - lowest) / highest; }
};

// The mean pixel value per 2 m of distance from the nearer line (from 2 to 48 m out), over the
// middle of the lines, and how far those means spread.
Spread MeansAcross(const svx::Mosaic& m, const std::vector<StraightLine>& lines) {
    struct Axis {
        double e0, n0, e1, n1;
    };
    std::vector<Axis> axes;
    for (const StraightLine& line : lines) {
        double lat0, lon0, lat1, lon1;
        LinePosition(line, 0, lat0, lon0);
        LinePosition(line, 0.5 * (line.records - 1), lat1, lon1);
        const UtmPosition a = LatLonToUtmInZone(lat0, lon0, m.zone, false);
        const UtmPosition b = LatLonToUtmInZone(lat1, lon1, m.zone, false);
        axes.push_back({a.easting, a.northing, b.easting, b.northing});
    }
    const Axis& first = axes.front();
    std::map<int, std::pair<double, int>> bins;
    for (double e = std::min(first.e0, first.e1) + 40; e < std::max(first.e0, first.e1) - 40; e += kRes) {
        for (double y = first.n0 - 60; y < first.n0 + kApartM * double(lines.size()) + 60; y += kRes) {
            double d = 1e9;
            for (const Axis& a : axes) {
                const double dx = a.e1 - a.e0, dy = a.n1 - a.n0;
                d = std::min(d, std::fabs((e - a.e0) * dy - (y - a.n0) * dx) / std::hypot(dx, dy));
            }
            const std::uint8_t v = m.raster.At(static_cast<std::int64_t>(std::floor(e / kRes)),
                                               static_cast<std::int64_t>(std::floor(-y / kRes)));
            if (v == 0 || d < 2 || d >= 48) continue;
            auto& [sum, count] = bins[static_cast<int>(d / 2)];
            sum += v;
            ++count;
        }
    }
    Spread spread;
    for (const auto& [bin, sc] : bins) {
        const double mean = sc.first / sc.second;
        spread.lowest = std::min(spread.lowest, mean);
        spread.highest = std::max(spread.highest, mean);
    }
    EXPECT_EQ(bins.size(), 23u);
    return spread;
}

TEST(AcrossNormalizeTest, AnAcrossTrackGradientBecomesFlat) {
    TempDir dir;
    // Bright at the nadir, a quarter of that at the far range; the second line at 60 % gain.
    const StraightLine south{.latitude = 54.0, .longitude = 9.0, .value = 200, .farValue = 50};
    StraightLine north = south;
    north.latitude += kApartM / kMetresPerDegreeLat;
    north.value = 120;
    north.farValue = 30;
    const std::string s = WriteStraightLine(dir, "s.svx", south);
    const std::string n = WriteStraightLine(dir, "n.svx", north);
    const struct Case {
        const char* name;
        std::vector<std::string> files;
        std::vector<StraightLine> lines;
        std::optional<bool> normalize;
        bool flat;
    } cases[] = {
        {"one line, asked for", {s}, {south}, true, true},
        {"one line, by default as it is", {s}, {south}, std::nullopt, false},
        {"two lines of different gains, by default", {s, n}, {south, north}, std::nullopt, true},
        {"two lines, turned off", {s, n}, {south, north}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        svx::Mosaic m;
        const svx::ExportReport report = svx::BuildSurveyMosaic(
            c.files, {.resolutionM = kRes, .normalize = c.normalize}, m);
        ASSERT_TRUE(report.Ok()) << report.error;
        const Spread spread = MeansAcross(m, c.lines);
        if (c.flat) {
            EXPECT_LT(spread.Relative(), 0.05) << spread.lowest << " .. " << spread.highest;
        } else {
            // Raw: from about 190 near the nadir to about 60 at 48 m.
            EXPECT_GT(spread.Relative(), 0.5) << spread.lowest << " .. " << spread.highest;
        }
    }
}

TEST(AcrossNormalizeTest, TheTableAddsUpInAnyOrderAndKeepsItsText) {
    svx::AcrossTable a, b;
    a.SetBin(25);
    b.SetBin(25);
    for (int i = 0; i < 500; ++i) a.Add(i % 2, i * 0.1, static_cast<std::uint8_t>(i % 200));
    for (int i = 0; i < 300; ++i) b.Add(1, i * 0.3, 7);
    svx::AcrossTable ab = a, ba = b;
    ASSERT_TRUE(ab.Merge(b));
    ASSERT_TRUE(ba.Merge(a));
    EXPECT_EQ(ab.Text(), ba.Text());
    svx::AcrossTable read;
    std::string error;
    ASSERT_TRUE(svx::AcrossTable::FromText(ab.Text(), read, error)) << error;
    EXPECT_EQ(read.Text(), ab.Text());
    EXPECT_EQ(read.Factors(), ab.Factors());
    svx::AcrossTable other;
    other.SetBin(5);
    other.Add(0, 1.0, 1);
    EXPECT_FALSE(ab.Merge(other));  // another grid's bins do not add

    for (const char* bad : {"", "bin=0;port=;starboard=", "bin=25;port=1:1", "bin=x;port=;starboard=",
                            "bin=25;port=300:1;starboard=", "bin=25;port=1:1,;starboard=",
                            "bin=25;port=;starboard=;more=1"}) {
        SCOPED_TRACE(bad);
        svx::AcrossTable t;
        EXPECT_FALSE(svx::AcrossTable::FromText(bad, t, error));
    }
}

}  // namespace
