// The "Event Information" dialog over a played file: a double-click hands the row to the main
// window, OK marks the record of that ping in the file and writes the event file, DELETE in
// the review clears both again.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <set>

#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/MenuBuilder.h"
#include "common/ByteOrder.h"
#include "common/TextFormat.h"
#include "datafiles/DataRecordFormat.h"
#include "datafiles/RecordIndex.h"
#include "document/CVantrelDoc.h"
#include "imaging/SideGeometry.h"
#include "platform/TimerIds.h"
#include "shell/CommandIds.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "ui/datafiles/CAnnotation.h"
#include "ui/imaging/CVantrelView.h"

namespace {

class EventDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }

    // Records cycles of a three-frequency system whose record length changes (the system
    // information comes with every third record), then plays the file into the composite.
    void PlayAFileOfChangingRecords() {
        const int all[4] = {1, 1, 1, 1};
        doc.ConfigureHeads(all);
        path = dir.filePath("survey.svx").toStdString();
        ASSERT_TRUE(doc.StartRecordingTo(path));
        platform.now.year = 2026, platform.now.month = 6, platform.now.day = 14;
        platform.now.hour = 9, platform.now.minute = 41;
        for (int i = 0; i < 40; ++i) {
            platform.now.second = i;
            doc.StampCycleTime();
            doc.systemInfoReceived = i % 3 == 0 ? 1 : 0;
            doc.noDataFlag = 0;
            platform.tick += 200;
            doc.StoreCycle();
        }
        doc.StopRecording();
        ASSERT_TRUE(doc.OpenPlaybackFile(path));
        ASSERT_EQ(doc.images.compositeMode, 1);
        // What a GPS reader would have decoded for the played pings.
        doc.gps.readerExists = 1;
        doc.gps.latitudeText = "5407.0381 N";
        doc.gps.longitudeText = "01043.1200 E";
        std::int32_t changed = 1;
        doc.SizeCompositeImage(kZoomFillScreen, 800, changed);
        platform.FireTimer(kTimerPlaybackDelay);
        for (int i = 0; i < 30; ++i) platform.FireTimer(kTimerPlayback);
        frame.RefreshCommands();
    }

    int RowOf(int ping) const {
        for (int r = 0; r < doc.images.CompositeImage().Rows(); ++r) {
            if (doc.images.RowStamp(kCompositeSlot, r).pingNumber == ping) return r;
        }
        return -1;
    }

    // The event mark of every record of the file by ping.
    std::map<std::uint32_t, int> Marks() const {
        const std::vector<std::uint8_t> bytes = TempDir::ReadBytes(path);
        svx::MemoryBytes source(bytes.data(), bytes.size());
        std::map<std::uint32_t, int> marks;
        std::set<std::uint32_t> lengths;
        const svx::RecordIndex index = svx::IndexRecords(source);
        for (const svx::IndexedRecord& record : index.Records()) {
            marks[record.ping] = GetLe16(bytes.data() + record.offset + svx::kEventMark);
            lengths.insert(record.length);
        }
        EXPECT_GT(lengths.size(), 1u) << "the record lengths do not change";
        return marks;
    }

    std::string EventFile() const {
        return TempDir::ReadText(dir.filePath("survey.an").toStdString());
    }
    QAction* Action(int id) { return frame.Menus().Action(id); }

    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
    QTemporaryDir dir;
    std::string path;
};

TEST_F(EventDialogTest, AddedEventMarksItsRecordAndDeletingClearsIt) {
    PlayAFileOfChangingRecords();
    ASSERT_TRUE(Action(kCmdEnableEventInput)->isEnabled());
    Action(kCmdEnableEventInput)->trigger();
    ASSERT_TRUE(Action(kCmdEnableEventInput)->isChecked());

    // Any row of the ping names it; the lowest one is taken.
    int row = RowOf(22);
    ASSERT_GE(row, 0);
    while (doc.images.RowStamp(kCompositeSlot, row + 1).pingNumber == 22) ++row;
    // Three quarters across the composite, which follows its window.
    const int width = doc.images.CompositeImage().Width();
    const int x = width * 3 / 4;
    const std::string across = Printf("%.6f", AcrossFraction(x, width, 3));
    frame.BeginNewEvent(row, x);
    CAnnotation* dialog = frame.EventDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Event Information"));
    EXPECT_EQ(dialog->pingEdit->text(), QStringLiteral("22"));
    EXPECT_FALSE(dialog->nextButton->isVisible());
    EXPECT_FALSE(dialog->annotationEdit->isReadOnly());
    // The time of the record of ping 22 as the file holds it.
    const std::vector<std::uint8_t> bytes = TempDir::ReadBytes(path);
    svx::MemoryBytes source(bytes.data(), bytes.size());
    const svx::RecordIndex index = svx::IndexRecords(source);
    const std::uint64_t at = index.FindPing(22)->offset + svx::kTime;
    const std::string recordTime(reinterpret_cast<const char*>(bytes.data() + at), 8);
    EXPECT_EQ(dialog->timeEdit->text().toStdString(), recordTime);
    EXPECT_FALSE(dialog->dateEdit->text().isEmpty());
    EXPECT_EQ(dialog->latitudeEdit->text(), QStringLiteral("5407.0381 N"));
    QTest::keyClicks(dialog->annotationEdit, QStringLiteral("anchor"));
    QTest::keyClick(dialog->annotationEdit, Qt::Key_Return);
    QTest::keyClicks(dialog->annotationEdit, QStringLiteral("chain"));
    if (qEnvironmentVariableIsSet("SONVARA_SCREENSHOT_DIR")) {
        const QString out = QDir(qEnvironmentVariable("SONVARA_SCREENSHOT_DIR"))
                                .filePath(QStringLiteral("event-dialog.png"));
        EXPECT_TRUE(dialog->grab().save(out));
    }
    QTest::mouseClick(dialog->okButton, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());

    const std::map<std::uint32_t, int> marks = Marks();
    for (const auto& [ping, mark] : marks) {
        EXPECT_EQ(mark, ping == 22 ? 0x8000 : 0) << "ping " << ping;
    }
    const std::string text = EventFile();
    EXPECT_EQ(text.substr(0, 14), "0\n22\n" + across + "\n");
    EXPECT_NE(text.find("\n" + recordTime + "\n5407.0381 N\n01043.1200 E\nanchor chain\n"),
              std::string::npos)
        << text;

    // Review, DELETE, Yes: the mark and the event are gone.
    ASSERT_TRUE(Action(kCmdEventReview)->isEnabled());
    Action(kCmdEventReview)->trigger();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->deleteButton->isVisible());
    EXPECT_TRUE(dialog->annotationEdit->isReadOnly());
    EXPECT_EQ(dialog->annotationEdit->toPlainText(), QStringLiteral("anchor chain"));
    platform.yesNoAnswers = {true};
    platform.expectedMessages = {"No more events in this file!"};
    QTest::mouseClick(dialog->deleteButton, Qt::LeftButton);
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_FALSE(dialog->isVisible());
    for (const auto& [ping, mark] : Marks()) EXPECT_EQ(mark, 0) << "ping " << ping;
    EXPECT_EQ(EventFile(), "");
}

