// The real GPS reader thread on pseudo-terminals, as an operator meets a failing receiver:
// the receiver goes away and comes back on another terminal behind the same by-id style link
// ("lost", then "back", once each); binary bytes, a 100 kB line without end and sentences with
// wrong checksums raise the dialog's counters and turn the GPS panes to "GPS lost"; a
// recording made meanwhile holds no stale sentences. The document's clock is the test's, so
// that the three seconds of the threshold pass at once. With SONVARA_SCREENSHOT_DIR set, the
// stale panes and the dialog are written there as gps-stale.png.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPainter>
#include <filesystem>
#include <memory>

#include "PtyReceiver.h"
#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/StatusBarWidget.h"
#include "datafiles/DataFileScan.h"
#include "document/CVantrelDoc.h"
#include "export/PositionExports.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtPlatform.h"
#include "shell/CommandIds.h"
#include "support/DocumentBuilder.h"
#include "support/TempDir.h"
#include "ui/gps/CGPSConfigDlg.h"
#include "ui/gps/GpsWindows.h"

namespace {

// The Qt platform with the tick count in the test's hands.
class ClockedPlatform : public QtPlatform {
public:
    ClockedPlatform() : QtPlatform(Mode::Headless) {}
    std::uint32_t TickCountMs() override { return tick; }
    std::uint32_t tick = 1000;
};

class DeviceNotes : public DocumentObserver {
public:
    void GpsDeviceMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// A fix at 10:00:0s, one minute of latitude further north each second.
std::string Fix(int s) {
    char body[96];
    std::snprintf(body, sizeof body, "GPRMC,1000%02d.00,A,48%02d.000,N,01131.000,E,005.5,010.0,030725,,",
                  s, 7 + s);
    return NmeaSentence(body);
}

// Bytes of no receiver: no '$' is followed by a sentence's five letters.
std::string Binary(std::size_t n) {
    std::string bytes;
    for (std::size_t i = 0; i < n; ++i) bytes.push_back(static_cast<char>((i * 73 + 5) & 0xFF));
    return bytes;
}

class GpsLossLiveTest : public ::testing::Test {
protected:
    GpsLossLiveTest() : doc(platform), reader(doc.gps, [this] { doc.GpsReadDone(); }) {
        platform.SetMessageSink([this](const std::string& text) { boxes.push_back(text); });
        platform.SetTimerListener(&doc);
        DocumentBuilder(doc).GpsReadInterval(200);
        doc.SetGpsReader(&reader);
    }
    ~GpsLossLiveTest() override {
        doc.CloseAllGpsPorts();
        frame.reset();
        doc.SetGpsReader(nullptr);
    }

    bool Open(const std::string& device) {
        DocumentBuilder(doc).GpsDevice(device);
        doc.ReopenGpsPort(doc.gpsConfig.gpsPort);
        return doc.gpsInput.openDevice == device;
    }
    // Waits for n more reads to be reported back.
    bool ReadsPass(std::uint32_t n) {
        const std::uint32_t target = doc.gpsInput.readsDone + n;
        return RunUntil([&] { return doc.gpsInput.readsDone >= target; }, 5000);
    }
    std::string Latitude() {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        return doc.gps.latitudeText;
    }
    GpsLineCounters Counters() {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        return doc.gps.line;
    }
    // An unrecognised sentence with a good checksum that goes on from the '$' the last text
    // ended with: it keeps the line busy without counting as noise, a fix or a sentence batch.
    static std::string Idle() { return NmeaSentence("PSVXI,idle").substr(1) + "$"; }
    // Sends the fix and waits until the document has taken it (its age is then 0). A fix
    // behind earlier noise waits for more bytes (a read decodes as many bytes as it brought),
    // so the line is kept busy, once a read.
    bool TakeFix(PtyReceiver& gps, int s) {
        const std::string latitude = "48." + std::to_string(107 + s).substr(1) + ".000 N";
        if (!gps.Send(Fix(s) + "$")) return false;
        std::uint32_t reads = doc.gpsInput.readsDone;
        return RunUntil(
            [&] {
                if (Latitude() == latitude && doc.GpsStatus().ageMs == 0u) return true;
                if (doc.gpsInput.readsDone != reads) {
                    reads = doc.gpsInput.readsDone;
                    gps.Send(Idle());
                }
                return false;
            },
            5000);
    }

    // A receiver on a terminal of its own. The fixture keeps it until the ports are closed:
    // a terminal closed first would be seen by the reader, which then reopens its name, and
    // the name of a freed terminal is soon another test's.
    PtyReceiver& Receiver() { return *receivers.emplace_back(std::make_unique<PtyReceiver>()); }

