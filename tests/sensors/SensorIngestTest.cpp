// The orientation and the echo sounder in the road of a cycle: conversion of accepted cycles
// only, the altitude of the previous cycle in each record, bottom detection without the
// window, the shown altitude without a sensor, the rebuild on resize, and playback.

#include <gtest/gtest.h>

#include <cmath>

#include "datafiles/DataFilesFixture.h"

namespace {

class SensorIngestTest : public DataFilesFixture {
protected:
    SensorIngestTest() {
        MakeFourHeadState(true);
        doc.orientationPresent = 1;
        doc.esRange = 50;
    }
    // An echo-sounder ping with its bottom at sample `bottom` (of 1000), weak water above.
    void EchoPing(int bottom) {
        auto& line = doc.heads[kHeadES].line;
        std::fill(line.begin(), line.begin() + 1000, std::uint8_t{8});
        for (int i = bottom; i < std::min(1000, bottom + 40); ++i) line[i] = 200;
        for (int i = bottom + 40; i < 1000; ++i) line[i] = 40;
    }
    // The orientation words: pitch in degrees (non-negative), heading word 0.
    void OrientationBlock(double pitch) {
        auto& line = doc.heads[kHeadES].line;
        std::fill(line.begin() + 1000, line.end(), std::uint8_t{0});
        const auto word = static_cast<std::uint16_t>(std::lround(pitch * 65536 / 360));
        line[1000] = static_cast<std::uint8_t>(word & 0xFF);
        line[1001] = static_cast<std::uint8_t>(word >> 8);
    }
    // One real-time cycle: validation (which converts the orientation), then the store.
    bool Cycle() {
        if (!doc.ValidateCycle()) return false;
        doc.StoreCycle();
        return true;
    }
    const HistoryRecord& Newest() const { return doc.history.Record(doc.history.IndexBack(1)); }
};

TEST_F(SensorIngestTest, OnlyAcceptedCyclesAreConverted) {
    OrientationBlock(12.0);
    EchoPing(300);
    ASSERT_TRUE(Cycle());
    EXPECT_EQ(doc.orientation.orientationSampleCount, 1);
    EXPECT_NEAR(doc.orientation.readings.pitchDeg, 12.0, 0.01);

    OrientationBlock(20.0);
    doc.heads[1].replyHeader[3] = 0x08;  // a faulty status rejects the cycle
    EXPECT_FALSE(Cycle());
    EXPECT_EQ(doc.orientation.orientationSampleCount, 1);
    EXPECT_NEAR(doc.orientation.readings.pitchDeg, 12.0, 0.01);

    doc.heads[1].replyHeader[3] = 0;
    doc.orientationPresent = 0;  // no sensor: nothing is decoded
    EXPECT_TRUE(Cycle());
    EXPECT_EQ(doc.orientation.orientationSampleCount, 1);
}

TEST_F(SensorIngestTest, EachRecordCarriesTheAltitudeOfThePreviousCycle) {
    // With the window closed the bottom is found in the samples as they are: 300 of 1000
    // at 50 m is 15 m.
    ASSERT_FALSE(doc.echoSounder.IsOpen());
    OrientationBlock(0);
    EchoPing(300);
    ASSERT_TRUE(Cycle());
    EXPECT_DOUBLE_EQ(Newest().altitudeM, 0.0);
    EXPECT_DOUBLE_EQ(doc.orientation.readings.altitudeM, 15.0);
    EchoPing(400);
    ASSERT_TRUE(Cycle());
    EXPECT_DOUBLE_EQ(Newest().altitudeM, 15.0);
    EXPECT_DOUBLE_EQ(doc.orientation.readings.altitudeM, 20.0);
    ASSERT_TRUE(Cycle());
    EXPECT_DOUBLE_EQ(Newest().altitudeM, 20.0);
}

TEST_F(SensorIngestTest, WithTheWindowTheBottomIsFoundInItsColumn) {
    doc.ResizeEchoSounder(300, 460);  // n = 400
    OrientationBlock(0);
    EchoPing(250);  // output sample 100
    ASSERT_TRUE(Cycle());
    EXPECT_DOUBLE_EQ(doc.orientation.readings.altitudeM, 12.5);
    EXPECT_EQ(doc.echoSounder.At(300 - 31, 30 + 100), 200);
    EXPECT_EQ(doc.echoSounder.At(300 - 31, 30 + 50), 8);
    doc.CloseEchoSounder();
    ASSERT_TRUE(Cycle());  // closed: the image stays as it was
    EXPECT_EQ(doc.echoSounder.At(300 - 31, 30 + 100), 200);
    EXPECT_EQ(doc.echoSounder.At(300 - 32, 30 + 100), 0);
}

TEST_F(SensorIngestTest, ShownAltitudeWithAndWithoutSensor) {
    OrientationBlock(0);
    EchoPing(300);
    for (int i = 1; i <= 10; ++i) ASSERT_TRUE(Cycle());
    // Converted at the tenth cycle with the altitude found in the ninth.
    EXPECT_DOUBLE_EQ(doc.orientation.altitudeShown, 15.0);

    FakePlatform otherPlatform;
    CVantrelDoc plain(otherPlatform);
    plain.orientationPresent = 0;
    plain.heads[kHeadES].line = doc.heads[kHeadES].line;
    for (int i = 1; i <= 10; ++i) {
        ASSERT_TRUE(plain.ValidateCycle());
        plain.StoreCycle();
        EXPECT_DOUBLE_EQ(plain.orientation.altitudeShown, i < 10 ? 0.0 : 15.0) << i;
    }
    EXPECT_DOUBLE_EQ(plain.history.Record(9).altitudeM, 15.0);
    EXPECT_EQ(plain.orientation.orientationSampleCount, 0);
}

TEST_F(SensorIngestTest, ResizeRebuildsFromTheHistory) {
    for (int p = 0; p < 6; ++p) {
        auto& line = doc.heads[kHeadES].line;
        std::fill(line.begin(), line.begin() + 1000, static_cast<std::uint8_t>(30 + p));
        ASSERT_TRUE(Cycle());
    }
    doc.ResizeEchoSounder(200, 160);
    const int newest = 200 - 31;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(doc.echoSounder.At(newest - i, 60), 35 - i);
    EXPECT_EQ(doc.echoSounder.At(newest - 6, 60), 0);
    doc.ResizeEchoSounder(10, 10);  // too small: nothing drawn, nothing breaks
    ASSERT_TRUE(Cycle());
}

TEST_F(SensorIngestTest, HistoryChartTakesSamplesWhileOpen) {
    OrientationBlock(2.5);
    doc.ResizeHistoryChart(400, 520);
    ASSERT_TRUE(Cycle());
    const int x = doc.historyChart.PlotColumn();
    EXPECT_EQ(doc.historyChart.At(x, 260 - 25), 251);
    doc.CloseHistoryChart();
    ASSERT_TRUE(Cycle());
    EXPECT_EQ(doc.historyChart.At(x, 260 - 25), 251);  // not scrolled
}

TEST_F(SensorIngestTest, PlaybackConvertsTheRecordedBlockAgain) {
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("o.svx")));
    std::vector<double> live;
    for (int i = 0; i < 40; ++i) {
        OrientationBlock(i == 30 ? 60.0 : 2.0 + 0.1 * (i % 3));
        EchoPing(200 + i);
        doc.noDataFlag = 0;
        ASSERT_TRUE(Cycle());
        live.push_back(doc.orientation.readings.pitchDeg);
    }
    doc.StopRecording();

    FakePlatform otherPlatform;
    CVantrelDoc played(otherPlatform);
    ASSERT_TRUE(played.OpenPlaybackFile(dir.File("o.svx")));
    for (int i = 0; i < 40; ++i) {
        ASSERT_EQ(played.PlayNextRecord(), RecordRead::Record);
        EXPECT_DOUBLE_EQ(played.orientation.readings.pitchDeg, live[i]) << i;
        EXPECT_DOUBLE_EQ(played.history.Record(i).altitudeM, doc.history.Record(i).altitudeM);
    }
    EXPECT_EQ(played.orientation.orientationSampleCount, 40);
}

}  // namespace
