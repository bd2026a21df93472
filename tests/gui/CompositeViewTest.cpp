#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "SimScene.h"
#include "ViewTestSupport.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "support/RecordingViewHost.h"
#include "ui/imaging/CSonarLView.h"
#include "ui/imaging/CVantrelView.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 500;
bool IsCyan(QColor c) {
    return c == QColor(0, 200, 200);
}

bool IsWhite(QColor c) {
    return c.red() > 200 && c.green() == c.red() && c.blue() == c.red();
}

bool IsMarkerRed(QColor c) {
    return c.red() > 120 && c.green() < 60 && c.blue() < 60;
}

class CompositeViewTest : public ::testing::Test {
protected:
    CompositeViewTest() : doc(platform), view(doc) {
        DocumentBuilder(doc).CompositeMode(true).Range(50).DiscoveryMode(false).PlaybackFlag(true);
        DocumentBuilder(doc).Installed({1, 1, 1, 1});
        view.SetHost(&host);
        view.resize(kWidth, kHeight);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // Cycles whose three frequencies differ, so that each colour plane shows its own echo.
    void StoreCycles(int count) {
        DocumentBuilder(doc).ManualSpeed(4.0);
        for (int i = 0; i < count; ++i) {
            for (int h = 0; h < 3; ++h) {
                for (std::size_t s = 0; s < doc.heads[h].line.size(); ++s) {
                    doc.heads[h].line[s] = static_cast<std::uint8_t>((s * (h + 1) + i * 5) % 250);
                }
            }
            doc.StoreCycle();
        }
    }

    // The window pixels that show the composite: every one equals its image pixel.
    int WrongPixels(const QImage& shot, QRect area) {
        const RingImage& image = doc.images.CompositeImage();
        int wrong = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const std::uint8_t* row = image.Row(y + view.State().scrollY);
            for (int x = area.left(); x <= area.right(); ++x) {
                const std::uint8_t* p = row + 3 * (x + view.State().scrollX);
                if (shot.pixel(x, y) != qRgb(p[0], p[1], p[2])) ++wrong;
            }
        }
        return wrong;
    }

    int CountWhere(const QImage& shot, QRect area, bool (*match)(QColor)) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) n += match(Pixel(shot, x, y));
        }
        return n;
    }

    FakePlatform platform;
    CVantrelDoc doc;
    RecordingViewHost host;
    CVantrelView view;
};

}  // namespace

TEST_F(CompositeViewTest, ShowsTheCompositeOneToOneAtTheScrollOffset) {
    view.Commands().Execute(kCmdGrid);  // grid off
    StoreCycles(200);
    ASSERT_EQ(doc.images.CompositeImage().Width(), kWidth);
    const QRect image(0, 30, kWidth - 60, kHeight - 110);
    QImage shot = Grab(view);
    EXPECT_EQ(WrongPixels(shot, image), 0);
    EXPECT_NE(Pixel(shot, 300, 40), QColor(Qt::black)) << "the cycles reached the image";
    view.Commands().Execute(kCmdZoom100);
    StoreCycles(200);
    view.State().scrollX = 555;
    view.State().scrollY = 17;
    shot = Grab(view);
    EXPECT_EQ(WrongPixels(shot, image), 0);
}

TEST_F(CompositeViewTest, WithoutCompositeModeOnlyBlackScaleAndTexts) {
    StoreCycles(100);
    DocumentBuilder(doc).CompositeMode(false);
    const QImage shot = Grab(view);
    EXPECT_EQ(CountWhere(shot, QRect(0, 30, kWidth, kHeight - 100),
                         [](QColor c) {
                             return c != QColor(Qt::black) && c != QColor(120, 30, 0) &&
                                    c != QColor(200, 200, 0);
                         }),
              0)
        << "only the grid lines over black";
    const QRect scaleLabels(0, kHeight - 18, kWidth, 18);
    EXPECT_TRUE(BoundsWhere(shot, scaleLabels, IsYellowOnBlack).isValid());
}

