#pragma once
// A head's TCP connection on QTcpSocket. Threads: everything runs on the user-interface
// thread. The document calls Connect, Close, Send and Receive there; the socket's signals are
// delivered by that thread's event loop and become the listener's notifications:
//   connected             -> OnConnect(head, 0)
//   a failed connect      -> OnConnect(head, error code)
//   readyRead             -> OnReceive(head, 0)
//   disconnected by peer  -> OnClose(head, 0)
// After an explicit Close (or a new Connect) nothing more is delivered for the old connection:
// each connection has a generation number and only the current one may notify. Otherwise a
// close the document asked for would come back as OnClose and rebuild the connections again.

#include <QObject>

#include <cstdint>

#include "platform/CSCSocket.h"

class QTcpSocket;

class QtHeadSocket : public CSCSocket {
public:
    // Error codes given to OnConnect or returned by Connect, as the socket layer numbers them.
    static constexpr int kConnectionRefused = 10061;
    static constexpr int kTimedOut = 10060;
    static constexpr int kNetworkUnreachable = 10051;
    static constexpr int kAddressNotAvailable = 10049;
    static constexpr int kOtherError = 10004;

    QtHeadSocket(int head, HeadSocketListener* listener);
    ~QtHeadSocket() override;

    // Starts connecting to a numeric address; kWouldBlock while under way. An address that is
    // not a numeric IP address, or a connect refused at once, returns an error code and no
    // notification follows.
    int Connect(const std::string& address, int port) override;
    void Close() override;
    int Send(const std::uint8_t* data, int length) override;
    // Reads what has arrived, never waits; 0 when nothing is there, -1 without a connection.
    int Receive(std::uint8_t* buffer, int maxLength) override;

private:
    void OnError(std::uint64_t connection, int code);

    HeadSocketListener* listener;
    QObject owner;  // parent of the current and of closed sockets awaiting deletion
    QTcpSocket* socket = nullptr;
    std::uint64_t generation = 0;
    bool established = false;  // the current connection has completed
    bool insideConnect = false;
    int immediateError = 0;
};
