#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <memory>

#include "ViewTestSupport.h"
#include "document/CVantrelDoc.h"
#include "imaging/RangeScale.h"
#include "shell/CommandIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "support/RecordingViewHost.h"
#include "ui/imaging/CSonarHView.h"
#include "ui/imaging/CSonarLView.h"
#include "ui/imaging/ViewPainting.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr int kGreyTable = 32894;   // "&Grey": entry v is (v, v, v)
constexpr int kGreenTable = 32893;  // "Gr&een": entry v is (0, v, 0)

class SideScanViewTest : public ::testing::Test {
protected:
    SideScanViewTest() : doc(platform), view(doc) {
        doc.SelectColourTable(kGreyTable);
        view.SetHost(&host);
        view.resize(kWidth, kHeight);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    RingImage& Image(int slot = 0) { return doc.images.slotStates[slot].image; }

    // The non-grey extent of a label band: its black box and its text.
    static QRect LabelBox(const QImage& shot, QRect band) {
        return BoundsWhere(shot, band, [](QColor c) { return c != QColor(128, 128, 128); });
    }

    FakePlatform platform;
    CVantrelDoc doc;
    RecordingViewHost host;
    CSonarLView view;
};

}  // namespace

TEST_F(SideScanViewTest, ShowsTheImageOneToOneAtTheScrollOffsetAcrossTheRingSeam) {
    view.Commands().Execute(kCmdZoom100);  // 2000 x 2000
    view.Commands().Execute(kCmdGrid);     // grid off: only short marks near the bottom
    ASSERT_EQ(Image().Width(), 2000);
    Image().ScrollDown(500);  // image rows 0..499 and 500..1999 lie in two blocks
    FillPattern(Image());
    ASSERT_EQ(Image().Pieces().firstRows, 500);
    view.State().scrollX = 123;
    view.State().scrollY = 456;
    const QImage shot = Grab(view);
    int wrong = 0;
    for (int y = 0; y < kHeight - 70; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int v = PatternValue(x + 123, y + 456);
            if (shot.pixel(x, y) != qRgb(v, v, v)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(SideScanViewTest, IsBlackWhereTheImageEnds) {
    view.Commands().Execute(kCmdZoom100);
    view.Commands().Execute(kCmdGrid);
    FillPattern(Image());
    view.State().scrollX = 2000 - 100;
    view.State().scrollY = -20;
    const QImage shot = Grab(view);
    EXPECT_EQ(Pixel(shot, 150, 100), QColor(Qt::black));
    EXPECT_EQ(Pixel(shot, 50, 10), QColor(Qt::black));  // above the first row
    const int v = PatternValue(1900 + 50, 100 + -20);
    EXPECT_EQ(Pixel(shot, 50, 100), QColor(v, v, v));
}

TEST_F(SideScanViewTest, AColourTableChoiceRecoloursEveryViewAtItsNextPaint) {
    CSonarHView high(doc);
    high.resize(kWidth, kHeight);
    high.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&high));
    for (CSSView* v : {static_cast<CSSView*>(&view), static_cast<CSSView*>(&high)}) {
        v->Commands().Execute(kCmdGrid);
    }
    Image(0).Row(10)[50] = 200;
    Image(2).Row(10)[50] = 100;
    EXPECT_EQ(Pixel(Grab(view), 50, 10), QColor(200, 200, 200));
    EXPECT_EQ(Pixel(Grab(high), 50, 10), QColor(100, 100, 100));
    doc.SelectColourTable(kGreenTable);
    EXPECT_EQ(Pixel(Grab(view), 50, 10), QColor(0, 200, 0));
    EXPECT_EQ(Pixel(Grab(high), 50, 10), QColor(0, 100, 0));
}

TEST_F(SideScanViewTest, LabelsShowRangeGainAndFrequencyInTheChosenUnits) {
    DocumentBuilder(doc).Range(50).Gain(0, 6).Frequency(0, 120000);
    view.Commands().Execute(kCmdGrid);
    Image().Zero();
    for (int r = 0; r < Image().Rows(); ++r) std::fill_n(Image().Row(r), Image().Width(), 128);
    const QFontMetrics metrics(CellFont(QStringLiteral("Arial"), kLabelFontHeight));
    struct Case {
        int units;
        const char* range;
    };
    for (const Case c : {Case{0, "50 m(6 dB)"}, Case{1, "150 ft(6 dB)"}}) {
        SCOPED_TRACE(c.range);
        DocumentBuilder(doc).Units(c.units);
        const QImage shot = Grab(view);
        const QRect rangeBox = LabelBox(shot, QRect(0, kHeight - 64, 200, 22));
        EXPECT_EQ(rangeBox, QRect(4, kHeight - 64, metrics.horizontalAdvance(c.range), 22));
        EXPECT_TRUE(BoundsWhere(shot, rangeBox, [](QColor p) {
                        return p == QColor(250, 250, 0);
                    }).isValid());
        // The band of the second label stops above the scale's marks.
        const QRect khzBox = LabelBox(shot, QRect(0, kHeight - 42, 200, 16));
        EXPECT_EQ(khzBox, QRect(4, kHeight - 42, metrics.horizontalAdvance("120 kHz"), 16));
    }
}

TEST_F(SideScanViewTest, GridLinesAndScaleLabelsSitOnTheTicks) {
    DocumentBuilder(doc).Range(50).SideMode(3);
    const QImage shot = Grab(view);  // image width 400: ticks every 40 pixels
    EXPECT_EQ(Pixel(shot, 40, 10), ToQColor(kScalePenA));
    EXPECT_EQ(Pixel(shot, 200, 10), ToQColor(kScalePenB));  // the nadir line
    EXPECT_EQ(Pixel(shot, 120, kHeight - 21), ToQColor(kScalePenA));
    EXPECT_EQ(Pixel(shot, 120, kHeight - 20), QColor(Qt::black));  // the line ends above
    // The scale labels are centred on their ticks in the scale's text colour: "30" on the
    // tick at x = 80, "50" moved 12 pixels right of the first tick.
    const QRect thirty = BoundsWhere(shot, QRect(62, kHeight - 18, 36, 16), IsYellowOnBlack);
    ASSERT_TRUE(thirty.isValid());
    EXPECT_NEAR(thirty.center().x(), 80, 2);
    const QRect fifty = BoundsWhere(shot, QRect(0, kHeight - 18, 28, 16), IsYellowOnBlack);
    ASSERT_TRUE(fifty.isValid());
    EXPECT_NEAR(fifty.center().x(), 12, 2);
    EXPECT_TRUE(BoundsWhere(shot, thirty, [](QColor p) {
                    return p == ToQColor(kScaleTextColour);
                }).isValid());
}

TEST_F(SideScanViewTest, PointerReadoutReachesTheHost) {
    DocumentBuilder(doc).Range(50).SideMode(3);
    RowInfo& stamp = doc.images.slotStates[0].rowInfo.Row(100);
    stamp.pingNumber = 42;
    QTest::mouseMove(&view, QPoint(300, 100));
    EXPECT_EQ(view.State().pointerInside, 1);
    view.repaint();
    EXPECT_DOUBLE_EQ(host.pointerRange, 25.0);  // 50 m x 100 / 200 pixels a side
    EXPECT_TRUE(host.pointerStarboard);
    ASSERT_FALSE(host.pingNumbers.empty());
    EXPECT_EQ(host.pingNumbers.back(), 42);
    EXPECT_EQ(doc.feedback.slots[0].pointerInside, 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    EXPECT_EQ(doc.feedback.slots[0].pointerInside, 0);
}

TEST_F(SideScanViewTest, DraggingPansOnlyAtOneAndTwoHundredPercent) {
    struct Case {
        int command;
        QPoint scroll;
    };
    for (const Case c :
         {Case{kCmdFillScreen, {0, 0}}, Case{kCmdZoom100, {20, 10}}, Case{kCmdZoom200, {20, 10}}}) {
        SCOPED_TRACE(c.command);
        view.Commands().Execute(c.command);
        view.Commands().Execute(kCmdRestoreImage);
        const int updatesBefore = host.updateAllCount;
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(&view, QPoint(80, 90));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(80, 90));
        EXPECT_EQ(QPoint(view.State().scrollX, view.State().scrollY), c.scroll);
        EXPECT_EQ(host.updateAllCount > updatesBefore, !c.scroll.isNull());
        EXPECT_EQ(view.State().dragging, 0);
    }
}

TEST_F(SideScanViewTest, ADoubleClickIsNotASecondPress) {
    view.Commands().Execute(kCmdZoom100);
    DocumentBuilder(doc).PlaybackFlag(true);
    QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(view.State().dragging, 0);
    EXPECT_TRUE(platform.TakeCalls().empty());
}

TEST_F(SideScanViewTest, ContextMenuShowsTheZoomGridAndMeasureStates) {
    view.Commands().Execute(kCmdZoom200);
    const std::unique_ptr<QMenu> menu = view.CreateContextMenu();
    const QList<QAction*> top = menu->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0]->text(), "&Zoom Factor");
    ASSERT_NE(top[0]->menu(), nullptr);
    const QList<QAction*> zoom = top[0]->menu()->actions();
    ASSERT_EQ(zoom.size(), 3);
    EXPECT_EQ(zoom[0]->text(), "100 %");
    EXPECT_FALSE(zoom[0]->isChecked());
    EXPECT_EQ(zoom[1]->text(), "200 %");
    EXPECT_TRUE(zoom[1]->isChecked());
    EXPECT_EQ(zoom[2]->text(), "Fill Screen");
    EXPECT_EQ(top[1]->text(), "Grid");
    EXPECT_TRUE(top[1]->isChecked());
    EXPECT_EQ(top[2]->text(), "Measure");
    EXPECT_TRUE(top[2]->isEnabled());
    EXPECT_FALSE(top[2]->isChecked());
    EXPECT_EQ(top[3]->text(), "Erase Measure Lines");
    EXPECT_TRUE(top[3]->isEnabled());
    // "Measure" is the distance tool and shows whether it is armed.
    top[2]->trigger();
    EXPECT_EQ(view.State().measure.distanceMode, 1);
    EXPECT_TRUE(view.CreateContextMenu()->actions()[2]->isChecked());
    top[2]->trigger();
    zoom[2]->trigger();  // "Fill Screen" runs through the view's table
    EXPECT_EQ(view.State().zoomMode, kZoomFillScreen);
    top[1]->trigger();
    EXPECT_EQ(view.State().gridOn, 0);
}