TEST_F(CompositeViewTest, StatusCornerShowsSpinnerByCycleHeldAndSc) {
    const QRect spinner(kWidth - 20, 0, 20, 26);
    const QRect held(kWidth - 55, 0, 35, 26);
    const QImage first = Grab(view);
    EXPECT_EQ(Grab(view).copy(spinner), first.copy(spinner)) << "a paint does not step it";
    DocumentBuilder(doc).AcceptedCycleCount(doc.acceptedCycleCount + 1);
    const QImage stepped = Grab(view);
    EXPECT_NE(stepped.copy(spinner), first.copy(spinner));
    EXPECT_TRUE(BoundsWhere(stepped, QRect(kWidth - 40, 0, 20, 26), IsYellowOnBlack).isValid())
        << "sc";
    DocumentBuilder(doc).SpeedCorrection(false);
    EXPECT_FALSE(BoundsWhere(Grab(view), QRect(kWidth - 40, 0, 20, 26), IsYellowOnBlack).isValid());
    DocumentBuilder(doc).PlaybackFlag(false);
    QTest::keyClick(&view, Qt::Key_H);
    EXPECT_EQ(doc.images.held, 1);
    const QImage heldShot = Grab(view);
    EXPECT_TRUE(BoundsWhere(heldShot, held, IsYellowOnBlack).isValid());
    QTest::keyClick(&view, Qt::Key_H);
    EXPECT_EQ(doc.images.held, 0);
}

TEST_F(CompositeViewTest, RangeTextAndWaitText) {
    const QRect rangeText(0, kHeight - 42, 90, 24);
    const QRect waitText(kWidth / 2 - 150, kHeight - 50, 300, 8);
    EXPECT_TRUE(BoundsWhere(Grab(view), rangeText, IsYellowOnBlack).isValid());
    view.Commands().Execute(kCmdGrid);  // the middle grid line is of the text's colour
    EXPECT_TRUE(view.Commands().State(kCmdShowRange).checked);
    view.Commands().Execute(kCmdShowRange);
    EXPECT_FALSE(view.Commands().State(kCmdShowRange).checked);
    EXPECT_FALSE(
        BoundsWhere(Grab(view), QRect(0, kHeight - 42, 60, 20), IsYellowOnBlack).isValid());
    DocumentBuilder(doc).PlaybackFlag(false).DiscoveryMode(true);
    EXPECT_TRUE(BoundsWhere(Grab(view), waitText, IsYellowOnBlack).isValid());
}

TEST_F(CompositeViewTest, EventMarkersMoveWithTheRowCounterAndStayWhileHeld) {
    DocumentBuilder(doc).EventMarkerPath({{3, 400, 100}}).CompositeRowCounter(50);
    auto markerRows = [&] {
        return BoundsWhere(Grab(view), QRect(370, 0, 60, kHeight - 60), IsMarkerRed);
    };
    QRect bounds = markerRows();
    ASSERT_TRUE(bounds.isValid());
    EXPECT_NEAR(bounds.center().y(), 150, 2);
    EXPECT_NEAR(bounds.center().x(), 400, 2);
    EXPECT_NEAR(bounds.height(), 26, 3);
    // Held in real time: where they were when hold began.
    DocumentBuilder(doc).PlaybackFlag(false);
    doc.ToggleHold();
    DocumentBuilder(doc).CompositeRowCounter(80);
    EXPECT_NEAR(markerRows().center().y(), 150, 2);
    DocumentBuilder(doc).PlaybackFlag(true);  // in playback they follow the counter
    EXPECT_NEAR(markerRows().center().y(), 180, 2);
    DocumentBuilder(doc).EventMarkers(false);
    EXPECT_FALSE(markerRows().isValid());
}