    ClockedPlatform platform;
    CVantrelDoc doc;
    QtGpsReader reader;
    std::unique_ptr<CMainFrame> frame;
    std::vector<std::string> boxes;
    std::vector<std::unique_ptr<PtyReceiver>> receivers;
};

TEST_F(GpsLossLiveTest, ReceiverGoneAndBackOnANewTerminalIsLostThenBack) {
    DeviceNotes notes;
    doc.SetObserver(&notes);
    TempDir dir;
    const std::string link = dir.File("usb-Sonvara_GNSS-if00");
    PtyReceiver& first = Receiver();
    ASSERT_FALSE(first.path.empty());
    std::filesystem::create_symlink(first.path, link);
    ASSERT_TRUE(Open(link)) << (boxes.empty() ? "" : boxes[0]);
    ASSERT_TRUE(TakeFix(first, 0));

    // The receiver is unplugged: its by-id link goes, then its terminal closes. The link must
    // go first: a terminal number freed here is soon taken by another test's terminal, and a
    // link left to it would let this reader open that one.
    std::filesystem::remove(link);
    receivers.front().reset();
    const std::string lost = "GPS device " + link + " lost";
    ASSERT_TRUE(RunUntil([&] { return !notes.messages.empty(); }, 5000));
    EXPECT_EQ(notes.messages, std::vector<std::string>{lost});
    ASSERT_TRUE(ReadsPass(4));  // each read tries to reopen it, and says nothing more
    EXPECT_EQ(notes.messages, std::vector<std::string>{lost});
    EXPECT_TRUE(doc.GpsStatus().deviceLost);

    // Plugged in again: a new terminal, found under the same name.
    PtyReceiver& second = Receiver();
    ASSERT_FALSE(second.path.empty());
    std::filesystem::create_symlink(second.path, link);
    ASSERT_TRUE(RunUntil([&] { return notes.messages.size() >= 2; }, 5000));
    EXPECT_EQ(notes.messages, (std::vector<std::string>{lost, "GPS device " + link + " is back"}));
    EXPECT_FALSE(doc.GpsStatus().deviceLost);
    EXPECT_TRUE(TakeFix(second, 3));
    EXPECT_TRUE(boxes.empty()) << boxes[0];
    doc.SetObserver(nullptr);
}

TEST_F(GpsLossLiveTest, NoiseRaisesTheCountersAndThePanesTurnStale) {
    frame = std::make_unique<CMainFrame>(doc);
    frame->show();
    PtyReceiver& gps = Receiver();
    ASSERT_TRUE(Open(gps.path));
    frame->Commands().Execute(kCmdGpsPortSettings);
    CGPSConfigDlg* dialog = frame->Gps().ConfigDialog();
    ASSERT_TRUE(dialog->isVisible());
    ASSERT_TRUE(TakeFix(gps, 0));
    const std::uint32_t fixTick = platform.tick;

    // 10 kB of binary, a 100 kB line that never ends, three sentences with wrong checksums.
    const std::string binary = Binary(10000);
    const std::string longLine = "$GPTXT," + std::string(100000, 'x');
    std::string corrupted = Fix(1);
    corrupted[corrupted.find('A')] = 'a';
    gps.Feed(binary + longLine + corrupted + corrupted + corrupted + "$");
    // With the '$' that ended the fix's text, which begins the first piece of noise.
    const std::uint64_t noise = 1 + binary.size() + longLine.size();
    std::uint32_t reads = doc.gpsInput.readsDone;
    const bool counted = RunUntil(
        [&] {
            const GpsLineCounters now = Counters();
            if (now.checksumFailures >= 3 && now.nonNmeaBytes >= noise) return true;
            if (gps.Written() && doc.gpsInput.readsDone != reads) {
                reads = doc.gpsInput.readsDone;
                gps.Send(Idle());
            }
            return false;
        },
        30000);
    ASSERT_TRUE(counted) << Counters().checksumFailures << " " << Counters().nonNmeaBytes;
    EXPECT_TRUE(gps.FedWhole());
    EXPECT_EQ(Counters().checksumFailures, 3u);
    EXPECT_EQ(Counters().nonNmeaBytes, noise);

    // The receiver's last position grows old: past the threshold the panes say so.
    StatusBarWidget* first = frame->FirstStatus();
    StatusBarWidget* second = frame->SecondStatus();
    EXPECT_FALSE(second->PaneWarns(16));
    platform.tick = fixTick + 3000;
    ASSERT_TRUE(ReadsPass(2));
    EXPECT_FALSE(second->PaneWarns(16)) << "not older than the threshold yet";
    platform.tick = fixTick + 12000;
    ASSERT_TRUE(RunUntil([&] { return second->PaneWarns(16); }, 5000));
    for (const auto& [bar, pane] : {std::pair{first, 16}, {second, 16}, {second, 19}, {second, 21}}) {
        EXPECT_EQ(bar->PaneText(pane).toStdString(), "GPS lost 12 s") << pane;
        EXPECT_TRUE(bar->PaneWarns(pane)) << pane;
    }
    ASSERT_TRUE(ReadsPass(1));  // the dialog follows at the next read
    EXPECT_EQ(dialog->fixAgeEdit->text().toStdString(), "GPS lost 12 s (no position received)");
    EXPECT_EQ(dialog->checksumEdit->text().toStdString(), "3");
    EXPECT_EQ(dialog->noiseEdit->text().toStdString(), std::to_string(noise));
    EXPECT_EQ(dialog->deviceEdit->text().toStdString(), gps.path + ": open");

    const QByteArray shots = qgetenv("SONVARA_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        // The dialog above the two status bars of the main window.
        const QImage window = frame->grab().toImage();
        const int barsTop = first->mapTo(frame.get(), QPoint(0, 0)).y() - 4;
        const QImage bars = window.copy(0, barsTop, window.width(), window.height() - barsTop);
        const QImage box = dialog->grab().toImage();
        QImage shot(std::max(bars.width(), box.width()), bars.height() + box.height() + 8,
                    QImage::Format_RGB32);
        shot.fill(QColor(200, 200, 200));
        QPainter painter(&shot);
        painter.drawImage(0, 0, box);
        painter.drawImage(0, box.height() + 8, bars);
        painter.end();
        ASSERT_TRUE(shot.save(QString::fromUtf8(shots) + QStringLiteral("/gps-stale.png")));
    }

    // A fix again: the panes are current at once.
    ASSERT_TRUE(TakeFix(gps, 13));
    ASSERT_TRUE(RunUntil([&] { return !second->PaneWarns(16); }, 5000));
}

TEST_F(GpsLossLiveTest, ARecordingMadeDuringALossHoldsNoStaleSentences) {
    TempDir dir;
    DocumentBuilder(doc).Installed({1, 0, 0, 0});
    PtyReceiver& gps = Receiver();
    ASSERT_TRUE(Open(gps.path));
    ASSERT_TRUE(TakeFix(gps, 0));
    const std::uint32_t fixTick = platform.tick;
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("loss.svx")));
    const auto ping = [&] {
        doc.StampCycleTime();
        DocumentBuilder(doc).NoData(false);
        doc.StoreCycle();
    };
    ping();  // 1: the fix
    platform.tick = fixTick + 1000;
    gps.Feed(Binary(4000));  // the receiver babbles, then falls silent
    ASSERT_TRUE(RunUntil([&] { return gps.Written(); }, 5000));
    ASSERT_TRUE(ReadsPass(2));
    platform.tick = fixTick + 3500;
    ASSERT_TRUE(ReadsPass(1));
    ping();  // 2 and 3: lost
    ping();
    platform.tick = fixTick + 4500;
    ASSERT_TRUE(TakeFix(gps, 5));
    ping();  // 4: back
    doc.StopRecording();
    EXPECT_EQ(doc.recording.recordsWritten, 4);
    EXPECT_EQ(doc.recording.recordsWithoutGps, 2);

    DataFileSummary summary;
    std::string error;
    ASSERT_TRUE(ScanDataFile(dir.File("loss.svx"), summary, error)) << error;
    ASSERT_EQ(summary.records.size(), 4u);
    EXPECT_TRUE(summary.records[0].gps);
    EXPECT_FALSE(summary.records[1].gps);
    EXPECT_FALSE(summary.records[2].gps);
    EXPECT_TRUE(summary.records[3].gps);
    TrackFixCollector track;
    ASSERT_TRUE(svx::CollectDataFileTrack(dir.File("loss.svx"), track, {}).Ok());
    ASSERT_EQ(track.Fixes().size(), 2u);
    EXPECT_EQ(track.Fixes()[0].time, "10:00:00.000");
    EXPECT_EQ(track.Fixes()[1].time, "10:00:05.000");
    EXPECT_EQ(track.Gaps().Note(), "2 records carry no GPS sentence: pings 2-3");
}

}  // namespace