TEST_F(SideScanViewTest, KeysZoomRestoreAndNudgeThePointer) {
    view.setFocus();
    QCursor::setPos(view.mapToGlobal(QPoint(50, 60)));
    QTest::keyClick(&view, Qt::Key_Z);
    EXPECT_EQ(view.State().zoomMode, kZoom100);
    EXPECT_EQ(host.zooms.back(), 100);
    view.State().scrollX = 77;
    QTest::keyClick(&view, Qt::Key_R);
    EXPECT_EQ(view.State().scrollX, 0);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(QPoint(view.State().lastX, view.State().lastY), QPoint(51, 62));
    EXPECT_EQ(view.mapFromGlobal(QCursor::pos()), QPoint(51, 62));
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(QPoint(view.State().lastX, view.State().lastY), QPoint(50, 61));
}

TEST_F(SideScanViewTest, EveryViewCommandIsInItsTableWithTheMeasuringTools) {
    const int enabled[] = {kCmdGrid,      kCmdFillScreen,   kCmdZoom100,   kCmdZoom200,
                           kCmdZoomCycle, kCmdRestoreImage, kCmdNudgeLeft, kCmdNudgeRight,
                           kCmdNudgeUp,   kCmdNudgeDown};
    for (const int id : enabled) EXPECT_TRUE(view.Commands().State(id).enabled) << id;
    for (const int id : {kCmdMeasureDistance, kCmdClearMarks, kCmdMeasureRange, kCmdDrawPlusMark,
                         kCmdMeasureHeight, kCmdShowMarkShadow}) {
        EXPECT_TRUE(view.Commands().Has(id)) << id;
        EXPECT_TRUE(view.Commands().State(id).enabled) << id;
    }
    // A range-scale view without an image has nothing to measure on.
    CSSView bare(doc);
    EXPECT_FALSE(bare.Commands().State(kCmdMeasureDistance).enabled);
    CommandTable frame;
    frame.Add(kCmdGrid, [] {});
    CommandRouter router(frame);
    router.SetActiveView(&view.Commands());
    EXPECT_EQ(&router.TableFor(kCmdGrid), &view.Commands());
}