TEST_F(CompositeViewTest, EventMarkersAreClippedToTheImage) {
    view.Commands().Execute(kCmdZoom100);
    view.State().scrollX = 1700;  // the image ends at window x 300
    DocumentBuilder(doc).EventMarkerPath({{1, 2000, 100}});
    const QImage shot = Grab(view);
    EXPECT_EQ(CountWhere(shot, QRect(301, 0, 100, kHeight - 60), IsMarkerRed), 0);
    EXPECT_GT(CountWhere(shot, QRect(280, 80, 21, 40), IsMarkerRed), 0);
}

TEST_F(CompositeViewTest, DoubleClickInsideTheImageBeginsAnEvent) {
    view.Commands().Execute(kCmdZoom100);
    view.State().scrollX = 100;
    view.State().scrollY = 20;
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    ASSERT_EQ(host.eventRequests.size(), 1u);
    EXPECT_EQ(host.eventRequests[0].row, 220);
    EXPECT_EQ(host.eventRequests[0].x, 400);
    view.State().scrollX = 1900;  // window x 150 is image column 2050: outside
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(150, 200));
    view.State().scrollX = -50;
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(20, 200));
    EXPECT_EQ(host.eventRequests.size(), 1u);
}

TEST_F(CompositeViewTest, SizingFollowsTheZoomAndAZeroSizedWindowKeepsThePicture) {
    view.resize(1001, kHeight);
    QApplication::processEvents();
    EXPECT_EQ(doc.images.CompositeImage().Width(), 1004);
    EXPECT_DOUBLE_EQ(doc.images.slotStates[kCompositeSlot].zoomFactor, 0.502);
    view.Commands().Execute(kCmdZoom100);
    EXPECT_EQ(doc.images.CompositeImage().Width(), 2000);
    EXPECT_FLOAT_EQ(doc.images.slotStates[kCompositeSlot].displayScale, 2000.0f / 1004.0f);
    view.Commands().Execute(kCmdZoom200);
    EXPECT_EQ(doc.images.CompositeImage().Rows(), 4000);
    EXPECT_EQ(view.State().ZoomPercent(), 200);
    view.Commands().Execute(kCmdFillScreen);
    StoreCycles(50);
    DocumentBuilder(doc).EventMarkerPath({{1, 10, 10}});
    const std::vector<std::uint8_t> top(doc.images.CompositeImage().Row(0),
                                        doc.images.CompositeImage().Row(0) + 3 * 1004);
    view.resize(0, 0);  // minimised
    QApplication::processEvents();
    ASSERT_TRUE(view.size().isEmpty()) << "the window has no area";
    ASSERT_TRUE(doc.images.CompositeExists());
    EXPECT_EQ(doc.images.CompositeImage().Width(), 1004);
    EXPECT_EQ(std::memcmp(doc.images.CompositeImage().Row(0), top.data(), top.size()), 0);
    EXPECT_EQ(doc.events.eventMarkerPath.size(), 1u);
    EXPECT_NO_FATAL_FAILURE(Grab(view));
}

TEST_F(CompositeViewTest, ZoomCycleEndsAtFillWithScrollAndMarksReset) {
    view.Commands().Execute(kCmdMeasureRange);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(700, 100));
    ASSERT_EQ(view.State().measure.markCount, 1);
    view.Commands().Execute(kCmdZoomCycle);
    EXPECT_EQ(view.State().zoomMode, kZoom100);
    EXPECT_EQ(view.State().measure.markCount, 0);
    view.Commands().Execute(kCmdZoomCycle);
    view.State().scrollX = 300;
    view.Commands().Execute(kCmdZoomCycle);
    EXPECT_EQ(view.State().zoomMode, kZoomFillScreen);
    EXPECT_EQ(view.State().scrollX, 0);
}

