#include <gtest/gtest.h>

#include <QApplication>
#include <QObject>
#include <QTest>

#include "ViewTestSupport.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "support/FakePlatform.h"
#include "support/RecordingViewHost.h"
#include "ui/imaging/CSSView.h"
#include "ui/imaging/CSonarMView.h"
#include "ui/imaging/ViewPainting.h"

namespace {

// A host that is also a QObject, as the main window is.
class ObjectHost : public QObject, public RecordingViewHost {};

}  // namespace

TEST(ViewLifetime, ClosingAViewTellsAPlainHostAtOnceAndClearsItsPointerFlag) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    RecordingViewHost host;
    auto* view = new CSonarMView(doc);
    view->SetHost(&host);
    view->resize(200, 100);
    QTest::mouseMove(view, QPoint(10, 10));
    ViewFeedback inside;
    inside.slots[1].pointerInside = 1;
    doc.SetViewFeedback(inside);
    delete view;
    EXPECT_EQ(host.closedCount, 1);
    EXPECT_EQ(doc.feedback.slots[1].pointerInside, 0);
}

TEST(ViewLifetime, AQObjectHostGetsTheNoticePostedAndNeverAfterItIsGone) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    auto* host = new ObjectHost;
    auto* view = new CSonarMView(doc);
    view->SetHost(host);
    delete view;
    EXPECT_EQ(host->closedCount, 0);
    QCoreApplication::sendPostedEvents(host);
    EXPECT_EQ(host->closedCount, 1);

    // The host goes first (the main window closing): the notice is dropped with it.
    view = new CSonarMView(doc);
    view->SetHost(host);
    delete view;
    delete host;
    QCoreApplication::sendPostedEvents();
}

TEST(ViewLifetime, ABareScaleViewOnlyRecordsItsZoomAndDrawsTheScale) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    doc.range = 50;
    CSSView view(doc);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ASSERT_TRUE(view.Commands().Execute(kCmdZoom200));
    EXPECT_EQ(view.State().zoomMode, kZoom200);
    EXPECT_DOUBLE_EQ(view.State().zoomFactor, 2.0);
    EXPECT_FALSE(doc.images.ChannelImage(0).Exists());
    const QImage shot = Grab(view);
    // Default image width 500, both sides: the nadir line at x = 250.
    EXPECT_EQ(Pixel(shot, 250, 5), ToQColor(kScalePenB));
    EXPECT_EQ(Pixel(shot, 5, 5), QColor(Qt::black));
    EXPECT_EQ(view.range, 50);
}
