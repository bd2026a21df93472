// The survey on the document: live fixes drive the read-out and the coverage, the coverage is
// erased with the track, the active line advances past its end, and the plan file is read,
// refused with its fault, remembered in the settings and read again at start.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "SurveyFixes.h"
#include "datafiles/DataFileScan.h"
#include "datafiles/DataFilesFixture.h"
#include "gps/FakeGpsLink.h"
#include "platform/TimerIds.h"
#include "shell/ProfileFile.h"
#include "support/DocumentBuilder.h"
#include "survey/PlanFiles.h"

namespace {

constexpr double kLat = 48.0, kLon = 11.5;
const std::string kNotLoaded = "The survey plan was not loaded.\n";

// A fix `north` metres north of the start, `east` metres east, heading north at 4 knots.
std::string Fix(double north, double east, int second) {
    return surveytest::RmcAt(surveytest::Offset(kLat, kLon, north, east), 0.0, second);
}

survey::SurveyLine NorthLine(const char* name, double east, double fromNorth, double toNorth) {
    return {name, {surveytest::Offset(kLat, kLon, fromNorth, east),
                    surveytest::Offset(kLat, kLon, toNorth, east)}};
}

class SurveyDocumentTest : public DataFilesFixture {
protected:
    SurveyDocumentTest() : link(doc.gps) {
        MakeFourHeadState(false);
        DocumentBuilder(doc).Range(50).Altitude(0, 0).WriteDirectory(dir.path);
        doc.SetGpsReader(&link);
        link.present = {"/dev/ttyS0"};
        doc.ReopenGpsPort(1);
    }
    ~SurveyDocumentTest() override { doc.SetGpsReader(nullptr); }

    // One second: a read of the fix, then an accepted cycle.
    void Sail(double north, double east = 0) {
        platform.tick += 1000;
        link.queued = Fix(north, east, second++) + "$";
        platform.FireTimer(kTimerGpsRead);
        doc.GpsReadDone();
        Ping();
    }
    void Ping() {
        doc.StampCycleTime();
        DocumentBuilder(doc).NoData(false);
        doc.StoreCycle();
    }

