// One head of the real sonvara-headsim stops answering for a while (silent, or answering
// later than the reply timeout): the main window over the real Qt platform goes on with the
// other heads, its link pane names only that head, a recording made meanwhile plays back,
// and the head is polled again once its fault has ended.

#include <QLabel>

#include <gtest/gtest.h>

#include "../support/TempDir.h"
#include "ProcessSupport.h"
#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtPlatform.h"

namespace {

struct HeadFault {
    const char* name;
    int block;
    int head;
    const char* fault;
    bool fast;        // replies without the travel time of the range
    int connectHead;  // whose address is typed in the Connect dialog
    const char* degradedPane;
};

void PrintTo(const HeadFault& fault, std::ostream* out) {
    *out << fault.name;
}

QString Address(int block, int head) {
    return QStringLiteral("127.77.%1.%2").arg(block).arg(head + 2);
}

// The fault lasts this long after the simulator is ready: long enough for two missed rebuilds
// (about 6 s) and a stretch of cycles without the head.
constexpr int kFaultSeconds = 18;

class SilentHeadLiveTest : public ::testing::TestWithParam<HeadFault> {};

TEST_P(SilentHeadLiveTest, TheOtherHeadsGoOnAndTheHeadRejoinsWhenItsFaultEnds) {
    const HeadFault& p = GetParam();
    QStringList args{"--addresses",
                     Address(p.block, 0) + "," + Address(p.block, 1) + "," + Address(p.block, 2) +
                         "," + Address(p.block, 3),
                     "--fault",
                     QString::fromLatin1(p.fault),
                     "--fault-end",
                     QString::number(kFaultSeconds),
                     "--duration",
                     "80"};
    if (p.fast) args << "--fast";
    Simulator sim(args);
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();

    QtPlatform platform{QtPlatform::Mode::Headless};
    platform.SetMessageSink([](const std::string& text) {
        ADD_FAILURE() << "unexpected message box: '" << text << "'";
    });
    CVantrelDoc doc(platform);
    CMainFrame frame(doc);
    platform.SetConnectPreset(true, Address(p.block, p.connectHead).toStdString());
    // 100 m: 133 ms of travel per reply, the margin by which a late reply misses the timeout.
    doc.range = doc.esRange = 100;
    doc.BuildSwitchCommands();
    doc.ConnectToSonarHead();
    const auto faultEnded = [&] {
        sim.error += sim.process.readAllStandardError();
        return sim.error.contains("faults ended");
    };

    // Two rebuilds in which the head missed its reply leave it out of polling.
    ASSERT_TRUE(RunUntil([&] { return !doc.polling.InCycle(p.head) || faultEnded(); }, 20000))
        << "pane '" << frame.LinkPane()->text().toStdString() << "'";
    ASSERT_FALSE(faultEnded()) << "the fault ended before the head was left out";

    // The others complete cycles without it, into a recording.
    TempDir dir;
    const std::string path = dir.File("fault.svx");
    ASSERT_TRUE(doc.StartRecordingTo(path));
    const int accepted = doc.acceptedCycleCount;
    ASSERT_TRUE(RunUntil([&] { return doc.acceptedCycleCount >= accepted + 5; }, 8000));
    ASSERT_FALSE(faultEnded()) << "the fault ended before the others were seen polling alone";
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), p.degradedPane);
    for (int h = 0; h < kHeadCount; ++h) {
        EXPECT_EQ(doc.HeadHasData(h), h != p.head) << h;
    }

    // The fault ends: the head answers its next try and is polled in the cycle again.
    ASSERT_TRUE(RunUntil([&] { return faultEnded() && doc.polling.InCycle(p.head); }, 30000))
        << "pane '" << frame.LinkPane()->text().toStdString() << "'";
    const int rejoined = doc.acceptedCycleCount;
    ASSERT_TRUE(RunUntil([&] { return doc.acceptedCycleCount >= rejoined + 3; }, 8000));
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), "ok: L M H ES");
    doc.StopRecording();
    doc.CloseDocument();

    // The recording plays back: records without the head and records with it.
    QtPlatform playerPlatform{QtPlatform::Mode::Headless};
    playerPlatform.SetMessageSink([](const std::string& text) {
        ADD_FAILURE() << "unexpected message box while playing: '" << text << "'";
    });
    CVantrelDoc player(playerPlatform);
    ASSERT_TRUE(player.OpenPlaybackFile(path));
    int without = 0, with = 0;
    while (player.files.playbackPosition < player.files.playbackFileLength) {
        ASSERT_EQ(player.PlayNextRecord(), RecordRead::Record);
        (player.HeadHasData(p.head) ? with : without) += 1;
    }
    EXPECT_GE(without, 5);
    EXPECT_GE(with, 3);
    EXPECT_EQ(player.rejectedCycleCount, 0);
    EXPECT_TRUE(player.playback.skipped.empty()) << "no damage in the file";
    player.CloseDocument();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SilentHeadLiveTest,
    ::testing::Values(
        // A silent L does not answer the installation's question either: it is asked at M.
        HeadFault{"SilentL", 62, kHeadL, "L:silent", true, kHeadM,
                  "ok: M H ES  silent: L  polling without L"},
        // Replies 3 s late (plus the travel time) always come after the reply timeout.
        HeadFault{"LateH", 63, kHeadH, "H:delay=3000", false, kHeadL,
                  "ok: L M ES  silent: H  polling without H"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
