#pragma once
// What the GPS reader knows about the line besides the sentences: how much of the received
// text was not NMEA, and whether the serial device is there. Both live in GpsState, behind its
// lock: the reader thread writes them, the window thread reads them after each read.

#include <cstdint>
#include <string>

// Since the port was opened by the operator (a reopen after a loss keeps counting).
struct GpsLineCounters {
    // Sentences whose "*hh" did not match their text.
    std::uint64_t checksumFailures = 0;
    // Bytes that belonged to no sentence: text before the first '$', fragments that are not a
    // sentence (binary bytes, a wrong baud rate), and the overflow of lines too long to be one.
    std::uint64_t nonNmeaBytes = 0;

    void Clear() { *this = GpsLineCounters{}; }
};

// The serial device as the reader finds it at each read.
struct GpsDeviceStatus {
    // The name the reader opens (a /dev/serial/by-id link is resolved again at every open, so a
    // receiver plugged back in under another ttyUSB number is found).
    std::string path;
    // The port closed, failed or could not be opened; the reader tries again at every read.
    bool lost = false;
    // Every change from open to lost and back counts, so that the window thread reports each
    // one once even when both happen between two of its looks.
    std::uint32_t losses = 0;
    std::uint32_t returns = 0;
};
