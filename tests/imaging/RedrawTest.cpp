#include <gtest/gtest.h>

#include "imaging/ImagingFixture.h"

namespace {

class RedrawTest : public ImagingFixture {
protected:
    // Port only at 10 m on a 100-pixel image: 10 px/m, so 3.9 knots give 5 rows a ping.
    void Setup(int rows) {
        DocumentBuilder(doc).SideMode(1).Range(10);
        doc.images.AllocateChannelImage(kHeadL, 100, rows);
    }
    void StoreLine(std::uint8_t value) {
        FillLines(value);
        DocumentBuilder(doc).PingNumber(value);
        DocumentBuilder(doc).HeldFlag(true);  // records only; the test re-draws
        StoreAt(3.9);
        DocumentBuilder(doc).HeldFlag(false);
    }
};

TEST_F(RedrawTest, NewestRecordAtTheTopBlendedTowardsOlderOnes) {
    Setup(60);
    StoreLine(40);   // oldest
    StoreLine(200);  // newest
    doc.RedrawFromHistory(kHeadL, 0);
    const RingImage& image = doc.images.ChannelImage(kHeadL);
    // Newest: rows 0..4 the line itself. Older: rows 5..9 from the newer line towards it.
    for (int r = 0; r < 5; ++r) EXPECT_EQ(image.Row(r)[10], 200) << r;
    const int expected[5] = {168, 136, 104, 72, 40};  // 200 * (5-j)/5 + 40 * j/5
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(image.Row(4 + j)[10], expected[j - 1]) << j;
    EXPECT_EQ(doc.images.rowsFilled, 10);
    // Stamps follow the records.
    EXPECT_EQ(doc.images.RowStamp(kHeadL, 0).pingNumber, 200);
    EXPECT_EQ(doc.images.RowStamp(kHeadL, 7).pingNumber, 40);
    EXPECT_EQ(doc.images.RowStamp(kHeadL, 7).advance, 5);
}

TEST_F(RedrawTest, WholeNumberMixesStayWhole) {
    Setup(60);
    FillLines(1);
    DocumentBuilder(doc).HeldFlag(true);
    StoreAt(2.34);  // 3 rows a record
    FillLines(7);
    StoreAt(2.34);
    DocumentBuilder(doc).HeldFlag(false);
    doc.RedrawFromHistory(kHeadL, 0);
    // The older record's first row: (7 * 2 + 1 * 1) / 3 = 5, not 4.999... truncated to 4.
    EXPECT_EQ(doc.images.ChannelImage(kHeadL).Row(3)[10], 5);
    EXPECT_EQ(doc.images.ChannelImage(kHeadL).Row(4)[10], 3);
    EXPECT_EQ(doc.images.ChannelImage(kHeadL).Row(5)[10], 1);
}

TEST_F(RedrawTest, StopsAtTheOldestRecordAndLeavesTheRowsBelow) {
    Setup(60);
    for (int r = 0; r < 60; ++r) std::fill_n(doc.images.slotStates[kHeadL].image.Row(r), 100, 33);
    StoreLine(100);
    StoreLine(120);
    doc.RedrawFromHistory(kHeadL, 0);
    const RingImage& image = doc.images.ChannelImage(kHeadL);
    EXPECT_EQ(doc.images.rowsFilled, 10);
    EXPECT_EQ(image.Row(9)[50], 100);
    for (int r = 10; r < 60; ++r) ASSERT_TRUE(AllEqual(RowOf(image, r), 33)) << r;
}

TEST_F(RedrawTest, WrapSeparatorLineInPlayback) {
    Setup(60);
    StoreLine(50);
    DocumentBuilder(doc).SeparatorPending();  // playback wrapped to the file's start here
    StoreLine(60);
    StoreLine(70);
    StoreLine(80);
    const RingImage& image = doc.images.ChannelImage(kHeadL);

    DocumentBuilder(doc).PlaybackFlag(true);
    doc.RedrawFromHistory(kHeadL, 0);
    // Records from the top: 80 at rows 0..4, 70 at 5..9, the marked 60 at 10..14: the last
    // row of the span above it is the separator.
    EXPECT_TRUE(AllEqual(RowOf(image, 9), kLinePixel));
    int separatorRows = 0;
    for (int r = 0; r < 60; ++r) separatorRows += image.Row(r)[0] == kLinePixel ? 1 : 0;
    EXPECT_EQ(separatorRows, 1);

    DocumentBuilder(doc).PlaybackFlag(false);  // the mark is drawn in playback only
    DocumentBuilder(doc).SlotRemainder(kHeadL, 0.0);
    doc.RedrawFromHistory(kHeadL, 0);
    for (int r = 0; r < 60; ++r) ASSERT_NE(image.Row(r)[0], kLinePixel) << r;
}

TEST_F(RedrawTest, SeparatorOfTheNewestRecordIsNotDrawnAboveTheImage) {
    Setup(60);
    StoreLine(50);
    DocumentBuilder(doc).SeparatorPending();
    StoreLine(60);
    DocumentBuilder(doc).PlaybackFlag(true);
    doc.RedrawFromHistory(kHeadL, 0);
    for (int r = 0; r < 60; ++r) ASSERT_NE(doc.images.ChannelImage(kHeadL).Row(r)[0], kLinePixel);
}

TEST_F(RedrawTest, StopsWhereTheNextRecordWouldNotFit) {
    Setup(12);
    for (int i = 0; i < 5; ++i) StoreLine(static_cast<std::uint8_t>(10 * i + 10));
    doc.RedrawFromHistory(kHeadL, 0);
    // 5 rows a record: 0..4 and 5..9 fit; the third record would reach past row 11.
    EXPECT_EQ(doc.images.rowsFilled, 10);
    EXPECT_EQ(doc.images.ChannelImage(kHeadL).Row(11)[3], 0);
}

TEST_F(RedrawTest, CompositeRebuildRedrawsPlanesAndColours) {
    DocumentBuilder(doc).CompositeMode(true).SideMode(1).Range(10);
    doc.images.AllocateComposite(100, 60);
    FillLines(0);
    doc.heads[kHeadL].line.fill(254);
    doc.heads[kHeadH].line.fill(128);
    DocumentBuilder(doc).HeldFlag(true);
    StoreAt(3.9);
    DocumentBuilder(doc).HeldFlag(false);
    doc.RebuildComposite();
    const std::uint8_t* rgb = doc.images.CompositeImage().Row(2);
    EXPECT_EQ(rgb[30], 254);  // red: L
    EXPECT_EQ(rgb[31], 0);    // green: M
    EXPECT_EQ(rgb[32], 180);  // blue: H, 255 * sin(pi / 4)
    EXPECT_EQ(doc.images.compositeRowCounter, 5);

    DocumentBuilder(doc).CompositeMode(false);  // composite mode only
    doc.images.ClearScreen();
    doc.RebuildComposite();
    EXPECT_EQ(doc.images.CompositeImage().Row(2)[30], 0);
}

}  // namespace
