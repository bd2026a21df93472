// The contacts of a report placed on the seabed from a recording's navigation, and their texts:
// positions worked out from the vessel's known straight line, the application's coordinate
// texts, CSV, GeoJSON and the scale bars of the chips.

#include <gtest/gtest.h>

#include <cmath>

#include "StraightLines.h"
#include "export/ContactReport.h"
#include "export/ContactTexts.h"

namespace {

EventRecord Event(int number, int ping, double fraction, const char* annotation) {
    EventRecord e;
    e.number = number;
    e.pingNumber = ping;
    e.acrossFraction = fraction;
    e.date = "09-DEC-2026\n";
    e.time = "10:07:00\n";
    e.latitude = e.longitude = "n/a\n";
    e.annotation = StoredAnnotation(annotation);
    return e;
}

constexpr double kMetresPerDegreeNear54 = 111360.0;  // a degree of latitude at 54 degrees north

TEST(ContactReport, ContactsLieAcrossTheTrackAtTheirGroundDistance) {
    TempDir dir;
    const StraightLine line{.latitude = 54.0, .longitude = 10.0, .east = true, .records = 200};
    const std::string file = WriteStraightLine(dir, "east.svx", line);
    // Pings between two fixes (ping 42 is half a second after the fix of ping 41), both sides,
    // and on the nadir. No echo sounder: the ground distance is the slant distance.
    const struct {
        int ping;
        double fraction, acrossM;
        bool starboard;
    } cases[] = {{42, 0.8, 30.0, true},
                 {101, 0.1, 40.0, false},
                 {150, 0.5, 0.0, true},
                 {77, 0.25, 25.0, false}};
    EventList events;
    for (const auto& c : cases) events.Append(Event(events.count + 1, c.ping, c.fraction, "x"));
    std::vector<svx::Contact> contacts;
    std::vector<svx::TrackPoint> track;
    svx::ExportReport report;
    ASSERT_TRUE(svx::CollectContacts(file, 0, events, 5, contacts, track, report)) << report.error;
    ASSERT_EQ(contacts.size(), std::size(cases));
    EXPECT_FALSE(track.empty());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const svx::Contact& got = contacts[i];
        EXPECT_EQ(got.number, 5 + static_cast<int>(i));
        EXPECT_EQ(got.file, "east.svx");
        double shipLat = 0, shipLon = 0;
        LinePosition(line, 0.5 * (c.ping - 1), shipLat, shipLon);
        // Heading east: starboard is south, port north.
        const double north = (c.starboard ? -1 : 1) * c.acrossM;
        ASSERT_TRUE(got.latitude && got.longitude) << c.ping;
        EXPECT_NEAR((*got.latitude - shipLat) * kMetresPerDegreeNear54, north, 0.3) << c.ping;
        const double east =
            (*got.longitude - shipLon) * kMetresPerDegreeLat * std::cos(54.0 * M_PI / 180);
        EXPECT_NEAR(east, 0.0, 0.3) << c.ping;
        EXPECT_NEAR(got.acrossM.value_or(-1), c.acrossM, 1e-9) << c.ping;
        EXPECT_EQ(got.starboard, c.starboard) << c.ping;
        ASSERT_TRUE(got.utm);
        EXPECT_EQ(got.utm->zone, 32);
        const double t = 0.5 * (c.ping - 1);
        char time[32];
        std::snprintf(time, sizeof time, "2026-12-09 10:%02d:%02d.%03d", static_cast<int>(t) / 60,
                      static_cast<int>(t) % 60,
                      static_cast<int>(std::lround(std::fmod(t, 1.0) * 1000)));
        EXPECT_EQ(got.time, time);
    }
}

TEST(ContactReport, AnEventWhoseFileHasNoPositionOrNoSuchPingHasNone) {
    TempDir dir;
    const StraightLine blind{.latitude = 54.0, .longitude = 10.0, .records = 40, .gps = false};
    const std::string file = WriteStraightLine(dir, "blind.svx", blind);
    EventList events;
    events.Append(Event(1, 20, 0.75, "in the file"));
    events.Append(Event(2, 900, 0.75, "past its end"));
    std::vector<svx::Contact> contacts;
    std::vector<svx::TrackPoint> track;
    svx::ExportReport report;
    ASSERT_TRUE(svx::CollectContacts(file, 0, events, 1, contacts, track, report));
    ASSERT_EQ(contacts.size(), 2u);
    EXPECT_TRUE(track.empty());
    EXPECT_FALSE(contacts[0].latitude);
    EXPECT_NEAR(contacts[0].acrossM.value_or(-1), 25.0, 1e-9);  // known without a position
    EXPECT_EQ(contacts[0].time, "2026-12-09 10:00:09.500");
    EXPECT_FALSE(contacts[1].pingFound);
    EXPECT_FALSE(contacts[1].acrossM);
    EXPECT_EQ(contacts[1].time, "2026-12-09 10:07:00");  // the event's own texts
    EXPECT_EQ(svx::ShownPosition(contacts[1]), "no position");
}

TEST(ContactReport, CoordinatesAreShownAsTheApplicationShowsThem) {
    const struct {
        double degrees;
        bool latitude;
        const char* text;
    } cases[] = {
        {54.5, true, "54.30.0000 N"},
        {-33.25, true, "33.15.0000 S"},
        {10.0125, false, "010.00.7500 E"},
        {-70.999999999, false, "071.00.0000 W"},
        {5.0 + 59.99994 / 60, true, "05.59.9999 N"},
        {5.0 + 59.99996 / 60, true, "06.00.0000 N"},  // rounded minutes carry into the degree
    };
    for (const auto& c : cases) EXPECT_EQ(svx::ShownCoordinate(c.degrees, c.latitude), c.text);
}

TEST(ContactReport, ScaleBarsAreRoundLengthsOfAtMostAThird) {
    const struct {
        double width, bar;
    } cases[] = {{25.6, 5.0}, {30.0, 10.0}, {29.9, 5.0}, {3.0, 1.0},
                 {0.5, 0.1},  {700, 200},   {0, 0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(svx::ScaleBarMetres(c.width), c.bar) << c.width;
}

TEST(ContactTexts, CsvAndGeoJsonCarryEveryContactAndTheirTextsEscaped) {
    svx::Contact placed;
    placed.number = 1;
    placed.file = "a.svx";
    placed.latitude = 54.25;
    placed.longitude = -10.5;
    placed.annotation = "wreck, \"big\" \\ \x01 \xC3\xBC";
    svx::Contact blind = placed;
    blind.number = 2;
    blind.latitude.reset();
    blind.longitude.reset();
    blind.annotation = "\xFC";  // Latin-1: shown as UTF-8
    const std::string json = svx::ContactsGeoJson({placed, blind});
    EXPECT_NE(json.find("\"coordinates\": [-10.5000000, 54.2500000]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"geometry\": null"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("wreck, \"big\" \\ \u0001 )"
                        "\xC3\xBC\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"annotation\": \"\xC3\xBC\""), std::string::npos) << json;
    const std::string csv = svx::ContactsCsv({placed, blind});
    EXPECT_NE(csv.find(",\"wreck, \"\"big\"\" \\"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",no position,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("54.15.0000 N 010.30.0000 W"), std::string::npos) << csv;
}

}  // namespace
