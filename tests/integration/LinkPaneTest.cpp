// The main window over the real Qt platform when the address typed in the Connect dialog has
// nothing listening: the status bar says that no head answers, and goes on saying so across
// the retries of the reply timer.

#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtPlatform.h"

namespace {

TEST(LinkPaneTest, AnAddressWithoutAListenerShowsTheHeadAsSilent) {
    QtPlatform platform{QtPlatform::Mode::Headless};
    platform.SetMessageSink([](const std::string& text) {
        ADD_FAILURE() << "unexpected message box: '" << text << "'";
    });
    CVantrelDoc doc(platform);
    CMainFrame frame(doc);
    platform.SetConnectPreset(true, "127.77.40.2");  // nothing listens here
    doc.ConnectToSonarHead();
    ASSERT_TRUE(RunUntil([&] { return frame.LinkPane()->text() == "silent: L"; }, 5000))
        << "pane shows '" << frame.LinkPane()->text().toStdString() << "'";
    EXPECT_EQ(frame.ReconnectPane()->text().toStdString(), "0");
    // The reply timer tries again after 3 s: the head is still shown silent, and the try is
    // counted.
    ASSERT_TRUE(RunUntil([&] { return doc.rebuildCount >= 1; }, 5000));
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), "silent: L");
    EXPECT_EQ(frame.ReconnectPane()->text().toStdString(), std::to_string(doc.rebuildCount));
    EXPECT_EQ(doc.State(), EngineState::Discovering);
    doc.CloseDocument();
}

// A "head" that accepts every connection and drops it at once: the engine reconnects at once
// after the first drop, then only when the reply timer says so, not as fast as the drops come.
TEST(LinkPaneTest, AHeadThatDropsEveryConnectionIsRetriedByTheReplyTimer) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress(QStringLiteral("127.77.41.2")), 4040))
        << server.errorString().toStdString();
    int accepted = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* connection = server.nextPendingConnection()) {
            ++accepted;
            connection->close();
            connection->deleteLater();
        }
    });
    QtPlatform platform{QtPlatform::Mode::Headless};
    platform.SetMessageSink([](const std::string& text) {
        ADD_FAILURE() << "unexpected message box: '" << text << "'";
    });
    CVantrelDoc doc(platform);
    CMainFrame frame(doc);
    platform.SetConnectPreset(true, "127.77.41.2");
    doc.ConnectToSonarHead();
    // Past the first retry of the timer (3 s after the last completed connect).
    ASSERT_TRUE(RunUntil([&] { return accepted >= 3; }, 5000)) << accepted << " connections";
    RunUntil([] { return false; }, 500);
    EXPECT_LE(accepted, 4) << "a reconnection storm";
    EXPECT_EQ(doc.rebuildCount, accepted - 1) << "every reconnection is counted";
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), "silent: L");
    doc.CloseDocument();
}

}  // namespace
