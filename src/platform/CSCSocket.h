#pragma once
// The TCP connection to one sonar head, as the document sees it. The platform implements the
// transport (asynchronous connect, send, receive); the document implements the listener and
// receives the connect, receive and close notifications on the user-interface thread.

#include <cstdint>
#include <string>

class HeadSocketListener {
public:
    virtual ~HeadSocketListener() = default;
    // errorCode 0 means success; anything else is a failed connect / receive.
    virtual void OnConnect(int headIndex, int errorCode) = 0;
    virtual void OnReceive(int headIndex, int errorCode) = 0;
    virtual void OnClose(int headIndex, int errorCode) = 0;
};

class CSCSocket {
public:
    // The would-block code of an asynchronous connect that is still in progress.
    static constexpr int kWouldBlock = 10035;

    virtual ~CSCSocket() = default;

    // Starts an asynchronous connect. Returns 0 or kWouldBlock when the connect is under way
    // (its completion arrives as OnConnect), any other value when it failed at once.
    virtual int Connect(const std::string& address, int port) = 0;
    // Shuts down both directions and closes; no notification follows.
    virtual void Close() = 0;
    // Sends the bytes; returns the number sent or -1.
    virtual int Send(const std::uint8_t* data, int length) = 0;
    // Reads what has arrived, at most maxLength bytes; returns the number read or -1.
    virtual int Receive(std::uint8_t* buffer, int maxLength) = 0;

    // 1 after a successful connect, 0 after close, failure or an explicit disconnect.
    int connected = 0;
    // The socket's HeadChannel, written whenever the head table is configured.
    int headIndex = 0;
};
