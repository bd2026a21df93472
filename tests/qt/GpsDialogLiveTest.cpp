// The GPS dialog with the real reader and real devices: the "Com Port" list holds only the
// ports that open, found off the window thread, each with its stable by-id name beside it; the
// received list follows every read even when only unrecognised sentences arrive and no sonar
// cycle runs.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QSignalSpy>
#include <filesystem>

#include "PtyReceiver.h"
#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtPlatform.h"
#include "shell/CommandIds.h"
#include "support/TempDir.h"
#include "ui/gps/CGPSConfigDlg.h"
#include "ui/gps/GpsWindows.h"

namespace {

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

TEST(GpsDialogLiveTest, ReceivedSentencesShowNoiseAsDotsAndNoLineEnd) {
    const std::pair<std::string, QString> cases[] = {
        {"$GPHDT,274.07,T*03\r", "$GPHDT,274.07,T*03"},
        {std::string("$\x01\xff\xc3\xa9" "ab\n"), QString::fromUtf8("$\u00b7\u00b7\u00b7\u00b7ab")},
        {"", ""},
    };
    for (const auto& [received, shown] : cases) EXPECT_EQ(ReceivedText(received), shown);
}

// A device directory of our own: a pseudo-terminal (opens) behind ttyUSB0 and a by-id link,
// a node that is a plain file (a ttyS without a UART: does not open) and one that points
// nowhere.
TEST(GpsDialogLiveTest, PortListHoldsOnlyPortsThatOpenWithTheirByIdNames) {
    PtyReceiver gps;
    ASSERT_FALSE(gps.path.empty());
    TempDir dev;
    std::filesystem::create_symlink(gps.path, dev.File("ttyUSB0"));
    TempDir::WriteText(dev.File("ttyS0"), "");
    std::filesystem::create_symlink(dev.File("gone"), dev.File("ttyS1"));
    std::filesystem::create_directories(dev.File("serial/by-id"));
    std::filesystem::create_symlink("../../ttyUSB0", dev.File("serial/by-id/usb-GNSS-if00"));

    QtPlatform platform(QtPlatform::Mode::Headless);
    CVantrelDoc doc(platform);
    doc.gpsConfig.gpsDevice = "/dev/pts/sonvara-configured";
    CGPSConfigDlg dialog(doc, nullptr);
    dialog.deviceRoot = dev.path;
    QSignalSpy probed(&dialog, &CGPSConfigDlg::PortsProbed);
    dialog.Open();
    // The list is there at once with the configured device; the probe runs meanwhile, and
    // its result can only come back through the event loop.
    EXPECT_EQ(Items(dialog.portList), QStringList{"/dev/pts/sonvara-configured"});
    ASSERT_TRUE(probed.wait(5000));
    const QString usb = QString::fromStdString(dev.File("ttyUSB0") + "  [" +
                                               dev.File("serial/by-id/usb-GNSS-if00") + "]");
    EXPECT_EQ(Items(dialog.portList), (QStringList{usb, "/dev/pts/sonvara-configured"}));
    EXPECT_EQ(dialog.portList->currentIndex(), 1);
    // Choosing the receiver stores its stable name.
    Q_EMIT dialog.portList->activated(0);
    EXPECT_EQ(dialog.Model().Choice().device, dev.File("serial/by-id/usb-GNSS-if00"));
    dialog.hide();
}

TEST(GpsDialogLiveTest, ReceivedListFollowsUnrecognisedSentencesWithoutCycles) {
    PtyReceiver gps;
    ASSERT_FALSE(gps.path.empty());
    QtPlatform platform(QtPlatform::Mode::Headless);
    CVantrelDoc doc(platform);
    platform.SetTimerListener(&doc);
    CMainFrame frame(doc);
    frame.show();
    QtGpsReader reader(doc.gps, [&doc] { doc.GpsReadDone(); });
    doc.SetGpsReader(&reader);
    doc.gpsConfig.gpsReadInterval = 200;
    doc.gpsConfig.gpsDevice = gps.path;
    doc.ReopenGpsPort(doc.gpsConfig.gpsPort);
    ASSERT_EQ(doc.gpsInput.openDevice, gps.path);
    frame.Commands().Execute(kCmdGpsPortSettings);
    CGPSConfigDlg* dialog = frame.Gps().ConfigDialog();
    bool followed = true;
    for (int n = 1; n <= 3 && followed; ++n) {
        const std::string sentence =
            NmeaSentence("PGRMT,GPS 15x-W software version 2.7" + std::to_string(n));
        ASSERT_TRUE(gps.Send(sentence + "$"));
        const QString expected = QString::fromStdString(sentence.substr(0, sentence.size() - 2));
        followed = RunUntil([&] { return dialog->received->Sentences().contains(expected); }, 5000);
    }
    doc.CloseAllGpsPorts();
    doc.SetGpsReader(nullptr);
    EXPECT_TRUE(followed);
    EXPECT_EQ(doc.acceptedCycleCount, 0);
}

}  // namespace
