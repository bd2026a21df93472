#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "QtTestSupport.h"
#include "platform/qt/QtHeadSocket.h"

namespace {

// Writes down every notification as "connect 2 0", "receive 2 0", "close 2 0".
struct Recorder : HeadSocketListener {
    void OnConnect(int head, int error) override { Add("connect", head, error); }
    void OnReceive(int head, int error) override { Add("receive", head, error); }
    void OnClose(int head, int error) override { Add("close", head, error); }
    void Add(const char* what, int head, int error) {
        events.push_back(std::string(what) + " " + std::to_string(head) + " " +
                         std::to_string(error));
        if (then) then(what);
    }
    int Count(const std::string& prefix) const {
        return static_cast<int>(std::count_if(
            events.begin(), events.end(), [&](const auto& e) { return e.rfind(prefix, 0) == 0; }));
    }
    std::vector<std::string> events;
    std::function<void(const std::string&)> then;
};

// A peer on 127.0.0.1 at a port of its own.
class Peer {
public:
    Peer() {
        EXPECT_TRUE(server.listen(QHostAddress("127.0.0.1"), 0));
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server.nextPendingConnection()) accepted.push_back(s);
        });
    }
    int Port() const { return server.serverPort(); }
    QTcpSocket* WaitForClient() {
        RunUntil([this] { return !accepted.empty(); }, 5000);
        return accepted.empty() ? nullptr : accepted.back();
    }
    QTcpServer server;
    std::vector<QTcpSocket*> accepted;
};

// A port on which nothing listens (bound once, then released).
int ClosedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress("127.0.0.1"), 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

TEST(QtHeadSocketTest, ConnectIsAsynchronousAndReportedOnce) {
    Peer peer;
    Recorder recorder;
    QtHeadSocket socket(2, &recorder);
    EXPECT_EQ(socket.Connect("127.0.0.1", peer.Port()), CSCSocket::kWouldBlock);
    EXPECT_TRUE(recorder.events.empty()) << "completion comes later, from the event loop";
    ASSERT_TRUE(RunUntil([&] { return !recorder.events.empty(); }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"connect 2 0"});
}

TEST(QtHeadSocketTest, RefusedConnectIsReportedOnceWithAnErrorCode) {
    Recorder recorder;
    QtHeadSocket socket(1, &recorder);
    const int result = socket.Connect("127.0.0.1", ClosedPort());
    if (result == CSCSocket::kWouldBlock) {
        ASSERT_TRUE(RunUntil([&] { return !recorder.events.empty(); }, 5000));
        QTest::qWait(20);
        EXPECT_EQ(recorder.events,
                  std::vector<std::string>{"connect 1 " +
                                           std::to_string(QtHeadSocket::kConnectionRefused)});
    } else {
        // Refused at once: the code is returned and no notification follows.
        EXPECT_EQ(result, QtHeadSocket::kConnectionRefused);
        QTest::qWait(50);
        EXPECT_TRUE(recorder.events.empty());
    }
}

TEST(QtHeadSocketTest, AddressesThatAreNotNumericFailAtOnceWithoutANotification) {
    Recorder recorder;
    QtHeadSocket socket(0, &recorder);
    // Malformed texts only: none of them may lead to a connect anywhere.
    for (const char* address : {"", "sonar-head.local", "127.0.1", "127.1", "127.0.0.256",
                                "127.0.0.1.5", "127.0.0.+1", " 127.0.0.1", "127.0.0.0x1"}) {
        SCOPED_TRACE(address);
        EXPECT_EQ(socket.Connect(address, 4040), QtHeadSocket::kAddressNotAvailable);
    }
    EXPECT_EQ(socket.Connect("127.0.0.1", 0), QtHeadSocket::kAddressNotAvailable);
    QTest::qWait(50);
    EXPECT_TRUE(recorder.events.empty());
}

