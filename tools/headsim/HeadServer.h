#pragma once
// One simulated head as a TCP server: accepts connections on its address and port, feeds the
// bytes of each to the head's protocol (SimHead) and sends the reply segments at their times.
// Runs on the thread of its event loop (the main thread of sonvara-headsim, or of a test).

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "SimHead.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

class HeadServer : public QObject {
    Q_OBJECT
public:
    using LogSink = std::function<void(const std::string&)>;

    // `head` must outlive the server; `log` receives one line per request when set.
    HeadServer(sim::SimHead& head, LogSink log, QObject* parent = nullptr);
    ~HeadServer() override;

    // Starts listening; false with a message when the address cannot be bound.
    bool Listen(const QString& address, int port, QString& error);
    int ConnectionCount() const { return static_cast<int>(links.size()); }

private:
    struct Pending {
        int delayMs;
        std::vector<std::uint8_t> bytes;
        bool closeAfter;
    };
    struct Link {
        sim::SimConnection state;
        std::deque<Pending> queue;
        QTimer* timer = nullptr;
    };

    void Accept();
    void Read(QTcpSocket* socket);
    void Pump(QTcpSocket* socket);
    void Drop(QTcpSocket* socket);

    sim::SimHead& head;
    LogSink log;
    QTcpServer* server;
    std::map<QTcpSocket*, std::unique_ptr<Link>> links;
};
