// The exports shared by `track` and `events`: CSV quoting, XML text, locale-free numbers and
// the structure of GPX and KML.

#include <gtest/gtest.h>

#include "export/GeoTexts.h"
#include "gps/NmeaTestSupport.h"

namespace {

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(GeoTextsTest, CsvFieldsAreQuotedOnlyWhenTheyMustBe) {
    struct Case {
        std::vector<std::string> fields;
        const char* line;
    };
    const Case cases[] = {
        {{"a", "b", ""}, "a,b,\n"},
        {{"wreck, upright"}, "\"wreck, upright\"\n"},
        {{"the \"Anna\""}, "\"the \"\"Anna\"\"\"\n"},
        {{"two\nlines", "cr\r"}, "\"two\nlines\",\"cr\r\"\n"},
        {{}, "\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(svx::CsvLine(c.fields), c.line);
}

TEST(GeoTextsTest, XmlTextIsEscapedUtf8WithoutControlCharacters) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"a < b & c > d", "a &lt; b &amp; c &gt; d"},
        {"\"quoted\" 'single'", "&quot;quoted&quot; &apos;single&apos;"},
        {"tab\there\x01", "tab here "},
        {"Stra\xdf"
         "e",
         "Stra\xc3\x9f"
         "e"},  // Latin-1 becomes UTF-8
        {"Stra\xc3\x9f"
         "e",
         "Stra\xc3\x9f"
         "e"},  // UTF-8 stays
    };
    for (const Case& c : cases) EXPECT_EQ(svx::XmlText(c.in), c.out) << c.in;
}

TEST(GeoTextsTest, NumbersIgnoreTheLocale) {
    TempDirForLocale locale;
    ASSERT_TRUE(locale.Install()) << "localedef could not build a decimal-comma locale";
    EXPECT_EQ(svx::Decimals(-48.1173, 8), "-48.11730000");
    EXPECT_EQ(svx::Decimals(0.75, 6), "0.750000");
    EXPECT_EQ(svx::Decimals(std::optional<double>(), 2), "");
    EXPECT_EQ(svx::Decimals(std::optional<double>(22.4), 2), "22.40");
}

TEST(GeoTextsTest, IsoTimesNeedADateAndATime) {
    EXPECT_EQ(svx::IsoUtcTime("2026-12-09", "12:35:19.250"), "2026-12-09T12:35:19.250Z");
    EXPECT_EQ(svx::IsoUtcTime("", "12:35:19.250"), "");
    EXPECT_EQ(svx::IsoUtcTime("2026-12-09", ""), "");
}

std::vector<svx::GeoPoint> TwoPoints() {
    return {{54.32, 10.15, "2026-12-09T10:15:00.000Z", "Event 1", "wreck & <debris>"},
            {-33.5, -70.25, "", "Event 2", ""}};
}

TEST(GeoTextsTest, GpxTrackHasOnePointEachWithItsTime) {
    const std::string gpx = svx::GpxTrack(TwoPoints(), "line 7");
    EXPECT_EQ(gpx.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\"", 0), 0u);
    EXPECT_EQ(Count(gpx, "<trkpt "), 2);
    EXPECT_NE(gpx.find("<trkpt lat=\"54.32000000\" lon=\"10.15000000\">"
                       "<time>2026-12-09T10:15:00.000Z</time></trkpt>"),
              std::string::npos);
    EXPECT_NE(gpx.find("<trkpt lat=\"-33.50000000\" lon=\"-70.25000000\"></trkpt>"),
              std::string::npos);
    EXPECT_NE(gpx.find("<name>line 7</name>"), std::string::npos);
}

TEST(GeoTextsTest, GpxWaypointsCarryNamesAndDescriptions) {
    const std::string gpx = svx::GpxWaypoints(TwoPoints(), "survey");
    EXPECT_EQ(Count(gpx, "<wpt "), 2);
    EXPECT_NE(gpx.find("<name>Event 1</name><desc>wreck &amp; &lt;debris&gt;</desc>"),
              std::string::npos);
    EXPECT_EQ(Count(gpx, "<desc>"), 1);
}

TEST(GeoTextsTest, KmlHasLongitudeFirst) {
    const std::string line = svx::KmlLineString(TwoPoints(), "survey");
    EXPECT_NE(line.find("<coordinates>\n10.15000000,54.32000000\n-70.25000000,-33.50000000\n"
                        "</coordinates>"),
              std::string::npos);
    EXPECT_EQ(Count(line, "<Placemark>"), 1);
    // No points, no LineString (one needs coordinates).
    EXPECT_EQ(Count(svx::KmlLineString({}, "survey"), "<LineString>"), 0);
    const std::string marks = svx::KmlPlacemarks(TwoPoints(), "survey");
    EXPECT_EQ(Count(marks, "<Placemark>"), 2);
    EXPECT_NE(marks.find("<Point><coordinates>-70.25000000,-33.50000000</coordinates></Point>"),
              std::string::npos);
}

TEST(GeoTextsTest, AFileThatCannotBeWrittenSaysWhy) {
    std::string error;
    EXPECT_FALSE(svx::WriteTextFile("/nonexistent-dir/track.csv", "x", error));
    EXPECT_EQ(error, "cannot write /nonexistent-dir/track.csv: No such file or directory");
    EXPECT_FALSE(svx::WriteTextFile("/dev/full", "x", error));
    EXPECT_EQ(error, "cannot write /dev/full: the disk is full");
}

}  // namespace
