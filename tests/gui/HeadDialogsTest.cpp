// The "Diagnostics" window and the "Transmit" dialog of the main window: their commands, what
// they show, when the diagnostics refresh, the accelerators in the diagnostics window, and the
// playback pause around the transmit dialog.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "acquisition/SwitchCommand.h"
#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "shell/CommandIds.h"
#include "support/FakePlatform.h"
#include "ui/acquisition/CDiagnosticsDlg.h"
#include "ui/acquisition/CXmitDlg.h"
#include "ui/acquisition/HeadDialogs.h"

namespace {

class HeadDialogsTest : public ::testing::Test {
protected:
    HeadDialogsTest() {
        const int all[4] = {1, 1, 1, 1};
        doc.ConfigureHeads(all);
        const std::uint8_t masks[4] = {0, 2, 1, 1};
        for (int h = 0; h < kHeadCount; ++h) doc.heads[h].transmitOffMask = masks[h];
    }
    CDiagnosticsDlg* OpenDiagnostics() {
        EXPECT_TRUE(frame.Router().Execute(kCmdDiagnostics));
        CDiagnosticsDlg* dialog = frame.Heads().Diagnostics();
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    // Runs the transmit command; `inside` sees the open dialog and closes it.
    void RunTransmit(const std::function<void(CXmitDlg&)>& inside) {
        bool seen = false;
        QTimer::singleShot(0, &frame, [&] {
            auto* dialog = qobject_cast<CXmitDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            inside(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        EXPECT_TRUE(frame.Router().Execute(kCmdTransmitEnable));
        EXPECT_TRUE(seen);
    }

    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
};

TEST_F(HeadDialogsTest, DiagnosticsOpenOnceAndTheCommandWaitsWhileTheyShow) {
    EXPECT_TRUE(frame.Router().State(kCmdDiagnostics).enabled);
    CDiagnosticsDlg* dialog = OpenDiagnostics();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Diagnostics");
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(frame.Router().State(kCmdDiagnostics).enabled);
    // Opening filled every value.
    EXPECT_EQ(dialog->Value(1028), "0x00, 0x02, 0x01, 0x01");
    EXPECT_EQ(dialog->Value(1100), "50 m,   50 m");
    EXPECT_EQ(dialog->Value(1008), "N,  N,  N,  N");
    dialog->hide();
    EXPECT_TRUE(frame.Router().State(kCmdDiagnostics).enabled);
    EXPECT_EQ(OpenDiagnostics(), dialog) << "the same window comes back";
}

TEST_F(HeadDialogsTest, EveryLabelAndItsValueControl) {
    CDiagnosticsDlg dialog(doc, {});
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->objectName().isEmpty()) labels << label->text();
    }
    EXPECT_EQ(
        labels,
        (QStringList{"Header:", "Serial Stat:", "Frequency:", "RealTime PRF:", "Gain:", "Range:",
                     "Connection:", "Loop Time:", "Disp Time:", "Run Mode:", "Serial Number:"}));
    for (int id : {1003, 1006, 1092, 1015, 1108, 1100, 1008, 1017, 1019, 1028, 1007}) {
        EXPECT_EQ(dialog.Value(id), "n/a") << "before the first refresh: " << id;
    }
    EXPECT_EQ(dialog.Value(1234), "");
}

TEST_F(HeadDialogsTest, DiagnosticsFollowCyclesOnlyWhileShown) {
    CDiagnosticsDlg* dialog = OpenDiagnostics();
    ASSERT_NE(dialog, nullptr);
    doc.units = 1;
    doc.range = 100;
    ViewFeedback slowPaint;
    slowPaint.drawTimeAverage = 12;
    doc.SetViewFeedback(slowPaint);
    doc.StoreCycle();  // a processed ping refreshes them
    EXPECT_EQ(dialog->Value(1100), "300 ft,   150 ft");
    EXPECT_EQ(dialog->Value(1019), "12 ms");
    dialog->hide();
    doc.range = 200;
    doc.StoreCycle();
    EXPECT_EQ(dialog->Value(1100), "300 ft,   150 ft") << "a hidden window is left alone";
    OpenDiagnostics();
    EXPECT_EQ(dialog->Value(1100), "600 ft,   150 ft") << "and refreshed when it opens again";
}

TEST_F(HeadDialogsTest, AcceleratorsWorkInTheDiagnosticsWindow) {
    frame.show();
    CDiagnosticsDlg* dialog = OpenDiagnostics();
    ASSERT_NE(dialog, nullptr);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    EXPECT_EQ(doc.images.held, 0);
    QTest::keyClick(dialog, Qt::Key_H);
    EXPECT_EQ(doc.images.held, 1) << "H holds the display";
    QTest::keyClick(dialog, Qt::Key_H);
    EXPECT_EQ(doc.images.held, 0);
}

TEST_F(HeadDialogsTest, DiagnosticsGoWithTheDocument) {
    QPointer<CDiagnosticsDlg> dialog = OpenDiagnostics();
    ASSERT_FALSE(dialog.isNull());
    frame.close();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(frame.Heads().Diagnostics(), nullptr);
}

TEST_F(HeadDialogsTest, TransmitBoxesShowTheMasksAndOkRebuildsTheCommands) {
    doc.heads[kHeadM].frequencyHz = 260000;
    RunTransmit([&](CXmitDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Transmit");
        EXPECT_EQ(dialog.pos(), QPoint(500, 500));
        EXPECT_EQ(dialog.RowLabel(kHeadM)->text(), "260 kHz");
        EXPECT_EQ(dialog.RowLabel(kHeadES)->text(), "ES");
        // Every box checked but 260 kHz Port, 540 kHz Stbd and ES.
        for (int id : {1406, 1407, 1420, 1409}) EXPECT_TRUE(dialog.Box(id)->isChecked()) << id;
        for (int id : {1415, 1411, 1413}) EXPECT_FALSE(dialog.Box(id)->isChecked()) << id;
        for (int id : {1406, 1407, 1415, 1420, 1409, 1411, 1413}) {
            EXPECT_TRUE(dialog.Box(id)->isEnabled()) << id;
        }
        dialog.Box(1406)->setChecked(false);
        dialog.Box(1407)->setChecked(false);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(doc.heads[kHeadL].transmitOffMask, 3);
    EXPECT_EQ(doc.heads[kHeadL].command[switchcmd::kTransmitOff], 3);
    EXPECT_EQ(doc.heads[kHeadM].transmitOffMask, 2);
}

TEST_F(HeadDialogsTest, TransmitCancelChangesNothing) {
    RunTransmit([&](CXmitDlg& dialog) {
        dialog.Box(1413)->setChecked(true);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    EXPECT_EQ(doc.heads[kHeadES].transmitOffMask, 1);
}

TEST_F(HeadDialogsTest, TransmitInPlaybackShowsDisabledBoxesAndPausesThePlayback) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("t.svx").toStdString();
    ASSERT_TRUE(doc.StartRecordingTo(path));
    doc.noDataFlag = 0;
    for (int i = 0; i < 3; ++i) doc.StoreCycle();
    doc.StopRecording();
    ASSERT_TRUE(doc.OpenPlaybackFile(path));
    platform.FireTimer(kTimerPlaybackDelay);
    ASSERT_TRUE(platform.TimerRunning(kTimerPlayback));
    bool paused = false;
    RunTransmit([&](CXmitDlg& dialog) {
        paused = !platform.TimerRunning(kTimerPlayback);
        for (int id : {1406, 1407, 1415, 1420, 1409, 1411, 1413}) {
            EXPECT_FALSE(dialog.Box(id)->isEnabled()) << id;
        }
        EXPECT_FALSE(dialog.Box(1415)->isChecked()) << "the masks still show";
    });
    EXPECT_TRUE(paused);
    // Playback goes on 100 ms after the dialog closed.
    EXPECT_TRUE(platform.TimerRunning(kTimerPlaybackDelay));
    EXPECT_EQ(platform.TimerPeriod(kTimerPlaybackDelay), 100);
}

}  // namespace
