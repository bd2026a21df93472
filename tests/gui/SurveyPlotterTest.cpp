// The survey on the track plotter, offscreen, after a survey sailed fix by fix on the fake
// platform: two lines spaced wider than the swath leave a holiday that stays black between
// their coverage, the active line is drawn in its colour, the read-out sits in the corner with
// its cross-track row red past the alarm, and "Fit the Plan" shows every line. With
// SONVARA_SCREENSHOT_DIR set, the plotter is written there as survey-plotter.png.

#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <cmath>

#include "ViewTestSupport.h"
#include "datafiles/DataFilesFixture.h"
#include "gps/FakeGpsLink.h"
#include "platform/TimerIds.h"
#include "survey/LineGenerator.h"
#include "survey/SurveyFixes.h"
#include "models/SurveyPlot.h"
#include "ui/gps/CGPSTrackView.h"

namespace {

using surveytest::Offset;

constexpr double kLat = 54.0, kLon = 9.0;
constexpr double kLength = 300.0, kSpacing = 110.0;  // the swath is 100 m: 10 m of holiday

class SurveyPlotterTest : public DataFilesFixture {
protected:
    SurveyPlotterTest() : link(doc.gps) {
        MakeFourHeadState(false);
        DocumentBuilder(doc).Range(50);
        doc.SetGpsReader(&link);
        link.present = {"/dev/ttyS0"};
        doc.ReopenGpsPort(1);
        survey::LineRequest request;
        request.first = {"Line", {Offset(kLat, kLon, 0, 0), Offset(kLat, kLon, kLength, 0)}};
        request.spacingM = kSpacing;
        request.count = 4;
        doc.ReplaceSurveyLines(survey::ParallelLines(request));
    }
    ~SurveyPlotterTest() override { doc.SetGpsReader(nullptr); }

    // One second at (north, east) on the course: the fix, then a ping.
    void Fix(double north, double east, double course) {
        platform.tick += 1000;
        link.queued = surveytest::RmcAt(Offset(kLat, kLon, north, east), course, second++) + "$";
        platform.FireTimer(kTimerGpsRead);
        doc.GpsReadDone();
        doc.StampCycleTime();
        DocumentBuilder(doc).NoData(false);
        doc.StoreCycle();
    }
    // Along a north-south line at `east`, 2 m a second, with a slow steering error.
    void SailLine(double east, bool north, double upTo = kLength) {
        for (double along = 0; along <= upTo; along += 2.0) {
            const double error = 3.0 * std::sin(along / 60.0);
            Fix(north ? along : kLength - along, east + error, north ? 0.0 : 180.0);
        }
    }
    // A half circle from the end of one line to the start of the next, at the northern or the
    // southern end.
    void Turn(double fromEast, bool atNorth) {
        const double r = kSpacing / 2, y0 = atNorth ? kLength : 0.0;
        for (int k = 1; k < 40; ++k) {
            const double a = M_PI * k / 40;
            const double north = y0 + (atNorth ? 1 : -1) * r * std::sin(a);
            // The tangent: from north round to south over east, or from south to north.
            const double course = atNorth ? a * 180 / M_PI : 180.0 - a * 180 / M_PI;
            Fix(north, fromEast + r - r * std::cos(a), course);
        }
    }

    FakeLink link;
    int second = 0;
};

// Coverage is blue (port) or orange (starboard), never the grey of the grid.
bool IsCovered(QColor c) {
    return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 30;
}
bool IsActiveLine(QColor c) {
    return c.red() > 230 && c.green() > 200 && c.blue() < 60;
}
bool IsAlarm(QColor c) {
    return c.red() > 180 && c.green() < 40 && c.blue() < 40;
}

TEST_F(SurveyPlotterTest, HolidayActiveLineReadOutAndAlarm) {
    SailLine(0, true);
    Turn(0, true);
    SailLine(kSpacing, false);
    Turn(kSpacing, false);
    // Each turn made the next line active. Line 3, 150 m up it and 14 m off to port: past
    // the 10 m alarm.
    ASSERT_EQ(doc.survey.plan.active, 2);
    for (double along = 0; along <= 150; along += 2.0) Fix(along, 2 * kSpacing - 14 * along / 150, 0.0);
    ASSERT_TRUE(doc.survey.steering.active);
    EXPECT_EQ(doc.survey.steering.crossTrack, "14.0 m L");
    EXPECT_TRUE(doc.survey.steering.offLine);

    CGPSTrackView view(doc);
    view.resize(480, 360);
    view.FitPlan();
    const QImage shot = view.Render().convertToFormat(QImage::Format_RGB32);
    PlotFrame frame;
    {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        frame = FrameOf(doc.gps.track, doc.survey.plan);
    }
    // The fit: the plan and the seabed covered (the turns reach beyond the lines) in the view,
    // 40 pixels in from each edge (SurveyPlotTest checks these boxes on their own).
    const auto box = Union(PlanBox(doc.survey.plan, frame), CoverageBox(doc.survey.coverage, frame));
    ASSERT_TRUE(box);
    EXPECT_GE(box->right - box->left, 3 * kSpacing);
    EXPECT_GE(box->bottom - box->top, kLength);
    FitBox(frame, *box, 480, 360, 40);
    const auto pixel = [&](double north, double east) {
        double x = 0, y = 0;
        frame.Pixel(Offset(kLat, kLon, north, east), x, y);
        return QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    };
    // Covered 20 m either side of the first two lines; the holiday 55 m east stays empty
    // (the grid's dashed lines may cross it).
    for (double east : {-30.0, 20.0, kSpacing - 20, kSpacing + 30}) {
        const QPoint p = pixel(kLength / 2, east);
        EXPECT_TRUE(IsCovered(Pixel(shot, p.x(), p.y()))) << east;
    }
    const QPoint gap = pixel(kLength / 2, kSpacing / 2);
    const QRect holiday = BoundsWhere(shot, QRect(gap.x() - 1, gap.y() - 20, 3, 40), IsCovered);
    EXPECT_FALSE(holiday.isValid()) << "coverage in the holiday";
    // The active line, line 3, north of where the vessel is.
    const QPoint onLine = pixel(250, 2 * kSpacing);
    EXPECT_TRUE(BoundsWhere(shot, QRect(onLine.x() - 2, onLine.y() - 2, 5, 5), IsActiveLine).isValid());
    // The read-out at the bottom left, its cross-track row red.
    EXPECT_TRUE(BoundsWhere(shot, QRect(0, 250, 200, 110), IsAlarm).isValid());

    const QByteArray shots = qgetenv("SONVARA_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        CGPSTrackView large(doc);
        large.resize(720, 540);
        large.FitPlan();
        EXPECT_TRUE(large.Render().save(QDir(QString::fromUtf8(shots)).filePath("survey-plotter.png")));
    }
}

}  // namespace