namespace {

// The column runs, inside `band`, that hold anything but the grey image: the black boxes of
// the labels and their text. Boxes that touch make one run.
std::vector<std::pair<int, int>> LabelRuns(const QImage& shot, QRect band) {
    std::vector<std::pair<int, int>> runs;
    for (int x = band.left(); x <= band.right(); ++x) {
        bool label = false;
        for (int y = band.top(); y <= band.bottom() && !label; ++y) {
            label = Pixel(shot, x, y) != QColor(128, 128, 128);
        }
        if (!label) continue;
        if (!runs.empty() && runs.back().second == x - 1) {
            runs.back().second = x;
        } else {
            runs.emplace_back(x, x);
        }
    }
    return runs;
}

}  // namespace

TEST_F(SideScanViewTest, ScaleLabelsStayApartAtEveryWidth) {
    DocumentBuilder(doc).Range(60).SideMode(3);
    view.Commands().Execute(kCmdGrid);  // short marks only: the band holds nothing but labels
    const QFontMetrics metrics(CellFont(QStringLiteral("Arial"), kScaleFontHeight));
    const int widest = metrics.horizontalAdvance(QStringLiteral("60"));
    for (const int width : {120, 180, 250, 320, 400, 640}) {
        SCOPED_TRACE(width);
        view.resize(width, kHeight);
        for (int r = 0; r < Image().Rows(); ++r) std::fill_n(Image().Row(r), Image().Width(), 128);
        const QImage shot = Grab(view);
        const auto runs = LabelRuns(shot, QRect(0, kHeight - 18, width, 16));
        ASSERT_FALSE(runs.empty());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            // One label per run: two labels that touch would make a run wider than one.
            EXPECT_LE(runs[i].second - runs[i].first + 1, widest) << "run " << i;
            if (i > 0) {
                EXPECT_GE(runs[i].first - runs[i - 1].second - 1, kScaleLabelGap);
            }
        }
    }
}

