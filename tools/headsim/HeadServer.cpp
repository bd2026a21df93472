#include "HeadServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

HeadServer::HeadServer(sim::SimHead& simHead, LogSink logSink, QObject* parent)
    : QObject(parent), head(simHead), log(std::move(logSink)), server(new QTcpServer(this)) {
    connect(server, &QTcpServer::newConnection, this, &HeadServer::Accept);
}

HeadServer::~HeadServer() {
    // The sockets are children of the server; stop their timers before they go.
    for (auto& [socket, link] : links) link->timer->stop();
}

bool HeadServer::Listen(const QString& address, int port, QString& error) {
    const QHostAddress host(address);
    if (host.isNull()) {
        error = "not an address: " + address;
        return false;
    }
    if (!server->listen(host, static_cast<quint16>(port))) {
        error = address + ":" + QString::number(port) + ": " + server->errorString();
        return false;
    }
    return true;
}

void HeadServer::Accept() {
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        socket->setParent(server);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto link = std::make_unique<Link>();
        link->timer = new QTimer(socket);
        link->timer->setSingleShot(true);
        // The delay stands for the travel time of sound: a coarse timer may end it 5 % early.
        link->timer->setTimerType(Qt::PreciseTimer);
        connect(link->timer, &QTimer::timeout, this, [this, socket] { Pump(socket); });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Drop(socket); });
        links[socket] = std::move(link);
    }
}

void HeadServer::Read(QTcpSocket* socket) {
    const auto it = links.find(socket);
    if (it == links.end()) return;
    const QByteArray bytes = socket->readAll();
    const auto responses =
        head.Receive(it->second->state, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                     static_cast<int>(bytes.size()));
    for (const sim::HeadResponse& response : responses) {
        if (log) log(response.log);
        for (std::size_t i = 0; i < response.segments.size(); ++i) {
            const bool last = i + 1 == response.segments.size();
            it->second->queue.push_back(
                {response.segments[i].delayMs, response.segments[i].bytes, last && response.close});
        }
    }
    Pump(socket);
}

// Sends every segment that is due now and arms the timer for the next one. A segment whose
// delay has been waited for has its delay set to 0, so the timer's expiry sends it.
void HeadServer::Pump(QTcpSocket* socket) {
    const auto it = links.find(socket);
    if (it == links.end()) return;
    Link& link = *it->second;
    if (link.timer->isActive()) return;
    while (!link.queue.empty()) {
        Pending& front = link.queue.front();
        if (front.delayMs > 0) {
            link.timer->start(front.delayMs);
            front.delayMs = 0;
            return;
        }
        const Pending pending = std::move(front);
        link.queue.pop_front();
        socket->write(reinterpret_cast<const char*>(pending.bytes.data()),
                      static_cast<qint64>(pending.bytes.size()));
        if (pending.closeAfter) {
            link.queue.clear();
            // Closes once the written bytes have gone out; may drop the link at once.
            socket->disconnectFromHost();
            return;
        }
    }
}

void HeadServer::Drop(QTcpSocket* socket) {
    const auto it = links.find(socket);
    if (it == links.end()) return;
    it->second->timer->stop();
    links.erase(it);
    socket->deleteLater();
}
