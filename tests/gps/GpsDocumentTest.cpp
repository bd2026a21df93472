// The document's GPS operations: settings brought into range, the playback sequence run per
// played record, erase and zoom of the track plotter.

#include <gtest/gtest.h>

#include "document/CVantrelDoc.h"
#include "gps/NmeaTestSupport.h"
#include "shell/ProfileFile.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"

namespace {

class GpsDocumentTest : public ::testing::Test {
protected:
    GpsDocumentTest() : doc(platform) {}
    FakePlatform platform;
    CVantrelDoc doc;
};

TEST_F(GpsDocumentTest, ReadIntervalAndZoomFromTheSettingsAreBroughtIntoRange) {
    struct Case {
        const char* text;
        int interval;
        double zoom;
    };
    const Case cases[] = {
        {"GPS Read Interval=0\nGPS Zoom Factor=0\n", 200, 0.05},
        {"GPS Read Interval=-5\nGPS Zoom Factor=-1000\n", 200, 0.05},
        {"GPS Read Interval=99999\nGPS Zoom Factor=99999\n", 2000, 2.5},
        {"GPS Read Interval=700\nGPS Zoom Factor=300\n", 700, 0.25},
        {"GPS Read Interval=1000\nGPS Zoom Factor=1000\n", 1000, 1.0},
    };
    for (const Case& c : cases) {
        doc.LoadSettings(ProfileFile::FromText(std::string("[GPS Info]\n") + c.text));
        EXPECT_EQ(doc.gpsConfig.gpsReadInterval, c.interval) << c.text;
        EXPECT_EQ(doc.gpsConfig.trackZoom, c.zoom) << c.text;
    }
}

TEST_F(GpsDocumentTest, PlaybackSequenceRunsOnlyWithAReader) {
    DocumentBuilder(doc).GpsReaderWrites([](GpsState& gps) {
        gps.recentSentences = {
            "$GPRMC,123519,A,4807.038,S,01131.000,W,022.4,084.4,230394,003.1,W*6A\r"};
    });
    doc.RunGpsPlaybackSequence();
    EXPECT_EQ(doc.gps.speedText, "n/a");
    DocumentBuilder(doc).GpsReaderExists(true);
    doc.RunGpsPlaybackSequence();
    EXPECT_EQ(doc.gps.speedText, "n/a") << "the checksum of the N/E sentence does not match";
    DocumentBuilder(doc).GpsReaderWrites([](GpsState& gps) {
        gps.recentSentences = {
            "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r"};
    });
    doc.RunGpsPlaybackSequence();
    EXPECT_EQ(doc.gps.speedText, "22.4 Knots");
    EXPECT_EQ(doc.gps.latitudeText, "48.07.038 N");
    EXPECT_EQ(doc.gps.track.firstPointPending, 0);
}

TEST_F(GpsDocumentTest, EraseKeepsTheOriginAndResumesAtTheTruePlace) {
    Read(doc.gps, Nmea("GPGGA,123519,4807.000,N,01131.000,E,1,08,0.9,,,,,,") + "$");
    Read(doc.gps, Nmea("GPGGA,123520,4807.010,N,01131.000,E,1,08,0.9,,,,,,") + "$");
    ASSERT_EQ(doc.gps.track.trackPath.size(), 1u);
    const double y = doc.gps.track.trackY;
    doc.EraseGpsTracks();
    EXPECT_TRUE(doc.gps.track.trackPath.empty());
    EXPECT_EQ(doc.gps.latitudeText, "n/a");
    EXPECT_EQ(doc.gps.track.lastDrawnY, 0.0);
    // The next position is placed where it lies relative to the origin, without a line.
    Read(doc.gps, Nmea("GPGGA,123521,4807.020,N,01131.000,E,1,08,0.9,,,,,,") + "$");
    EXPECT_NEAR(doc.gps.track.lastDrawnY, 2 * y, 0.01);
    EXPECT_TRUE(doc.gps.track.trackPath.empty());
    Read(doc.gps, Nmea("GPGGA,123522,4807.030,N,01131.000,E,1,08,0.9,,,,,,") + "$");
    ASSERT_EQ(doc.gps.track.trackPath.size(), 1u);
    EXPECT_NEAR(doc.gps.track.trackPath[0].y0, 2 * y, 0.01);
    EXPECT_NEAR(doc.gps.track.trackPath[0].y1, 3 * y, 0.01);
}

TEST_F(GpsDocumentTest, ZoomCommandsStepTheFactor) {
    DocumentBuilder(doc).TrackZoom(1.0);
    doc.ZoomTrackIn();
    EXPECT_EQ(doc.gpsConfig.trackZoom, 2.5);
    doc.ZoomTrackOut();
    doc.ZoomTrackOut();
    EXPECT_EQ(doc.gpsConfig.trackZoom, 0.5);
}

}  // namespace
