// The GPS on the document's clock: the fix ages and turns lost after the threshold, pings
// stamped meanwhile take no old position, a recording made during a loss holds no stale
// sentences and plays back and exports with the gap, the device's losses and returns are said
// once each, and every read refreshes the GPS dialog and panes.

#include <gtest/gtest.h>

#include "app/StatusBars.h"
#include "common/TextFormat.h"
#include "datafiles/DataFileScan.h"
#include "datafiles/DataFilesFixture.h"
#include "document/CVantrelDoc.h"
#include "export/PositionExports.h"
#include "export/XtfExport.h"
#include "gps/FakeGpsLink.h"
#include "gps/NmeaTestSupport.h"
#include "platform/TimerIds.h"

namespace {

class GpsNotes : public NotedObserver {
public:
    void GpsStatusChanged() override { ++statusChanges; }
    void GpsDeviceMessage(const std::string& text) override { deviceMessages.push_back(text); }
    int statusChanges = 0;
    std::vector<std::string> deviceMessages;
};

// A fix at 10:00:0s, one minute of latitude further north each second.
std::string Fix(int s) {
    const std::string body = Printf("GPRMC,1000%02d.00,A,48%02d.000,N,01131.000,E,005.5,010.0,030725,,",
                                    s, 7 + s);
    return Nmea(body);
}

std::string Binary(std::size_t n) {
    std::string bytes;
    for (std::size_t i = 0; i < n; ++i) bytes.push_back(static_cast<char>((i * 73 + 5) & 0xFF));
    return bytes;
}

class GpsFreshnessTest : public DataFilesFixture {
protected:
    GpsFreshnessTest() : link(doc.gps) {
        doc.SetObserver(&notes);
        MakeFourHeadState(false);
        doc.SetGpsReader(&link);
        link.present = {"/dev/ttyS0"};
        doc.ReopenGpsPort(1);
        Advance(0);
    }
    ~GpsFreshnessTest() override { doc.SetGpsReader(nullptr); }

    // Fake time: the tick count and the local clock (from 10:00:00.000) move together.
    void Advance(std::uint32_t ms) {
        platform.tick += ms;
        platform.now.year = 2025, platform.now.month = 7, platform.now.day = 3;
        platform.now.hour = 10;
        platform.now.minute = static_cast<int>(platform.tick / 60000);
        platform.now.second = static_cast<int>(platform.tick / 1000 % 60);
        platform.now.millisecond = static_cast<int>(platform.tick % 1000);
    }
    // One read of the port and its report back.
    void Read(const std::string& text) {
        link.queued = text;
        platform.FireTimer(kTimerGpsRead);
        doc.GpsReadDone();
    }
    // One accepted real-time cycle, stamped now; returns its latitude and speed stamps.
    std::pair<std::string, std::string> Ping() {
        doc.StampCycleTime();
        doc.noDataFlag = 0;
        doc.StoreCycle();
        const HistoryRecord& r = doc.history.Record(doc.history.IndexBack(1));
        return {std::string(r.texts[kNavLatitude].View()), std::string(r.texts[kNavSpeed].View())};
    }

