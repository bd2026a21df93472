// The rule of a ping's swath, as recordings feed the coverage: the widest side-scan head
// present reaches its ground range at the altitude on each side, square to the heading (the
// course when no heading was decoded); a ping without a position or a side-scan line covers
// nothing; each recording starts a run of its own.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "recordings/RecordingCoverage.h"

namespace {

rec::PingValues Ping(double lat, std::optional<double> altitude) {
    rec::PingValues ping;
    ping.nav.hasFix = true;
    ping.nav.latitude = lat;
    ping.nav.longitude = 10.0;
    ping.nav.courseDeg = 90;
    ping.nav.altitudeM = altitude;
    return ping;
}

void Head(rec::PingValues& ping, int slot, double rangeM, bool present = true) {
    ping.heads[static_cast<std::size_t>(slot)].present = present;
    ping.heads[static_cast<std::size_t>(slot)].slantRangeM = rangeM;
}

TEST(RecordingCoverageTest, TheWidestPresentHeadGivesTheGroundRangeEachSide) {
    struct Case {
        const char* what;
        double l, m, h;
        bool mPresent;
        std::optional<double> altitude;
        std::optional<double> heading;
        double side;  // expected ground range each side; < 0: no swath
        double headingDeg;
    };
    const Case cases[] = {
        {"H widest", 50, 100, 75, true, 10.0, std::nullopt, std::sqrt(100.0 * 100 - 100), 90},
        {"M left out", 50, 100, 75, false, 10.0, std::nullopt, std::sqrt(75.0 * 75 - 100), 90},
        {"no altitude", 50, 0, 75, false, std::nullopt, 12.0, 75, 12},
        {"above the range", 50, 0, 0, false, 60.0, 200.0, 50, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rec::PingValues ping = Ping(54.1, c.altitude);
        ping.nav.headingDeg = c.heading;
        if (c.l > 0) Head(ping, 0, c.l);
        if (c.m > 0) Head(ping, 1, c.m, c.mPresent);
        if (c.h > 0) Head(ping, 2, c.h);
        const auto swath = rec::SwathOfPing(ping);
        ASSERT_TRUE(swath);
        EXPECT_NEAR(swath->portM, c.side, 1e-9);
        EXPECT_NEAR(swath->starboardM, c.side, 1e-9);
        EXPECT_EQ(swath->headingDeg, c.headingDeg);
        EXPECT_EQ(swath->position.latitude, 54.1);
    }
}

TEST(RecordingCoverageTest, APingWithoutPositionOrSideScanLineCoversNothing) {
    rec::PingValues noFix = Ping(54.1, 5.0);
    noFix.nav.hasFix = false;
    Head(noFix, 0, 50);
    rec::PingValues noLine = Ping(54.1, 5.0);
    Head(noLine, 0, 50, false);
    EXPECT_FALSE(rec::SwathOfPing(noFix));
    EXPECT_FALSE(rec::SwathOfPing(noLine));
}

// Pings every metre or so north, the first `withoutFix` of them without a position.
class FakeReader : public rec::RecordingReader {
public:
    FakeReader(double lat, int pings, int withoutFix)
        : lat(lat), pings(pings), withoutFix(withoutFix) {}
    const char* Format() const override { return "svx"; }
    bool Walk(const rec::PingVisitor& onPing, const svx::ExportProgress&,
              svx::ExportReport&) override {
        for (int k = 0; k < pings; ++k) {
            rec::PingValues ping = Ping(lat + k * 1e-5, 5.0);
            ping.nav.hasFix = k >= withoutFix;
            ping.nav.courseDeg = 0;  // north, as it goes
            Head(ping, 1, 30);
            if (!onPing(ping)) return true;
        }
        return true;
    }

private:
    double lat;
    int pings, withoutFix;
};

TEST(RecordingCoverageTest, EachRecordingStartsARunAndCountsItsPositions) {
    survey::Coverage coverage;
    std::vector<survey::TrackPing> track;
    FakeReader first(54.1, 20, 5), second(54.2, 10, 0);
    rec::CoverageTally a, b;
    svx::ExportReport report;
    ASSERT_TRUE(rec::AddRecordingCoverage(first, coverage, track, a, report));
    ASSERT_TRUE(rec::AddRecordingCoverage(second, coverage, track, b, report));
    EXPECT_EQ(a.pings, 20u);
    EXPECT_EQ(a.positioned, 15u);
    EXPECT_EQ(b.positioned, 10u);
    ASSERT_EQ(track.size(), 25u);
    for (std::size_t i = 0; i < track.size(); ++i) {
        EXPECT_EQ(track[i].startsRun, i == 0 || i == 15) << i;
        EXPECT_NEAR(track[i].swathM, 2 * std::sqrt(30.0 * 30 - 25), 1e-9);
    }
    // Two strips of 14 and 9 steps of 1.11 m: 11 km apart, the runs are not joined (joined,
    // they would cover 11 km of seabed).
    const double stripM2 = 2 * std::sqrt(30.0 * 30 - 25) * (14 + 9) * 1.113;
    EXPECT_NEAR(coverage.AreaM2() / stripM2, 1.0, 0.15);
}

}  // namespace
