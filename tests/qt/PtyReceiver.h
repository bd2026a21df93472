#pragma once
// A pseudo-terminal whose master side plays a GPS receiver, for tests of the real reader
// thread. Large writes go through a thread of their own, so that the window thread keeps
// running the read cycle that drains them.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>
#include <thread>

// "$" + body + "*hh\r\n" with the checksum of the body.
inline std::string NmeaSentence(const std::string& body) {
    unsigned sum = 0;
    for (unsigned char c : body) sum ^= c;
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

class PtyReceiver {
public:
    PtyReceiver() {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
        path = name;
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~PtyReceiver() {
        stop = true;
        Join();
        if (master >= 0) close(master);
        if (slave >= 0) close(slave);
    }
    PtyReceiver(const PtyReceiver&) = delete;
    PtyReceiver& operator=(const PtyReceiver&) = delete;

    // Writes all of the text now; for short texts, which the terminal's buffer takes at once.
    bool Send(const std::string& text) { return WriteAll(text); }
    // Writes the text from a thread of its own; Written() tells when all of it is out.
    void Feed(std::string text) {
        Join();
        written = false;
        writer = std::thread([this, text = std::move(text)] {
            ok = WriteAll(text);
            written = true;
        });
    }
    bool Written() const { return written; }
    bool FedWhole() const { return ok; }

    std::string path;
    int master = -1, slave = -1;

private:
    // Waits (at most 50 ms at a time, so that a stopped test never hangs here) until the
    // terminal takes more.
    bool WriteAll(const std::string& text) {
        std::size_t done = 0;
        while (done < text.size() && !stop) {
            const ssize_t n = write(master, text.data() + done, text.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EAGAIN) {
                pollfd wait{master, POLLOUT, 0};
                poll(&wait, 1, 50);
            } else {
                return false;
            }
        }
        return done == text.size();
    }
    void Join() {
        if (writer.joinable()) writer.join();
    }

    std::thread writer;
    std::atomic<bool> written{true};
    std::atomic<bool> ok{true};
    std::atomic<bool> stop{false};
};
