#include <gtest/gtest.h>

#include <string>

#include "imaging/ImagingFixture.h"

namespace {

class PingHistoryTest : public ImagingFixture {};

TEST_F(PingHistoryTest, RingWrapsAfterExactly4000Cycles) {
    for (int i = 0; i < 5; ++i) {
        DocumentBuilder(doc).PingNumber(i);
        doc.StoreCycle();
    }
    // Before wrapping the walk back stops after slot 0.
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(doc.history.IndexBack(k), 5 - k);
    EXPECT_EQ(doc.history.IndexBack(6), -1);

    for (int i = 5; i < 3999; ++i) {
        DocumentBuilder(doc).PingNumber(i);
        doc.StoreCycle();
    }
    EXPECT_EQ(doc.history.writeIndex, 3999);
    EXPECT_EQ(doc.history.wrapped, 0);
    EXPECT_EQ(doc.history.IndexBack(3999), 0);
    EXPECT_EQ(doc.history.IndexBack(4000), -1);

    DocumentBuilder(doc).PingNumber(3999);
    doc.StoreCycle();
    EXPECT_EQ(doc.history.writeIndex, 0);
    EXPECT_EQ(doc.history.wrapped, 1);
    // After wrapping the walk continues at slot 3999.
    EXPECT_EQ(doc.history.IndexBack(1), 3999);
    EXPECT_EQ(doc.history.IndexBack(2), 3998);
    EXPECT_EQ(doc.history.IndexBack(3999), 1);

    DocumentBuilder(doc).PingNumber(4000);
    doc.StoreCycle();
    EXPECT_EQ(doc.history.Record(0).pingNumber, 4000);  // slot 0 overwritten
    EXPECT_EQ(doc.history.Record(1).pingNumber, 1);
    EXPECT_EQ(doc.history.IndexBack(1), 0);
    EXPECT_EQ(doc.history.IndexBack(2), 3999);
}

TEST_F(PingHistoryTest, RecordHoldsTheCycle) {
    FillLines();
    DocumentBuilder(doc).Range(70).EsRange(30).PingNumber(12);
    DocumentBuilder(doc).Orientation(8.5, 271.0).PingInterval(0).GpsReaderExists(true);
    DocumentBuilder(doc).GpsReaderWrites([](GpsState& gps) {
        gps.shipSpeedKnots = 4.2;
        gps.latitudeText = "48.07.038 N";
        gps.longitudeText = "011.31.000 E";
        gps.speedText = "4.2 Knots";
        gps.courseText = "84.4 Deg.";
        gps.dateText = "23-MAR-1994";
        gps.timeText = "12:35:19";
    });
    platform.now = {2009, 7, 6, 4, 9, 5, 3, 7};
    doc.StampCycleTime();
    doc.StoreCycle();

    const HistoryRecord& record = doc.history.Record(0);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(record.lines[c], doc.heads[c].line) << c;
    EXPECT_TRUE(std::equal(record.esSamples.begin(), record.esSamples.end(),
                           doc.heads[kHeadES].line.begin()));
    EXPECT_EQ(record.range, 70);
    EXPECT_EQ(record.esRange, 30);
    EXPECT_EQ(record.pingNumber, 12);
    EXPECT_DOUBLE_EQ(record.speedKnots, 4.2);
    EXPECT_DOUBLE_EQ(record.altitudeM, 8.5);
    EXPECT_DOUBLE_EQ(record.headingDeg, 271.0);
    EXPECT_EQ(std::string(record.time.begin(), record.time.end()), "09:05:03.007");
    const char* texts[] = {"48.07.038 N", "011.31.000 E", "4.2 Knots",
                           "84.4 Deg.",   "23-MAR-1994",  "12:35:19"};
    for (int t = 0; t < kNavTextCount; ++t) {
        EXPECT_EQ(record.texts[t].View(), texts[t]) << t;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            EXPECT_EQ(doc.images.RowStamp(slot, 0).texts[t].View(), texts[t]);
        }
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(doc.images.RowStamp(slot, 0).Time(), "09:05:03.007");
    }

    // Without a GPS reader the row-0 texts stay, and the record takes them from there.
    DocumentBuilder(doc).GpsReaderExists(false);
    DocumentBuilder(doc).GpsReaderWrites([](GpsState& gps) { gps.latitudeText = "changed"; });
    doc.StoreCycle();
    EXPECT_EQ(doc.history.Record(1).texts[kNavLatitude].View(), "48.07.038 N");
}

TEST_F(PingHistoryTest, LongNavigationTextsAreCutNotOverrun) {
    DocumentBuilder(doc).GpsReaderExists(true);
    DocumentBuilder(doc).GpsReaderWrites(
        [](GpsState& gps) { gps.latitudeText = std::string(300, 'x'); });
    doc.StoreCycle();
    EXPECT_EQ(doc.history.Record(0).texts[kNavLatitude].View(),
              std::string(NavText::kCapacity, 'x'));
}