TEST(QtHeadSocketTest, SendReceiveAndPeerClose) {
    Peer peer;
    Recorder recorder;
    QtHeadSocket socket(3, &recorder);
    ASSERT_EQ(socket.Connect("127.0.0.1", peer.Port()), CSCSocket::kWouldBlock);
    QTcpSocket* head = peer.WaitForClient();
    ASSERT_NE(head, nullptr);
    ASSERT_TRUE(RunUntil([&] { return recorder.Count("connect") == 1; }, 5000));

    const std::uint8_t request[4] = {0xFE, 0x44, 0x00, 0xFD};
    EXPECT_EQ(socket.Send(request, 4), 4);
    ASSERT_TRUE(RunUntil([&] { return head->bytesAvailable() >= 4; }, 5000));
    EXPECT_EQ(head->readAll(), QByteArray("\xFE\x44\x00\xFD", 4));

    std::uint8_t buffer[400];
    EXPECT_EQ(socket.Receive(buffer, 400), 0) << "nothing there: no waiting";
    head->write(QByteArray(300, 'x'));
    ASSERT_TRUE(RunUntil([&] { return recorder.Count("receive 3 0") >= 1; }, 5000));
    RunUntil([&] { return false; }, 30);  // let every byte arrive
    EXPECT_EQ(socket.Receive(buffer, 100), 100);
    EXPECT_EQ(socket.Receive(buffer, 400), 200);
    EXPECT_EQ(socket.Receive(buffer, 400), 0);

    head->disconnectFromHost();
    ASSERT_TRUE(RunUntil([&] { return recorder.Count("close") == 1; }, 5000));
    QTest::qWait(30);
    EXPECT_EQ(recorder.events.back(), "close 3 0");
    EXPECT_EQ(recorder.Count("close"), 1);
    EXPECT_EQ(recorder.Count("connect"), 1);
}

TEST(QtHeadSocketTest, NothingIsDeliveredAfterAnExplicitClose) {
    Peer peer;
    Recorder recorder;
    QtHeadSocket socket(1, &recorder);
    socket.Connect("127.0.0.1", peer.Port());
    QTcpSocket* head = peer.WaitForClient();
    ASSERT_NE(head, nullptr);
    ASSERT_TRUE(RunUntil([&] { return recorder.Count("connect") == 1; }, 5000));
    head->write(QByteArray(50, 'y'));
    socket.Close();
    head->disconnectFromHost();
    QTest::qWait(100);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"connect 1 0"});
    std::uint8_t buffer[64];
    EXPECT_EQ(socket.Receive(buffer, 64), -1);
    EXPECT_EQ(socket.Send(buffer, 64), -1);
}

TEST(QtHeadSocketTest, CloseWhileConnectingCancelsTheCompletion) {
    Peer peer;
    Recorder recorder;
    QtHeadSocket socket(0, &recorder);
    socket.Connect("127.0.0.1", peer.Port());
    socket.Close();
    QTest::qWait(100);
    EXPECT_TRUE(recorder.events.empty());
}

TEST(QtHeadSocketTest, ReconnectingFromInsideANotificationStartsAFreshConnection) {
    // The document closes and reconnects a head from inside its receive notification.
    Peer peer;
    Recorder recorder;
    QtHeadSocket socket(2, &recorder);
    bool reconnected = false;
    recorder.then = [&](const std::string& what) {
        if (what == "receive" && !reconnected) {
            reconnected = true;
            EXPECT_EQ(socket.Connect("127.0.0.1", peer.Port()), CSCSocket::kWouldBlock);
        }
    };
    socket.Connect("127.0.0.1", peer.Port());
    QTcpSocket* first = peer.WaitForClient();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(RunUntil([&] { return recorder.Count("connect") == 1; }, 5000));
    first->write("hello");
    ASSERT_TRUE(RunUntil([&] { return peer.accepted.size() == 2; }, 5000));
    ASSERT_TRUE(RunUntil([&] { return recorder.Count("connect") == 2; }, 5000));
    first->disconnectFromHost();  // the old connection ends: not reported
    QTest::qWait(50);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"connect 2 0", "receive 2 0", "connect 2 0"}));
}

TEST(QtHeadSocketTest, NotificationsCarryTheCurrentHeadIndex) {
    Peer peer;
    Recorder recorder;
    QtHeadSocket socket(0, &recorder);
    socket.headIndex = 3;
    socket.Connect("127.0.0.1", peer.Port());
    ASSERT_TRUE(RunUntil([&] { return !recorder.events.empty(); }, 5000));
    EXPECT_EQ(recorder.events.front(), "connect 3 0");
}

}  // namespace
