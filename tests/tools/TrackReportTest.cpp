// `sonvara-cli track`: its command line and the CSV of the fixes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TrackReport.h"
#include "gps/Utm.h"

namespace {

TEST(TrackReportTest, CommandLines) {
    struct Case {
        std::vector<std::string> args;
        const char* error;  // nullptr: accepted
        cli::GeoFormat format;
    };
    const Case cases[] = {
        {{"log.nmea", "--csv", "t.csv"}, nullptr, cli::GeoFormat::Csv},
        {{"--gpx", "t.gpx", "a.svx"}, nullptr, cli::GeoFormat::Gpx},
        {{"a.svx", "--kml=t.kml"}, nullptr, cli::GeoFormat::Kml},
        {{"a.svx"}, "give one of --csv OUT, --gpx OUT or --kml OUT", {}},
        {{"a.svx", "--csv", "t.csv", "--kml", "t.kml"},
         "give one of --csv OUT, --gpx OUT or --kml OUT",
         {}},
        {{"--csv", "t.csv"}, "an INPUT (a data file or an NMEA log) is required", {}},
        {{"a.svx", "b.svx", "--csv", "t.csv"}, "only one INPUT can be exported", {}},
        {{"a.svx", "--csv"}, "--csv needs a value", {}},
        {{"a.svx", "--geojson", "x"}, "unknown option '--geojson'", {}},
    };
    for (const Case& c : cases) {
        const cli::TrackParse parsed = cli::ParseTrackArguments(c.args);
        if (!c.error) {
            ASSERT_TRUE(parsed.options) << parsed.error;
            EXPECT_EQ(parsed.options->format, c.format);
            EXPECT_FALSE(parsed.options->out.empty());
        } else {
            EXPECT_FALSE(parsed.options);
            EXPECT_EQ(parsed.error, c.error);
        }
    }
    const cli::TrackParse help = cli::ParseTrackArguments({"--help"});
    EXPECT_TRUE(help.help);
    EXPECT_NE(help.text.find("utm_zone"), std::string::npos);
}

TEST(TrackReportTest, CsvHasTheColumnsOfEachFix) {
    TrackFix north;
    north.time = "10:15:00.250";
    north.date = "2026-12-09";
    north.latitude = 54.32;
    north.longitude = 10.15;
    north.speedKnots = 4.0;
    north.courseDeg = 90.0;
    north.headingDeg = 92.0;
    north.ping = 1234;
    TrackFix south;  // south of the equator, from a log: no ping, nothing but a position
    south.time = "00:00:01.000";
    south.latitude = -33.123456789;
    south.longitude = -70.5;
    const std::string csv = svx::TrackExport({north, south}, cli::GeoFormat::Csv, "t");

    const UtmPosition a = LatLonToUtm(54.32, 10.15);
    const UtmPosition b = LatLonToUtm(-33.123456789, -70.5);
    ASSERT_EQ(a.zone, 32);
    ASSERT_EQ(b.zone, 19);
    const std::string expected =
        "time,date,latitude,longitude,speed_kn,course_deg,heading_deg,utm_zone,easting,"
        "northing,ping\n"
        "10:15:00.250,2026-12-09,54.32000000,10.15000000,4.00,90.00,92.00,32," +
        svx::Decimals(a.easting, 3) + "," + svx::Decimals(a.northing, 3) +
        ",1234\n"
        "00:00:01.000,,-33.12345679,-70.50000000,,,,19," +
        svx::Decimals(b.easting, 3) + "," + svx::Decimals(b.northing, 3) + ",\n";
    EXPECT_EQ(csv, expected);
    // The southern point's northing counts from 10,000 km south of the equator.
    EXPECT_GT(b.northing, 6.0e6);
    EXPECT_LT(b.northing, 10.0e6);
}

TEST(TrackReportTest, GpxTimesNeedTheDate) {
    TrackFix dated, undated;
    dated.time = undated.time = "10:15:00.250";
    dated.date = "2026-12-09";
    const std::string gpx = svx::TrackExport({dated, undated}, cli::GeoFormat::Gpx, "t");
    EXPECT_NE(gpx.find("<time>2026-12-09T10:15:00.250Z</time>"), std::string::npos);
    EXPECT_EQ(gpx.find("<time>", gpx.find("</time>")), std::string::npos);
}

TEST(TrackReportTest, UtmColumnsStayEmptyOutsideUtmLatitudes) {
    struct Case {
        double latitude;
        bool utm;
    };
    const Case cases[] = {
        {84.0, true},  {84.0001, false},  {89.99999, false}, {90.0, false},
        {-80.0, true}, {-80.0001, false}, {-90.0, false},    {0.0, true},
    };
    for (const Case& c : cases) {
        TrackFix fix;
        fix.time = "10:15:00.250";
        fix.latitude = c.latitude;
        fix.longitude = 15.0;
        const std::string csv = svx::TrackExport({fix}, cli::GeoFormat::Csv, "t");
        const std::string row = csv.substr(csv.find('\n') + 1);
        // time, date, latitude, longitude, speed, course, heading, then zone, easting, northing.
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t comma; (comma = row.find_first_of(",\n", start)) != std::string::npos;
             start = comma + 1) {
            fields.push_back(row.substr(start, comma - start));
        }
        ASSERT_EQ(fields.size(), 11u) << row;
        EXPECT_EQ(fields[2], svx::Decimals(c.latitude, 8));
        for (int k = 7; k <= 9; ++k) EXPECT_EQ(!fields[k].empty(), c.utm) << row;
        EXPECT_EQ(fields[7], c.utm ? "33" : "") << row;
    }
}

}  // namespace