TEST_F(PingHistoryTest, ResetEmptiesSamplesAndNumbersButKeepsStamps) {
    FillLines(9);
    DocumentBuilder(doc).Range(70).EsRange(30).PingNumber(5);
    DocumentBuilder(doc).GpsReaderWrites([](GpsState& gps) { gps.shipSpeedKnots = 2.0; });
    DocumentBuilder(doc).Orientation(4.0, doc.orientation.headingDeg);
    DocumentBuilder(doc).SeparatorPending();
    platform.now = {2009, 7, 6, 4, 9, 5, 3, 7};
    doc.StampCycleTime();
    platform.tick = 5000;
    for (int i = 0; i < 12; ++i) doc.StoreCycle();

    doc.ResetHistory();
    EXPECT_EQ(doc.history.writeIndex, 0);
    EXPECT_EQ(doc.history.wrapped, 0);
    EXPECT_EQ(doc.history.IndexBack(1), -1);
    const HistoryRecord& record = doc.history.Record(0);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(std::count(record.lines[c].begin(), record.lines[c].end(), 0), 2000);
    EXPECT_EQ(record.range, 0);
    EXPECT_EQ(record.pingIntervalMs, 0);
    EXPECT_EQ(record.pingNumber, 0);
    EXPECT_EQ(record.speedKnots, 0.0);
    EXPECT_EQ(record.wrapSeparator, 0);
    // Left as they were.
    EXPECT_EQ(record.esRange, 30);
    EXPECT_DOUBLE_EQ(record.altitudeM, 4.0);
    EXPECT_EQ(std::string(record.time.begin(), record.time.end()), "09:05:03.007");
}

TEST_F(PingHistoryTest, WrapSeparatorMarksOnlyTheNextRecord) {
    doc.StoreCycle();
    DocumentBuilder(doc).SeparatorPending();
    doc.StoreCycle();
    doc.StoreCycle();
    EXPECT_EQ(doc.history.Record(0).wrapSeparator, 0);
    EXPECT_EQ(doc.history.Record(1).wrapSeparator, 1);
    EXPECT_EQ(doc.history.Record(2).wrapSeparator, 0);
    EXPECT_EQ(doc.history.separatorPending, 0);
    // Refilling the marked slot without a mark clears it.
    DocumentBuilder(doc).HistoryWriteIndex(1);
    doc.StoreCycle();
    EXPECT_EQ(doc.history.Record(1).wrapSeparator, 0);
}

TEST_F(PingHistoryTest, PingIntervalIsTheMeanOfBlocksOfTen) {
    // The first cycle starts the measurement: the time since the computer started (here
    // 1 000 000 ms) is not a ping interval.
    platform.tick = 1000000;
    doc.StoreCycle();
    EXPECT_EQ(doc.history.pingIntervalMs, 0);
    platform.tick += 1000;
    for (int cycle = 1; cycle <= 9; ++cycle) {
        doc.StoreCycle();
        EXPECT_EQ(doc.history.pingIntervalMs, 0) << cycle;
        platform.tick += 200;
    }
    doc.StoreCycle();  // ten differences: (1000 + 9 * 200) / 10
    EXPECT_EQ(doc.history.pingIntervalMs, 280);
    EXPECT_EQ(doc.history.Record(10).pingIntervalMs, 0);  // stored before the measurement

    const int steps[10] = {250, 260, 240, 255, 245, 251, 249, 250, 250, 253};
    for (int cycle = 0; cycle < 10; ++cycle) {
        platform.tick += static_cast<std::uint32_t>(steps[cycle]);
        doc.StoreCycle();
        if (cycle < 9) {
            EXPECT_EQ(doc.history.pingIntervalMs, 280);
        }
    }
    EXPECT_EQ(doc.history.pingIntervalMs, 250);  // 2503 / 10
    EXPECT_EQ(doc.history.Record(20).pingIntervalMs, 280);
}

TEST_F(PingHistoryTest, PingIntervalAcrossTheTickCountWrap) {
    PingIntervalMeter meter;
    meter.started = true;
    meter.previousTick = static_cast<std::int32_t>(0xFFFFFF00u);
    for (int i = 0; i < 9; ++i) meter.Add(0xFFFFFF00u);
    EXPECT_EQ(meter.Add(0x00000064u), 35);  // one difference of 0x164 = 356 ms
}

TEST_F(PingHistoryTest, PlaybackKeepsTheIntervalReadFromTheFile) {
    DocumentBuilder(doc).PlaybackFlag(true);
    for (int cycle = 0; cycle < 20; ++cycle) {
        DocumentBuilder(doc).PingInterval(420);
        platform.tick += 100;
        doc.StoreCycle();
        EXPECT_EQ(doc.history.pingIntervalMs, 420);
    }
    EXPECT_EQ(doc.history.Record(19).pingIntervalMs, 420);
}

TEST_F(PingHistoryTest, HeldDisplayStillStoresRecords) {
    doc.images.AllocateChannelImage(kHeadL, 100, 40);
    doc.images.AllocateChannelImage(kHeadH, 100, 40);
    DocumentBuilder(doc).HeldFlag(true);
    FillLines(100);
    for (int i = 0; i < 3; ++i) StoreAt(10.0);
    EXPECT_EQ(doc.history.writeIndex, 3);
    EXPECT_EQ(doc.history.Record(2).lines[0][5], 100);
    for (int r = 0; r < 40; ++r) {
        ASSERT_TRUE(AllEqual(RowOf(doc.images.ChannelImage(kHeadL), r), 0)) << r;
    }
    doc.ToggleHold();  // real time: leaving hold re-draws the displayed channels
    EXPECT_EQ(doc.images.held, 0);
    EXPECT_EQ(doc.images.ChannelImage(kHeadL).Row(0)[50], 100);
    EXPECT_EQ(doc.images.ChannelImage(kHeadH).Row(0)[50], 100);
}

}  // namespace