    GpsNotes notes;
    FakeLink link;
};

TEST_F(GpsFreshnessTest, FixTurnsLostOnceOlderThanTheThreshold) {
    EXPECT_FALSE(doc.GpsStatus().ageMs);
    Read(Fix(0) + "$");
    EXPECT_EQ(doc.GpsStatus().ageMs, 0u);
    Advance(3000);
    Read(Binary(500));  // the line is busy, but with nothing of a receiver
    EXPECT_EQ(doc.GpsStatus().ageMs, 3000u);
    EXPECT_FALSE(doc.GpsStatus().Lost());
    Advance(1);
    EXPECT_TRUE(doc.GpsStatus().Lost());

    // Sentences that flag no fix keep it lost, and say why. (A read decodes as many bytes as
    // it brought: the first sentence after the noise waits for the second read.)
    Advance(9000);
    Read(Nmea("GPRMC,100012.00,V,,,,,,,030725,,") + "$");
    Read(Nmea("GPRMC,100012.00,V,,,,,,,030725,,").substr(1) + "$");
    GpsFixStatus status = doc.GpsStatus();
    EXPECT_TRUE(status.Lost());
    EXPECT_TRUE(status.receiverSaysNoFix);
    EXPECT_EQ(GpsLostText(*status.ageMs), "GPS lost 12 s");

    Read(Fix(12) + "$");
    EXPECT_FALSE(doc.GpsStatus().Lost());

    // Three slow reads count for more than the setting.
    doc.gpsConfig.gpsReadInterval = 2000;
    EXPECT_EQ(doc.GpsStatus().thresholdMs, 6000u);
    Advance(5000);
    EXPECT_FALSE(doc.GpsStatus().Lost());

    // A reset of the GPS data forgets the fix: "n/a", not lost.
    doc.ResetGpsData(false);
    EXPECT_FALSE(doc.GpsStatus().ageMs);
}

TEST_F(GpsFreshnessTest, StatusPanesSayGpsLostInTheWarningColour) {
    Read(Fix(0) + "$");
    StatusInputs in;
    in.latitude = "48.07.000 N";
    in.speed = "5.5 Knots";
    Advance(400);
    ApplyGpsStatus(in, doc.GpsStatus());
    EXPECT_FALSE(in.gpsLost);
    EXPECT_EQ(in.gpsTip, "GPS fix 0.4 s old");
    EXPECT_EQ(in.latitude, "48.07.000 N");
    Advance(12000);
    ApplyGpsStatus(in, doc.GpsStatus());
    const StatusBarPanes first = FirstStatusBar(doc, in);
    const StatusBarPanes second = SecondStatusBar(doc, in);
    struct Pane {
        const StatusBarPanes& bar;
        int index;
    };
    // Long (first bar); Lat, Speed and the course text (second bar).
    for (const Pane& p : {Pane{first, 16}, Pane{second, 16}, Pane{second, 19}, Pane{second, 21}}) {
        EXPECT_EQ(p.bar[p.index].text, "GPS lost 12 s") << p.index;
        EXPECT_TRUE(p.bar[p.index].warning) << p.index;
        EXPECT_EQ(p.bar[p.index].tip.rfind("GPS lost 12 s: no position received", 0), 0u)
            << p.bar[p.index].tip;
    }
    EXPECT_FALSE(second[2].warning);  // the other panes keep their colour
    EXPECT_FALSE(first[19].warning);
}

TEST_F(GpsFreshnessTest, ARecordingMadeDuringALossHoldsNoStaleSentences) {
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("loss.svx")));
    std::vector<std::pair<std::string, std::string>> stamps;
    Read(Fix(0) + "$");
    stamps.push_back(Ping());  // ping 1, t = 0
    Advance(1000);
    stamps.push_back(Ping());  // ping 2, t = 1 s: current
    Advance(500);
    Read(Binary(4000) + std::string(3000, 'x'));  // noise and a line without end
    Advance(2000);
    stamps.push_back(Ping());  // ping 3, t = 3.5 s: lost
    Advance(500);
    stamps.push_back(Ping());  // ping 4
    Advance(500);
    Read(Fix(5) + "$");  // back; decoded by the next read, behind the noise
    Read(Fix(5).substr(1) + "$");
    stamps.push_back(Ping());  // ping 5
    doc.StopRecording();

    EXPECT_EQ(doc.recording.recordsWritten, 5);
    EXPECT_EQ(doc.recording.recordsWithoutGps, 2);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"48.07.000 N", "5.5 Knots"}, {"48.07.000 N", "5.5 Knots"}, {"n/a", "n/a"},
        {"n/a", "n/a"},               {"48.12.000 N", "5.5 Knots"}};
    EXPECT_EQ(stamps, expected);

    DataFileSummary summary;
    std::string error;
    ASSERT_TRUE(ScanDataFile(dir.File("loss.svx"), summary, error)) << error;
    ASSERT_EQ(summary.records.size(), 5u);
    const bool carried[] = {true, true, false, false, true};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(summary.records[i].gps, carried[i]) << i;

    // The exports see the gap.
    TrackFixCollector track;
    const svx::ExportReport report = svx::CollectDataFileTrack(dir.File("loss.svx"), track, {});
    ASSERT_TRUE(report.Ok()) << report.error;
    EXPECT_EQ(track.Fixes().size(), 2u);
    EXPECT_EQ(track.Gaps().Note(), "2 records carry no GPS sentence: pings 3-4");
    const svx::ExportReport xtf =
        svx::ExportXtf(dir.File("loss.svx"), dir.File("loss.xtf"), {});
    ASSERT_TRUE(xtf.Ok()) << xtf.error;
    EXPECT_EQ(xtf.withoutFix, 2u);
    ASSERT_FALSE(xtf.notes.empty());
    EXPECT_EQ(xtf.notes.front(), "2 records carry no GPS sentence: pings 3-4");

    // Playback sees it: the gap's pings are lost and stamped without a position.
    FakePlatform otherPlatform;
    CVantrelDoc played(otherPlatform);
    FakeLink otherLink(played.gps);
    played.SetGpsReader(&otherLink);
    ASSERT_TRUE(played.OpenPlaybackFile(dir.File("loss.svx")));
    const bool lost[] = {false, false, true, true, false};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(played.PlayNextRecord(), RecordRead::Record);
        const HistoryRecord& r = played.history.Record(played.history.IndexBack(1));
        EXPECT_EQ(played.GpsStatus().Lost(), lost[i]) << i;
        EXPECT_EQ(r.texts[kNavLatitude].View(), expected[static_cast<std::size_t>(i)].first) << i;
    }
    played.SetGpsReader(nullptr);
}

