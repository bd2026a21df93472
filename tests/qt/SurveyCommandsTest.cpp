// The Survey menu through the main window: "Generate Lines..." offers the spacing of 20 %
// overlap at the present range and altitude and says that swath, and its lines replace the
// plan; "Next Line" / "Previous Line" are enabled only where there is a line to go to; the
// off-line alarm's dialog sets the threshold; "Fit the Plan" shows the plotter, fitted; the
// read-out pane under the status bars shows with a plan and turns red past the alarm. With
// SONVARA_SCREENSHOT_DIR set, the generator's dialog is written there as line-generator.png.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QLabel>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "survey/LineGenerator.h"
#include "ui/gps/CGPSTrackView.h"
#include "ui/gps/GpsWindows.h"
#include "ui/survey/LineGeneratorDialog.h"

namespace {

class SurveyCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        DocumentBuilder(doc).Heads({kHeadL, kHeadM, kHeadH, kHeadES}).Range(50).Altitude(14, 14);
        doc.ReplaceSurveyLines({{"North", {{54.0, 9.0}, {54.01, 9.0}}}});
    }
    // Runs the command; `answer` works the modal dialog it opens.
    void RunWithDialog(int id, const std::function<void(QWidget*)>& answer) {
        bool answered = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && !answered) {
                answered = true;
                answer(modal);
            }
        });
        timer.start(5);
        EXPECT_TRUE(frame.Commands().Execute(id));
        EXPECT_TRUE(answered);
    }
    bool Enabled(int id) { return frame.Commands().State(id).enabled; }

    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
};

TEST_F(SurveyCommandsTest, GenerateLinesOffersTheSpacingOfTwentyPercentOverlap) {
    // 50 m range at 14 m altitude: 48 m of ground range a side, 96 m of swath, 76.8 m apart.
    const double ground = std::sqrt(50.0 * 50.0 - 14.0 * 14.0);
    RunWithDialog(kCmdGenerateLines, [&](QWidget* modal) {
        auto* dialog = qobject_cast<LineGeneratorDialog*>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_NEAR(dialog->findChild<QDoubleSpinBox*>("spacing")->value(), 2 * ground * 0.8, 0.05);
        EXPECT_TRUE(dialog->findChild<QLabel*>("swathText")->text().contains(
            QStringLiteral("Ground swath at 50 m range and 14.0 m altitude: %1 m").arg(2 * ground, 0, 'f', 1)));
        dialog->findChild<QSpinBox*>("count")->setValue(5);
        const QByteArray shots = qgetenv("SONVARA_SCREENSHOT_DIR");
        if (!shots.isEmpty()) dialog->grab().save(QDir(QString::fromUtf8(shots)).filePath("line-generator.png"));
        dialog->accept();
    });
    ASSERT_EQ(doc.survey.plan.lines.size(), 5u);
    EXPECT_EQ(doc.survey.plan.lines[4].name, "North 5");
    EXPECT_EQ(doc.survey.plan.active, 0);
    EXPECT_TRUE(doc.survey.plan.file.empty()) << "not saved yet";

    EXPECT_FALSE(Enabled(kCmdPreviousLine));
    EXPECT_TRUE(Enabled(kCmdNextLine));
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(frame.Commands().Execute(kCmdNextLine));
    EXPECT_EQ(doc.survey.plan.active, 4);
    EXPECT_FALSE(Enabled(kCmdNextLine));
    EXPECT_TRUE(Enabled(kCmdPreviousLine));
}

TEST_F(SurveyCommandsTest, TheAlarmDialogSetsTheThresholdAndFitShowsThePlotter) {
    RunWithDialog(kCmdOffLineAlarm, [](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->intValue(), 10);
        dialog->setIntValue(25);
        dialog->accept();
    });
    EXPECT_EQ(doc.survey.settings.alarmM, 25);

    ASSERT_FALSE(frame.Gps().TrackWindow() && frame.Gps().TrackWindow()->isVisible());
    EXPECT_TRUE(frame.Commands().Execute(kCmdFitPlan));
    ASSERT_TRUE(frame.Gps().TrackWindow());
    EXPECT_TRUE(frame.Gps().TrackWindow()->isVisible());
    EXPECT_TRUE(frame.Gps().TrackView()->Fitted());
    // Without a position the pane names the line and says so.
    frame.UpdateStatusBars();
    EXPECT_TRUE(frame.SteeringPane()->isVisible());
    EXPECT_EQ(frame.SteeringPane()->text(), QStringLiteral("North: no current position"));
}

}  // namespace