    FakeLink link;
    int second = 0;
};

TEST_F(SurveyDocumentTest, FixesSteerTheActiveLineAndWidenTheCoverage) {
    // The line 10 m west of the track, sailed northward: the vessel is 10 m to its right.
    // No altitude: the full range each side.
    doc.ReplaceSurveyLines({NorthLine("A", -10, 0, 400)});
    for (int s = 0; s <= 100; ++s) Sail(2.0 * s);
    const survey::SteeringReadout& r = doc.survey.steering;
    ASSERT_TRUE(r.active);
    EXPECT_EQ(r.line, "A");
    EXPECT_NEAR(r.crossTrackM, 10.0, 0.3);
    EXPECT_EQ(r.crossTrack, "10.0 m R");
    EXPECT_EQ(r.toEnd, "200 m");
    doc.SetOffLineAlarm(12);
    EXPECT_FALSE(doc.survey.steering.offLine);
    doc.SetOffLineAlarm(5);
    EXPECT_TRUE(doc.survey.steering.offLine);

    // 200 m sailed with 50 m a side; the first ping adds its own line too.
    EXPECT_NEAR(doc.survey.coverage.AreaM2() / (200.0 * 2 * 50.0), 1.0, 0.03);
    doc.EraseGpsTracks();
    EXPECT_TRUE(doc.survey.coverage.Empty());
}

TEST_F(SurveyDocumentTest, NoCoverageOrReadOutWithoutACurrentFix) {
    doc.ReplaceSurveyLines({NorthLine("A", 0, 0, 400)});
    Sail(0);
    Sail(2);
    EXPECT_TRUE(doc.survey.steering.active);
    const double area = doc.survey.coverage.AreaM2();
    // Pings go on, the GPS says nothing for longer than the threshold.
    for (int k = 0; k < 5; ++k) {
        platform.tick += 1000;
        Ping();
    }
    EXPECT_FALSE(doc.survey.steering.active);
    EXPECT_FALSE(doc.survey.vessel);
    EXPECT_EQ(doc.survey.coverage.AreaM2(), area);
}

TEST_F(SurveyDocumentTest, TheNextLineTakesOverPastTheEnd) {
    // Two lines 100 m long, the second 60 m east, run southward: its start is where the first
    // ends, across the turn.
    doc.ReplaceSurveyLines({NorthLine("1", 0, 0, 100), NorthLine("2", 60, 100, 0)});
    for (int s = 0; s <= 49; ++s) Sail(2.0 * s);
    EXPECT_EQ(doc.survey.plan.active, 0);
    Sail(104);
    EXPECT_EQ(doc.survey.plan.active, 1);
    EXPECT_EQ(doc.survey.steering.line, "2");
    doc.PreviousSurveyLine();
    EXPECT_EQ(doc.survey.plan.active, 0);
    doc.NextSurveyLine();
    doc.NextSurveyLine();  // already the last
    EXPECT_EQ(doc.survey.plan.active, 1);
}

TEST_F(SurveyDocumentTest, RecordOnLineWritesEachLineFromItsStartToItsEnd) {
    // Two 99 m lines, the second 60 m east and run southward; the vessel comes from 20 m
    // south of the first, a fix every 2 m.
    doc.ReplaceSurveyLines({NorthLine("Line 1", 0, 0, 99), NorthLine("Line/2", 60, 99, 0)});
    doc.ToggleRecordOnLine();
    for (int s = -10; s < 0; ++s) Sail(2.0 * s);
    EXPECT_FALSE(doc.recording.recordingOn) << "before the start";
    std::vector<bool> on;
    for (int s = 0; s <= 54; ++s) {
        Sail(2.0 * s);
        on.push_back(doc.recording.recordingOn != 0);
    }
    // From the fix at the start up to the last before the end (98 m), then stopped.
    EXPECT_TRUE(on[0]);
    EXPECT_TRUE(on[49]);
    EXPECT_FALSE(on[50]) << "at the end";
    EXPECT_FALSE(on[54]);
    const std::string first = dir.File("Line 1.svx");
    ASSERT_TRUE(std::filesystem::exists(first));
    // Over the turn to the second line, which is recorded into a file of its own.
    for (int k = 1; k <= 10; ++k) Sail(100 + 6 * k, 6.0 * k);
    EXPECT_EQ(doc.survey.plan.active, 1);
    for (int s = 0; s < 20; ++s) Sail(98 - 2.0 * s, 60);
    EXPECT_TRUE(doc.recording.recordingOn);
    EXPECT_TRUE(std::filesystem::exists(dir.File("Line_2.svx")));
    // Turned off, the recording runs on until the operator stops it.
    doc.ToggleRecordOnLine();
    for (int s = 20; s < 55; ++s) Sail(98 - 2.0 * s, 60);
    EXPECT_TRUE(doc.recording.recordingOn);
    doc.StopRecording();
    // The first line's file holds the pings from its start to its end: the recording starts
    // after the ping of the fix at the start and ends after the first ping past the end: the
    // pings at 2 m to 100 m.
    DataFileSummary summary;
    std::string error;
    ASSERT_TRUE(ScanDataFile(first, summary, error)) << error;
    EXPECT_EQ(summary.records.size(), 50u);
}

TEST_F(SurveyDocumentTest, PlanFilesAreReadOrRefusedAndRememberedInTheSettings) {
    const std::string good = dir.File("plan.gpx");
    ASSERT_EQ(survey::WritePlanFile(good, {NorthLine("L1", 0, 0, 100), NorthLine("L2", 50, 100, 0)}), "");
    const std::string bad = dir.File("bad.csv");
    TempDir::WriteText(bad, "name,lat1,lon1,lat2,lon2\nL1,48.0,11.5,48.1,11.5\nL2,48.1,11.5\n");

    ASSERT_TRUE(doc.LoadSurveyPlan(good));
    ASSERT_EQ(doc.survey.plan.lines.size(), 2u);
    platform.messages.clear();
    platform.expectedMessages = {kNotLoaded + survey::ReadPlan(bad).error};
    EXPECT_FALSE(doc.LoadSurveyPlan(bad));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find(bad + ":3:"), std::string::npos) << platform.messages[0];
    EXPECT_EQ(doc.survey.plan.lines.size(), 2u) << "the plan held stays";
    EXPECT_EQ(doc.survey.plan.file, good);

    ProfileFile settings(dir.File("Sonvara_RGB.ini"));
    doc.SetOffLineAlarm(25);
    doc.SaveSettings(settings);
    FakePlatform otherPlatform;
    CVantrelDoc next(otherPlatform);
    next.LoadSettings(settings);
    next.ReloadSurveyPlan();
    EXPECT_EQ(next.survey.plan.file, good);
    EXPECT_EQ(next.survey.plan.lines.size(), 2u);
    EXPECT_EQ(next.survey.settings.alarmM, 25);

    // A remembered plan that has gone is said once, and forgotten.
    std::filesystem::remove(good);
    FakePlatform thirdPlatform;
    thirdPlatform.expectedMessages = {kNotLoaded + survey::ReadPlan(good).error};
    CVantrelDoc third(thirdPlatform);
    third.LoadSettings(settings);
    third.ReloadSurveyPlan();
    EXPECT_TRUE(third.survey.plan.lines.empty());
    EXPECT_EQ(thirdPlatform.messages.size(), 1u);
    EXPECT_EQ(third.survey.settings.planFile, "");
}

}  // namespace