TEST_F(GpsFreshnessTest, DeviceLossesAndReturnsAreSaidOnceEachInOrder) {
    auto reader = [this](bool lost, std::uint32_t losses, std::uint32_t returns) {
        {
            std::lock_guard<std::mutex> guard(doc.gps.lock);
            doc.gps.device = {"/dev/serial/by-id/usb-GPS", lost, losses, returns};
        }
        Read("");
    };
    reader(true, 1, 0);
    reader(true, 1, 0);  // still lost: nothing more is said
    reader(false, 1, 1);
    reader(false, 2, 2);  // lost and back between two reads
    reader(true, 3, 3);   // back and lost again between two reads
    EXPECT_EQ(notes.deviceMessages,
              (std::vector<std::string>{"GPS device /dev/serial/by-id/usb-GPS lost",
                                        "GPS device /dev/serial/by-id/usb-GPS is back",
                                        "GPS device /dev/serial/by-id/usb-GPS lost",
                                        "GPS device /dev/serial/by-id/usb-GPS is back",
                                        "GPS device /dev/serial/by-id/usb-GPS is back",
                                        "GPS device /dev/serial/by-id/usb-GPS lost"}));
    EXPECT_TRUE(doc.GpsStatus().deviceLost);

    // Reopening by the operator starts afresh: what happened to the old port is not said.
    {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        doc.gps.device.losses = 9;
    }
    doc.ReopenGpsPort(1);
    Read("");
    EXPECT_EQ(notes.deviceMessages.size(), 6u);
}

TEST_F(GpsFreshnessTest, EveryReadRefreshesTheDialogAndReopeningClearsTheCounters) {
    std::string corrupted = Fix(0);
    corrupted[12] = '7';
    const int before = notes.statusChanges;
    Read(Nmea("PGRMT,GPS 15x-W software version 2.70") + "$");  // no sentence to decode
    Read("");
    Read(corrupted.substr(1) + "$");  // the stream goes on from the last read's '$'
    EXPECT_EQ(notes.statusChanges, before + 3);
    EXPECT_EQ(doc.gps.line.checksumFailures, 1u);
    Read(std::string("\x01\x02\x03") + "$");
    EXPECT_EQ(doc.gps.line.nonNmeaBytes, 4u);  // the '$' kept back by the last read, and three
    doc.ReopenGpsPort(1);
    EXPECT_EQ(doc.gps.line.checksumFailures, 0u);
    EXPECT_EQ(doc.gps.line.nonNmeaBytes, 0u);
}

}  // namespace
