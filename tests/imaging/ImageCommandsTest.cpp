#include <gtest/gtest.h>

#include <algorithm>

#include "gps/ShipSpeedDialogModel.h"
#include "imaging/ImagingFixture.h"
#include "platform/TimerIds.h"

namespace {

class CountingObserver : public DocumentObserver {
public:
    void CycleDisplayed() override { ++cycles; }
    void UpdateAllViews() override { ++updates; }
    void LayoutChanged() override { ++layouts; }
    int cycles = 0, updates = 0, layouts = 0;
};

class ImageCommandsTest : public ImagingFixture {
protected:
    ImageCommandsTest() { doc.SetObserver(&observer); }
    ~ImageCommandsTest() override { doc.SetObserver(nullptr); }
    CountingObserver observer;
};

TEST_F(ImageCommandsTest, ZeroAdvanceMergesIntoTheTopRowUntilARowIsAdded) {
    // Both sides, 100 px over 50 m: 1 px/m; 1 knot adds 0.128611 rows a ping.
    doc.images.AllocateChannelImage(kHeadL, 100, 20);
    const std::uint8_t values[8] = {30, 90, 10, 60, 80, 20, 70, 5};
    for (int i = 0; i < 7; ++i) {
        FillLines(values[i]);
        StoreAt(1.0);
        EXPECT_EQ(doc.images.rowAdvance, 0) << i;
    }
    const RingImage& image = doc.images.ChannelImage(kHeadL);
    EXPECT_EQ(image.Row(0)[40], 90);  // the largest so far
    EXPECT_TRUE(AllEqual(RowOf(image, 1), 0));
    FillLines(values[7]);
    StoreAt(1.0);  // 8 * 0.128611 passes 1
    EXPECT_EQ(doc.images.rowAdvance, 1);
    EXPECT_EQ(image.Row(0)[40], 5);
    EXPECT_EQ(image.Row(1)[40], 90);
}

TEST_F(ImageCommandsTest, AdvanceCoveringTheWholeImage) {
    doc.images.AllocateChannelImage(kHeadL, 100, 20);
    FillLines(200);
    StoreAt(10.0);  // 1 row
    const RingImage& image = doc.images.ChannelImage(kHeadL);
    ASSERT_EQ(image.Row(0)[40], 200);
    FillLines(10);
    StoreAt(300.0);  // 38 rows: more than the image holds
    EXPECT_EQ(doc.images.rowAdvance, 38);
    // Applied as rows - 1: the previous ping lands in the bottom row, the rows between blend.
    EXPECT_EQ(image.Row(0)[40], 10);
    EXPECT_EQ(image.Row(19)[40], 200);
    EXPECT_EQ(image.Row(18)[40], 190);  // (18 * 200 + 1 * 10) / 19
    for (int r = 1; r < 19; ++r) {
        EXPECT_LE(image.Row(r)[40], image.Row(r + 1)[40]) << r;
        EXPECT_GE(image.Row(r)[40], 10) << r;
    }
}

TEST_F(ImageCommandsTest, SideModeCommandResetsAndRedraws) {
    DocumentBuilder(doc).CompositeMode(true);
    doc.images.AllocateComposite(120, 50);
    doc.images.AllocateChannelImage(kHeadM, 80, 50);
    for (int i = 0; i < 5; ++i) {  // about 31 rows in starboard-only mode: the image is not full
        FillLines();
        StoreAt(6.0);
    }
    const auto before = Snapshot(doc.images.ChannelImage(kHeadM));
    doc.SetSideMode(3);  // the current mode: nothing happens
    EXPECT_EQ(Snapshot(doc.images.ChannelImage(kHeadM)), before);
    EXPECT_EQ(observer.updates, 0);

    doc.SetSideMode(2);
    EXPECT_EQ(doc.images.sideMode, 2);
    EXPECT_GT(observer.updates, 0);
    const auto channel = Snapshot(doc.images.ChannelImage(kHeadM));
    const auto rgb = Snapshot(doc.images.CompositeImage());
    EXPECT_NE(channel, before);
    // What a re-draw from the history gives, from a reset slot.
    DocumentBuilder(doc).SlotRemainder(kHeadM, 0.0);
    doc.RedrawFromHistory(kHeadM, 0);
    EXPECT_EQ(Snapshot(doc.images.ChannelImage(kHeadM)), channel);
    doc.RebuildComposite();
    EXPECT_EQ(Snapshot(doc.images.CompositeImage()), rgb);
    // Rows below the re-drawn part carry reset stamps.
    const RowInfo& bottom = doc.images.RowStamp(kHeadM, 49);
    EXPECT_EQ(bottom.advance, 1);
    EXPECT_EQ(bottom.pingNumber, 0);
    EXPECT_EQ(bottom.Time(), "");

    doc.SetSideMode(0);  // not a side mode
    EXPECT_EQ(doc.images.sideMode, 2);
}

TEST_F(ImageCommandsTest, ClearScreenKeepsTheHistory) {
    DocumentBuilder(doc).CompositeMode(true);
    doc.images.AllocateComposite(100, 30);
    doc.images.AllocateChannelImage(kHeadL, 100, 30);
    doc.images.echoImage.Allocate(50, 20, 1);
    std::fill_n(doc.images.echoImage.Row(3), 50, 9);
    FillLines(77);
    for (int i = 0; i < 5; ++i) StoreAt(10.0);
    ASSERT_EQ(doc.images.ChannelImage(kHeadL).Row(0)[5], 77);
    doc.ClearScreen();
    for (const RingImage* image :
         {&doc.images.ChannelImage(kHeadL), &doc.images.CompositeImage(),
          &doc.images.CompositePlane(1), static_cast<const RingImage*>(&doc.images.echoImage)}) {
        for (int r = 0; r < image->Rows(); ++r) ASSERT_TRUE(AllEqual(RowOf(*image, r), 0)) << r;
    }
    EXPECT_EQ(doc.history.writeIndex, 5);
    doc.RedrawFromHistory(kHeadL, 0);
    EXPECT_EQ(doc.images.ChannelImage(kHeadL).Row(0)[5], 77);
}

TEST_F(ImageCommandsTest, HoldInPlaybackStopsAndResumesThePlaybackTimer) {
    DocumentBuilder(doc).PlaybackFlag(true).CompositeRowCounter(42);
    platform.StartTimer(kTimerPlayback, 50);
    platform.TakeCalls();
    doc.ToggleHold();
    EXPECT_EQ(doc.images.held, 1);
    EXPECT_EQ(doc.images.heldRowCounter, 42);
    EXPECT_EQ(platform.TakeCalls(), std::vector<std::string>{"timer 1030 stopped"});
    doc.ToggleHold();
    EXPECT_EQ(doc.images.held, 0);
    EXPECT_TRUE(platform.TimerRunning(kTimerPlaybackDelay));
    EXPECT_EQ(platform.TimerPeriod(kTimerPlaybackDelay), 100);
    EXPECT_EQ(observer.updates, 2);

    DocumentBuilder(doc).HeldByEventDialog(true);  // an event dialog holds the display: ignored
    doc.ToggleHold();
    EXPECT_EQ(doc.images.held, 0);
}

TEST_F(ImageCommandsTest, LayoutIsRebuiltWhenItsInputsChange) {
    doc.StoreCycle();
    EXPECT_EQ(observer.layouts, 1);  // the first live update sets up the layout
    doc.StoreCycle();
    EXPECT_EQ(observer.layouts, 1);
    DocumentBuilder(doc).DisplayChannels(doc.displayChannelA, kHeadM);
    doc.StoreCycle();
    doc.StoreCycle();
    EXPECT_EQ(observer.layouts, 2);
    DocumentBuilder(doc).OrientationPresent(true).CompositeMode(true);
    doc.StoreCycle();
    EXPECT_EQ(observer.layouts, 3);
    // Held: no live update, no layout check.
    DocumentBuilder(doc).Held(true).DisplayChannels(kHeadM, doc.displayChannelB);
    doc.StoreCycle();
    EXPECT_EQ(observer.layouts, 3);
    EXPECT_EQ(observer.cycles, 6);
}

TEST_F(ImageCommandsTest, PointerReadOutClearedOnlyWithThePointerOutsideTheViews) {
    ViewFeedback feedback;
    feedback.pointerRange = 12.5;
    feedback.slots[kHeadH].pointerInside = 1;
    doc.SetViewFeedback(feedback);
    doc.StoreCycle();
    EXPECT_DOUBLE_EQ(doc.feedback.pointerRange, 12.5);
    feedback.slots[kHeadH].pointerInside = 0;
    doc.SetViewFeedback(feedback);
    doc.StoreCycle();
    EXPECT_DOUBLE_EQ(doc.feedback.pointerRange, 0.0);
}

TEST(ImageSizeTest, ZoomModes) {
    struct Case {
        int mode, clientWidth, width, rows;
        double zoom;
        float scale;
    };
    const Case cases[] = {
        {kZoomFillScreen, 1001, 1004, 2000, 0.502, 1.0f},
        {kZoomFillScreen, 1000, 1000, 2000, 0.5, 1.0f},
        {kZoomFillScreen, 4000, 4000, 2000, 2.0, 1.0f},
        {kZoomFillScreen, 6001, 4096, 2000, 2.048, 1.0f},  // widest image
        {kZoomFillScreen, 0, 4, 2000, 0.002, 1.0f},
        {kZoom100, 1001, 2000, 2000, 1.0, 2000.0f / 1004.0f},
        {kZoom200, 800, 4000, 4000, 2.0, 5.0f},
    };
    for (const Case& c : cases) {
        const ImageSize size = ComputeImageSize(c.mode, c.clientWidth);
        EXPECT_EQ(size.width, c.width) << c.mode << " " << c.clientWidth;
        EXPECT_EQ(size.rows, c.rows) << c.mode << " " << c.clientWidth;
        EXPECT_DOUBLE_EQ(size.zoomFactor, c.zoom) << c.mode << " " << c.clientWidth;
        EXPECT_FLOAT_EQ(size.displayScale, c.scale) << c.mode << " " << c.clientWidth;
    }
}

TEST_F(ImageCommandsTest, SizingAllocatesAndRedrawsFromTheHistory) {
    FillLines(60);
    for (int i = 0; i < 20; ++i) StoreAt(3.0);  // no image yet: only stored
    std::int32_t sizeChanged = 1;
    ImageSize size = doc.SizeChannelImage(kHeadH, kZoomFillScreen, 1001, sizeChanged);
    EXPECT_EQ(sizeChanged, 0);
    const RingImage& image = doc.images.ChannelImage(kHeadH);
    EXPECT_EQ(image.Width(), 1004);
    EXPECT_EQ(image.Rows(), 2000);
    EXPECT_DOUBLE_EQ(doc.images.slotStates[kHeadH].zoomFactor, size.zoomFactor);
    EXPECT_EQ(image.Row(0)[500], 60);
    EXPECT_GT(doc.images.rowsFilled, 60);
    EXPECT_EQ(doc.images.imagesReady, 1);

    // A narrower window in "Fill the Screen": the buffer follows the width.
    size = doc.SizeChannelImage(kHeadH, kZoomFillScreen, 640, sizeChanged);
    EXPECT_EQ(image.Width(), 640);
    EXPECT_EQ(image.Row(0)[500], 60);

    sizeChanged = 1;
    size = doc.SizeChannelImage(kHeadH, kZoom200, 640, sizeChanged);
    EXPECT_EQ(image.Width(), 4000);
    EXPECT_EQ(image.Rows(), 4000);
    EXPECT_FLOAT_EQ(doc.images.slotStates[kHeadH].displayScale, 6.25f);
    EXPECT_EQ(image.Row(0)[2000], 60);
}

TEST_F(ImageCommandsTest, CompositeSizingRebuildsInCompositeModeOnly) {
    FillLines(60);
    for (int i = 0; i < 10; ++i) StoreAt(3.0);
    std::int32_t sizeChanged = 1;
    doc.SizeCompositeImage(kZoom100, 900, sizeChanged);
    EXPECT_EQ(doc.images.CompositeImage().Width(), 2000);
    EXPECT_EQ(doc.images.CompositeImage().Row(0)[3 * 700], 0);  // not composite mode
    DocumentBuilder(doc).CompositeMode(true);
    doc.SizeCompositeImage(kZoomFillScreen, 900, sizeChanged);
    EXPECT_EQ(doc.images.CompositeImage().Width(), 900);
    EXPECT_GT(doc.images.CompositeImage().Row(0)[3 * 300], 0);
    doc.ReleaseCompositeImages();
    EXPECT_FALSE(doc.images.CompositeExists());
    doc.StoreCycle();  // the composite path does nothing without its images
    EXPECT_EQ(doc.history.writeIndex, 11);
}

TEST_F(ImageCommandsTest, SpeedDialogOkRedrawsWithTheNewSpeed) {
    DocumentBuilder(doc).SideMode(1).Range(10);
    doc.images.AllocateChannelImage(kHeadL, 100, 400);
    FillLines(50);
    DocumentBuilder(doc).ManualSpeed(1.0);
    for (int i = 0; i < 10; ++i) doc.StoreCycle();
    DocumentBuilder(doc).SlotRemainder(kHeadL, 0.0);
    doc.RedrawFromHistory(kHeadL, 0);
    const int slowRows = doc.images.rowsFilled;

    ShipSpeedDialogModel dialog(doc.speed);
    dialog.Spin(+30);  // 4.0 knots
    DocumentBuilder(doc).SlotRemainder(kHeadL, 0.0);
    doc.ApplySpeedDialog(dialog);
    EXPECT_DOUBLE_EQ(doc.speed.manualSpeedKnots, 4.0);
    EXPECT_GT(doc.images.rowsFilled, 3 * slowRows);
}

TEST_F(ImageCommandsTest, SlotResetClearsStampsRemainderAndCounters) {
    DocumentBuilder(doc).CompositeMode(true);
    doc.images.AllocateComposite(100, 30);
    DocumentBuilder(doc).GpsReaderExists(true);
    FillLines();
    for (int i = 0; i < 8; ++i) StoreAt(9.0);
    DocumentBuilder(doc).HeldRowCounter(3);
    ASSERT_GT(doc.images.compositeRowCounter, 0);
    doc.ResetSlot(kCompositeSlot);
    EXPECT_EQ(doc.images.compositeRowCounter, 0);
    EXPECT_EQ(doc.images.heldRowCounter, 0);
    EXPECT_EQ(doc.images.slotStates[kCompositeSlot].remainder, 0.0);
    for (int r = 0; r < 30; ++r) {
        const RowInfo& info = doc.images.RowStamp(kCompositeSlot, r);
        ASSERT_EQ(info.advance, 1);
        ASSERT_EQ(info.pingNumber, 0);
        ASSERT_EQ(info.Time(), "");
        ASSERT_TRUE(info.texts[kNavLatitude].Empty());
        ASSERT_TRUE(AllEqual(RowOf(doc.images.CompositeImage(), r), 0));
        ASSERT_TRUE(AllEqual(RowOf(doc.images.CompositePlane(0), r), 0));
    }
}

TEST_F(ImageCommandsTest, StampsExistForTheRowsOfTheImage) {
    doc.images.AllocateChannelImage(kHeadM, 100, 30);
    platform.now = {2009, 7, 6, 4, 9, 5, 3, 7};
    doc.StampCycleTime();
    doc.StoreCycle();
    // Without an image a slot keeps only row 0, which every cycle stamps.
    EXPECT_EQ(doc.images.RowStamp(kHeadL, 0).Time(), "09:05:03.007");
    EXPECT_EQ(doc.images.RowStamp(kHeadL, 1).Time(), "");
    EXPECT_EQ(doc.images.RowStamp(kHeadM, 0).Time(), "09:05:03.007");
    EXPECT_EQ(doc.images.RowStamp(kHeadM, 30).Time(), "");  // below the image
    EXPECT_EQ(doc.images.RowStamp(kHeadM, -1).Time(), "");
    EXPECT_EQ(doc.images.RowStamp(9, 0).Time(), "");
}

TEST_F(ImageCommandsTest, ToggleFlags) {
    EXPECT_EQ(doc.images.verticalBlending, 1);
    doc.ToggleVerticalBlending();
    EXPECT_EQ(doc.images.verticalBlending, 0);
    doc.ToggleColorIndicator();
    EXPECT_EQ(doc.images.colorIndicator, 1);
    doc.ToggleConvertUtcToLocal();
    EXPECT_EQ(doc.speed.convertUtcToLocal, 1);
    doc.ToggleConvertUtcToLocal();
    EXPECT_EQ(doc.speed.convertUtcToLocal, 0);
    doc.SynchronizeWithGpsTime();
    doc.SynchronizeWithGpsTime();
    EXPECT_EQ(doc.speed.syncWithGpsTime, 1);
    EXPECT_EQ(doc.recording.recordingOn, 0);  // nothing records until a recorder exists
}

}  // namespace