TEST_F(CompositeViewTest, DistanceIsDrawnAndLabelled) {
    view.Commands().Execute(kCmdGrid);
    view.Commands().Execute(kCmdMeasureDistance);
    EXPECT_TRUE(view.Commands().State(kCmdMeasureDistance).checked);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QTest::mouseMove(&view, QPoint(400, 200));
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
    ASSERT_EQ(view.State().measure.markCount, 1);
    EXPECT_DOUBLE_EQ(view.State().measure.marks[0].value, 10.0);
    EXPECT_FALSE(view.Commands().State(kCmdMeasureDistance).checked) << "one-shot";
    const QImage shot = Grab(view);
    const QRect line = BoundsWhere(shot, QRect(250, 150, 200, 100), IsCyan);
    EXPECT_NEAR(line.left(), 292, 1) << "the start cross";
    EXPECT_NEAR(line.right(), 408, 1) << "the end cross";
    EXPECT_NEAR(line.top(), 192, 1);
    EXPECT_GT(CountWhere(shot, QRect(320, 198, 60, 4), IsCyan), 60) << "the line";
    EXPECT_TRUE(BoundsWhere(shot, QRect(380, 150, 150, 40), IsWhite).isValid())
        << "a white label above the end point";
}

TEST_F(CompositeViewTest, EveryCommandIsInItsTable) {
    const int ids[] = {kCmdGrid,          kCmdMeasureDistance, kCmdClearMarks,   kCmdRestoreImage,
                       kCmdShowRange,     kCmdFillScreen,      kCmdZoom100,      kCmdZoom200,
                       kCmdZoomCycle,     kCmdNudgeLeft,       kCmdNudgeRight,   kCmdNudgeUp,
                       kCmdNudgeDown,     kCmdMeasureRange,    kCmdDrawPlusMark, kCmdMeasureHeight,
                       kCmdShowMarkShadow};
    for (const int id : ids) EXPECT_TRUE(view.Commands().State(id).enabled) << id;
    EXPECT_FALSE(view.Commands().State(kCmdBitmapView).enabled);
}

TEST_F(CompositeViewTest, PaintTimeGoesIntoTheRunningAverage) {
    ViewFeedback slowPaint;
    slowPaint.drawTimeAverage = 1000;
    doc.SetViewFeedback(slowPaint);
    Grab(view);
    EXPECT_GE(doc.feedback.drawTimeAverage, 500);
    EXPECT_LT(doc.feedback.drawTimeAverage, 1000);
}

TEST_F(CompositeViewTest, ClosingTheViewFreesTheComposite) {
    auto closing = std::make_unique<CVantrelView>(doc);
    closing->resize(200, 100);
    closing->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(closing.get()));
    ASSERT_TRUE(doc.images.CompositeExists());
    closing.reset();
    EXPECT_FALSE(doc.images.CompositeExists());
}

TEST(SideScanMeasureTest, TargetHeightInASideScanViewShowsItsPrompts) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    DocumentBuilder(doc).Range(50);
    RecordingViewHost host;
    CSonarLView view(doc);
    view.SetHost(&host);
    view.resize(1000, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.Commands().Execute(kCmdMeasureHeight);
    EXPECT_TRUE(view.Commands().State(kCmdMeasureHeight).checked);
    view.Commands().Execute(kCmdDrawPlusMark);
    EXPECT_FALSE(view.Commands().State(kCmdMeasureHeight).checked) << "one tool at a time";
    view.Commands().Execute(kCmdMeasureHeight);
    for (const int x : {560, 600, 800, 900}) {
        QTest::mouseMove(&view, QPoint(x, 150));
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(x, 150));
    }
    ASSERT_EQ(view.State().measure.markCount, 4);
    EXPECT_DOUBLE_EQ(view.State().measure.targetHeight, 2.5);
    const QImage shot = Grab(view);
    EXPECT_TRUE(BoundsWhere(shot, QRect(840, 145, 20, 10), IsCyan).isValid()) << "the shadow";
    EXPECT_TRUE(BoundsWhere(shot, QRect(840, 100, 150, 45), IsWhite).isValid()) << "H label";
}