TEST_F(EventDialogTest, CancelAndTheEventsMenu) {
    PlayAFileOfChangingRecords();
    Action(kCmdEnableEventInput)->trigger();
    EXPECT_TRUE(Action(kCmdHoldWhenAdding)->isEnabled());
    Action(kCmdHoldWhenAdding)->trigger();
    frame.RefreshCommands();
    EXPECT_TRUE(Action(kCmdHoldWhenAdding)->isChecked());
    EXPECT_EQ(Action(kCmdHoldWhenAdding)->text(), QStringLiteral("&Hold When Adding Events"));
    frame.BeginNewEvent(RowOf(20), 100);
    CAnnotation* dialog = frame.EventDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(doc.events.eventMarkerPath.size(), 1u);
    QTest::mouseClick(dialog->cancelButton, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(doc.events.eventMarkerPath.empty());
    EXPECT_EQ(doc.events.eventList.count, 0);
    for (const auto& [ping, mark] : Marks()) EXPECT_EQ(mark, 0) << "ping " << ping;
    // With no events the review says so.
    platform.expectedMessages = {"No events found in this file!"};
    Action(kCmdEventReview)->trigger();
    EXPECT_TRUE(platform.expectedMessages.empty());
}

TEST_F(EventDialogTest, DoubleClickOnTheCompositeWindowOpensTheEventOfThatRow) {
    PlayAFileOfChangingRecords();
    frame.ApplyConfiguration();
    auto* view = frame.findChild<CVantrelView*>(QStringLiteral("compositeView"));
    ASSERT_NE(view, nullptr) << "no composite window";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    // The view sizes the composite to its window; play on so that its rows hold pings.
    for (int i = 0; i < 10; ++i) platform.FireTimer(kTimerPlayback);
    Action(kCmdEnableEventInput)->trigger();
    // The lowest row of a ping that is in the window (see the first test for why the lowest).
    int row = -1;
    for (int r = view->height() / 2; r >= 0 && row < 0; --r) {
        const int ping = doc.images.RowStamp(kCompositeSlot, r).pingNumber;
        if (ping > 1 && doc.images.RowStamp(kCompositeSlot, r + 1).pingNumber != ping) row = r;
    }
    ASSERT_GE(row, 0) << "no played ping in the window";
    const int ping = doc.images.RowStamp(kCompositeSlot, row).pingNumber;
    QTest::mouseDClick(view, Qt::LeftButton, {}, QPoint(view->width() / 4, row));
    CAnnotation* dialog = frame.EventDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->pingEdit->text(), QString::number(ping));
    // A second double click elsewhere while the event is typed keeps the dialog, its ping and
    // the text typed so far.
    QTest::keyClicks(dialog->annotationEdit, QStringLiteral("first note"));
    QTest::mouseDClick(view, Qt::LeftButton, {}, QPoint(view->width() / 2, row / 2));
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->pingEdit->text(), QString::number(ping));
    EXPECT_EQ(dialog->annotationEdit->toPlainText(), QStringLiteral("first note"));
    EXPECT_EQ(doc.events.eventMarkerPath.size(), 1u);
    QTest::mouseClick(dialog->okButton, Qt::LeftButton);
    EXPECT_NE(EventFile().find("\nfirst note\n"), std::string::npos) << EventFile();
    for (const auto& [p, mark] : Marks()) {
        EXPECT_EQ(mark, static_cast<int>(p) == ping ? 0x8000 : 0) << "ping " << p;
    }
    EXPECT_EQ(EventFile().substr(0, 2 + QString::number(ping).size() + 1),
              "0\n" + std::to_string(ping) + "\n");
}

}  // namespace