TEST_F(SideScanViewTest, NoGridLineRunsThroughTheRangeAndFrequencyTexts) {
    DocumentBuilder(doc).Range(50).Gain(0, 6).Frequency(0, 120000).SideMode(3);
    const QImage shot = Grab(view);  // grid lines every 40 px, through x = 40 and 80
    const QFontMetrics metrics(CellFont(QStringLiteral("Arial"), kLabelFontHeight));
    const int h = metrics.height();
    const QRect rangeBox(4, kHeight - 64, metrics.horizontalAdvance("50 m(6 dB)"), h);
    const QRect khzBox(4, kHeight - 42, metrics.horizontalAdvance("120 kHz"), h);
    ASSERT_GT(rangeBox.right(), 80);
    for (const QRect& box : {rangeBox, khzBox}) {
        EXPECT_FALSE(
            BoundsWhere(shot, box, [](QColor p) { return p == ToQColor(kScalePenA); }).isValid())
            << box.x() << "," << box.y();
    }
}

// A head that gives no data (left out of polling) is said so over its image, whole and in
// the middle of the window, for each frequency it may have; with data nothing is drawn there.
TEST_F(SideScanViewTest, AHeadWithoutDataIsNamedOverItsImage) {
    struct Case {
        int frequencyHz;
        const char* text;
    };
    const Case cases[] = {{120000, "no data from the 120 kHz head"},
                          {100000, "no data from the 100 kHz head"},
                          {0, "no data from the 120 kHz head"}};  // not reported yet
    view.resize(640, kHeight);
    view.Commands().Execute(kCmdFillScreen);
    view.Commands().Execute(kCmdGrid);  // grid off: no yellow grid line in the middle
    const QColor yellow = ToQColor(kLabelColour);
    const auto isYellow = [&](QColor c) { return c == yellow || IsYellowOnBlack(c); };
    const QRect middle(0, kHeight / 2 - 40, 640, 80);
    EXPECT_FALSE(BoundsWhere(Grab(view), middle, isYellow).isValid()) << "the head has data";
    DocumentBuilder(doc).LeftOutOfPolling(kHeadL);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NoDataText(kHeadL, c.frequencyHz), c.text);
        DocumentBuilder(doc).Frequency(kHeadL, c.frequencyHz);
        const QImage shot = Grab(view);
        const QRect box = BoundsWhere(shot, middle, isYellow);
        ASSERT_TRUE(box.isValid());
        // The frame around the whole text, centred in the window.
        const QFontMetrics metrics(CellFont(QStringLiteral("Arial"), kNoticeFontHeight));
        EXPECT_GE(box.width(), metrics.horizontalAdvance(QString::fromLatin1(c.text)));
        EXPECT_NEAR(box.center().x(), 320, 2);
        EXPECT_NEAR(box.center().y(), kHeight / 2, 2);
    }
    EXPECT_EQ(NoDataText(kHeadES, 200000), "no data from the echo sounder");
}
