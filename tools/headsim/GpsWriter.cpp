#include "GpsWriter.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {

GpsWriter::~GpsWriter() {
    if (fd >= 0) close(fd);
    if (slave >= 0) close(slave);
}

bool GpsWriter::Open(const std::string& device, std::string& error) {
    if (device == "pty") {
        char name[256] = {};
        if (openpty(&fd, &slave, name, nullptr, nullptr) != 0) {
            error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
            return false;
        }
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        path = name;
    } else {
        fd = open(device.c_str(), O_WRONLY | O_NOCTTY);
        if (fd < 0) {
            error = "cannot open " + device + ": " + std::strerror(errno);
            return false;
        }
        path = device;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return true;
}

void GpsWriter::Write(const std::string& text) {
    if (fd < 0) return;
    // A full buffer (nobody reading) drops the rest of this batch.
    [[maybe_unused]] const ssize_t written = write(fd, text.data(), text.size());
}

}  // namespace sim