namespace {

// The composite view fed by the simulated towfish of the head simulator, with a distance, a
// target height and two event markers. With SONVARA_SCREENSHOT_DIR set it is written there as
// composite-view.png.
class CompositeScreenshotTest : public ::testing::Test {
protected:
    CompositeScreenshotTest() : doc(platform), view(doc) {
        DocumentBuilder(doc).CompositeMode(true).Range(50).DiscoveryMode(false);
        DocumentBuilder(doc).Installed({1, 1, 1, 1}).Frequency(kHeadL, 120000);
        DocumentBuilder(doc).Frequency(kHeadM, 260000).Frequency(kHeadH, 540000);
        view.resize(720, 560);
        view.show();
    }

    void SimulatedCycle(std::uint32_t ping) {
        std::array<std::uint8_t, sim::kSamples> half{};
        const sim::SceneRequest request{doc.range, 6, 0};
        for (int h = 0; h < 3; ++h) {
            auto& line = doc.heads[h].line;
            scene.SideScan(h, 0, ping, request, half.data());
            std::reverse_copy(half.begin(), half.end(), line.begin());
            scene.SideScan(h, 1, ping, request, half.data());
            std::copy(half.begin(), half.end(), line.begin() + sim::kSamples);
        }
        DocumentBuilder(doc).PingNumber(static_cast<std::int32_t>(ping));
        doc.StoreCycle();
        DocumentBuilder(doc).AcceptedCycleCount(doc.acceptedCycleCount + 1);
    }

    void ClickAt(QPoint p) {
        QTest::mouseMove(&view, p);
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, p);
    }

    FakePlatform platform;
    CVantrelDoc doc;
    CVantrelView view;
    sim::Scene scene{1};
};

}  // namespace

TEST_F(CompositeScreenshotTest, SimulatedSurveyWithMeasurementsAndEvents) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (std::uint32_t ping = 1; ping <= 700; ++ping) SimulatedCycle(ping);
    // Markers are kept relative to the row counter: image row = row + counter.
    const int counter = doc.images.compositeRowCounter;
    // Two of the scene's objects (bright echo, black shadow beyond it) carry events.
    DocumentBuilder(doc).EventMarkerPath({{1, 152, 228 - counter}, {2, 76, 400 - counter}});
    // A dark shadow keeps the markers and labels readable over bright echoes.
    view.Commands().Execute(kCmdShowMarkShadow);
    view.Commands().Execute(kCmdMeasureDistance);
    ClickAt({470, 90});
    ClickAt({600, 170});
    // The second object's height: target, first bottom return (the edge of the water
    // column), shadow start, shadow end.
    view.Commands().Execute(kCmdMeasureHeight);
    for (const int x : {76, 300, 67, 5}) ClickAt({x, 400});
    QTest::mouseMove(&view, QPoint(600, 260));
    const QImage shot = Grab(view);
    EXPECT_EQ(view.State().measure.markCount, 5);
    EXPECT_NEAR(view.State().measure.targetHeight, 1.45, 0.01);
    EXPECT_GT(BoundsWhere(shot, QRect(120, 200, 60, 60), IsMarkerRed).width(), 20) << "event 1";
    EXPECT_GT(BoundsWhere(shot, QRect(50, 370, 60, 60), IsMarkerRed).width(), 20) << "event 2";
    // The shadow of event 1's circle: black two pixels right of and below its red edge.
    EXPECT_LT(qGray(shot.pixel(152 + 12 + 2, 228 + 2)), 24) << "marker shadow";
    EXPECT_TRUE(BoundsWhere(shot, QRect(470, 90, 130, 80), IsCyan).isValid()) << "distance";
    const QByteArray dir = qgetenv("SONVARA_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        ASSERT_TRUE(shot.save(QString::fromUtf8(dir) + QStringLiteral("/composite-view.png")));
    }
}
