#include "platform/qt/QtHeadSocket.h"

#include <QHostAddress>
#include <QSignalBlocker>
#include <QTcpSocket>

namespace {

int ErrorCode(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return QtHeadSocket::kConnectionRefused;
        case QAbstractSocket::SocketTimeoutError:
            return QtHeadSocket::kTimedOut;
        case QAbstractSocket::NetworkError:
            return QtHeadSocket::kNetworkUnreachable;
        case QAbstractSocket::SocketAddressNotAvailableError:
        case QAbstractSocket::HostNotFoundError:
            return QtHeadSocket::kAddressNotAvailable;
        default:
            return QtHeadSocket::kOtherError;
    }
}

// A numeric address exactly as typed: four decimal numbers 0..255 (the short forms "a.b.c" and
// "a.b" that some parsers accept would reach an address nobody typed), or an IPv6 literal.
bool ParseAddress(const std::string& text, QHostAddress& host) {
    const QString address = QString::fromStdString(text);
    if (address.contains(':')) return host.setAddress(address);
    const QStringList parts = address.split('.');
    if (parts.size() != 4) return false;
    for (const QString& part : parts) {
        bool ok = false;
        if (part.isEmpty() || part.size() > 3 || part.toInt(&ok) > 255 || !ok) return false;
        for (const QChar c : part) {
            if (!c.isDigit()) return false;
        }
    }
    return host.setAddress(address);
}

}  // namespace

QtHeadSocket::QtHeadSocket(int head, HeadSocketListener* socketListener)
    : listener(socketListener) {
    headIndex = head;
}

QtHeadSocket::~QtHeadSocket() {
    Close();
}

int QtHeadSocket::Connect(const std::string& address, int port) {
    Close();
    QHostAddress host;
    if (!ParseAddress(address, host) || port <= 0 || port > 65535) {
        return kAddressNotAvailable;
    }
    socket = new QTcpSocket(&owner);
    const std::uint64_t connection = ++generation;
    established = false;
    QObject::connect(socket, &QTcpSocket::connected, &owner, [this, connection] {
        if (connection != generation) return;
        established = true;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (listener) listener->OnConnect(headIndex, 0);
    });
    QObject::connect(socket, &QTcpSocket::readyRead, &owner, [this, connection] {
        if (connection == generation && listener) listener->OnReceive(headIndex, 0);
    });
    QObject::connect(socket, &QTcpSocket::disconnected, &owner, [this, connection] {
        if (connection != generation || !established) return;
        established = false;
        if (listener) listener->OnClose(headIndex, 0);
    });
    QObject::connect(socket, &QTcpSocket::errorOccurred, &owner,
                     [this, connection](QAbstractSocket::SocketError error) {
                         OnError(connection, ErrorCode(error));
                     });
    immediateError = 0;
    insideConnect = true;
    socket->connectToHost(host, static_cast<quint16>(port));
    insideConnect = false;
    if (immediateError != 0) {
        const int code = immediateError;
        Close();
        return code;
    }
    return kWouldBlock;
}

void QtHeadSocket::OnError(std::uint64_t connection, int code) {
    if (connection != generation) return;
    if (insideConnect) {
        immediateError = code;  // returned by Connect itself
        return;
    }
    // Errors of an established connection are followed by `disconnected`, which reports them.
    if (!established && listener) listener->OnConnect(headIndex, code);
}

void QtHeadSocket::Close() {
    ++generation;
    established = false;
    if (!socket) return;
    {
        const QSignalBlocker silence(socket);
        socket->abort();
    }
    socket->deleteLater();
    socket = nullptr;
}

int QtHeadSocket::Send(const std::uint8_t* data, int length) {
    if (!socket || socket->state() != QAbstractSocket::ConnectedState) return -1;
    return static_cast<int>(socket->write(reinterpret_cast<const char*>(data), length));
}

int QtHeadSocket::Receive(std::uint8_t* buffer, int maxLength) {
    if (!socket || !socket->isOpen()) return -1;
    if (maxLength <= 0) return 0;
    return static_cast<int>(socket->read(reinterpret_cast<char*>(buffer), maxLength));
}
