#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "document/CVantrelDoc.h"
#include "imaging/RowAdvance.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"

namespace {

TEST(RowAdvanceTest, ThreeRowsThenFourWithTheFractionCarried) {
    // Width 1000, 50 m, both sides, 250 ms, 3 knots: 3.858333 rows per ping.
    RowAdvance first = ComputeAdvance(0.0, 1000, 50, 3, 250, 3.0);
    EXPECT_EQ(first.rows, 3);
    EXPECT_NEAR(first.remainder, 0.858333, 1e-6);
    RowAdvance second = ComputeAdvance(first.remainder, 1000, 50, 3, 250, 3.0);
    EXPECT_EQ(second.rows, 4);
    EXPECT_NEAR(second.remainder, 0.716667, 1e-6);
}

TEST(RowAdvanceTest, ScaleAndDamagedValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        int width, range, sideMode, interval;
        double knots;
        int rows;
        double remainder;
    };
    const Case cases[] = {
        {1000, 50, 1, 250, 3.0, 7, 0.716667},  // one side: twice the pixels per metre
        {1000, 50, 2, 250, 3.0, 7, 0.716667},
        {1000, 50, 3, 0, 3.0, 3, 0.858333},  // a missing interval counts as 250 ms
        {1000, 50, 3, 500, 3.0, 7, 0.716667},
        {1000, 50, 0, 250, 3.0, 0, 0.0},  // no side mode: no advance
        {1000, 0, 3, 250, 3.0, 0, 0.0},   // damaged range
        {1000, -5, 3, 250, 3.0, 0, 0.0},
        {1000, 50, 3, -250, 3.0, 0, 0.0},  // damaged interval
        {1000, 50, 3, 250, -3.0, 0, 0.0},  // damaged speed
        {1000, 50, 3, 250, nan, 0, 0.0},
        {4000, 1, 1, 2000000000, 10.0, 4000, 0.0},  // far beyond any image
        {0, 50, 3, 250, 3.0, 0, 0.0},               // no image
    };
    for (const Case& c : cases) {
        const RowAdvance a = ComputeAdvance(0.0, c.width, c.range, c.sideMode, c.interval, c.knots);
        EXPECT_EQ(a.rows, c.rows) << c.width << " " << c.range << " " << c.interval;
        EXPECT_NEAR(a.remainder, c.remainder, 1e-6) << c.width << " " << c.range;
    }
}

class DocumentAdvanceTest : public ::testing::Test {
protected:
    DocumentAdvanceTest() : doc(platform) {
        doc.images.AllocateChannelImage(0, 1000, 100);
        doc.images.AllocateComposite(500, 100);
    }
    // Stores one record with this GPS speed and speed text and returns its slot.
    int StoreRecord(double knots, const char* speedText) {
        const int index = doc.history.writeIndex;
        HistoryRecord& record = doc.history.Record(index);
        record.range = 50;
        record.esRange = 10;
        record.pingIntervalMs = 0;
        record.speedKnots = knots;
        record.texts[kNavSpeed].Assign(speedText);
        doc.history.Advance();
        return index;
    }
    FakePlatform platform;
    CVantrelDoc doc;
};

TEST_F(DocumentAdvanceTest, SpeedCorrectionOffUsesThreeKnotsAndCarriesPerSlot) {
    DocumentBuilder(doc).SpeedCorrection(false);
    const int index = StoreRecord(8.0, "8.0 Knots");
    EXPECT_EQ(doc.ComputeRowAdvance(index, 3, 0, 0), 3);
    EXPECT_EQ(doc.images.rowAdvance, 3);
    EXPECT_NEAR(doc.images.slotStates[0].remainder, 0.858333, 1e-6);
    EXPECT_EQ(doc.ComputeRowAdvance(index, 3, 0, 0), 4);
    EXPECT_NEAR(doc.images.slotStates[0].remainder, 0.716667, 1e-6);
    // The composite slot has its own width and remainder.
    EXPECT_EQ(doc.ComputeRowAdvance(index, 3, 1, 0), 1);
    EXPECT_NEAR(doc.images.slotStates[kCompositeSlot].remainder, 0.929167, 1e-6);
    EXPECT_NEAR(doc.images.slotStates[0].remainder, 0.716667, 1e-6);
}

TEST_F(DocumentAdvanceTest, EchoSounderRangeForSlotThreeOutsideComposite) {
    DocumentBuilder(doc).SpeedCorrection(false);
    const int index = StoreRecord(0.0, "n/a");
    // 500 px over 10 m, both sides: 25 px/m; 3 knots for 250 ms = 0.385833 m.
    EXPECT_EQ(doc.ComputeRowAdvance(index, 3, 0, kHeadES), 9);
    // Composite: the side-scan range (the echo sounder shares the composite slot's remainder).
    DocumentBuilder(doc).SlotRemainder(kCompositeSlot, 0.0);
    EXPECT_EQ(doc.ComputeRowAdvance(index, 3, 1, 0), 1);
}

TEST_F(DocumentAdvanceTest, SpeedSourcesOnTheWaterfall) {
    struct Case {
        int manual, gps;
        double manualKnots, storedKnots;
        const char* speedText;
        int rows;
    };
    const Case cases[] = {
        {1, 0, 4.5, 0.0, "n/a", 5},        // 4.5 knots: 5.7875 rows
        {0, 1, 3.0, 0.0, "n/a", 3},        // no speed ever decoded: 3 knots, not a frozen image
        {0, 1, 3.0, 0.0, "", 3},           // no GPS reader when stored: likewise
        {0, 1, 3.0, 0.0, "0.0 Knots", 0},  // a real 0 stays 0
        {0, 1, 3.0, 6.0, "6.0 Knots", 7},  // 7.716667
        {0, 0, 3.0, 6.0, "6.0 Knots", 3},  // "No Speed / Program Default"
    };
    for (const Case& c : cases) {
        using From = DocumentBuilder::SpeedFrom;
        const From from = c.manual ? From::Manual : c.gps ? From::Gps : From::ProgramDefault;
        DocumentBuilder(doc).Speed(from, c.manualKnots).SlotRemainder(0, 0.0);
        const int index = StoreRecord(c.storedKnots, c.speedText);
        EXPECT_EQ(doc.ComputeRowAdvance(index, 3, 0, 0), c.rows)
            << c.manual << c.gps << " " << c.speedText;
    }
}

TEST_F(DocumentAdvanceTest, DisplayChannelOutsideTheHeadTableAddsNothing) {
    const int index = StoreRecord(5.0, "5.0 Knots");
    DocumentBuilder(doc).DisplayChannels(-1, 7);
    EXPECT_EQ(doc.ComputeRowAdvance(index, 3, 0, -1), 0);
    doc.StoreCycle();  // the display step skips both
    EXPECT_EQ(doc.history.writeIndex, index + 2);
}

}  // namespace
