#pragma once
// Where the simulated GPS writes: a new pseudo-terminal (the receiver's side is kept open, so
// the reader may close and reopen its side) or a given device. Writes never block: what the
// other side does not take is dropped, as a receiver's output is.

#include <string>

namespace sim {

class GpsWriter {
public:
    ~GpsWriter();
    // "pty" or a device path; false with an error text.
    bool Open(const std::string& device, std::string& error);
    // The device the reader opens.
    const std::string& Path() const { return path; }
    void Write(const std::string& text);

private:
    int fd = -1;
    int slave = -1;
    std::string path;
};

}  // namespace sim
