#pragma once
// Serial devices for the GPS on Linux. The classic port number n is /dev/ttyS(n-1); the
// "GPS Device" setting names any device path (a USB receiver, a pseudo-terminal) and wins
// over the number.

#include <functional>
#include <string>
#include <vector>

inline constexpr int kGpsPortCount = 256;

std::string GpsPortDevice(int port);
// The ttyS*, ttyUSB*, ttyACM* devices and the links in /dev/serial/by-id, in that order and
// sorted within each kind, and the configured device when it is not among them; nothing is
// opened. root replaces "/dev" in tests.
std::vector<std::string> ListGpsDevices(const std::string& configured,
                                        const std::string& root = "/dev");

// One entry of the "Com Port" list: the device node, the stable /dev/serial/by-id link that
// points to it when there is one (a USB receiver keeps that name when it comes back under
// another ttyUSB number), and what is stored when the entry is chosen: the link when there is
// one, else the node.
struct GpsPortEntry {
    std::string device;
    std::string byId;
    std::string Path() const { return byId.empty() ? device : byId; }
    // "/dev/ttyUSB0" or "/dev/ttyUSB0  [/dev/serial/by-id/usb-u-blox_GNSS-if00]".
    std::string Text() const;
    bool operator==(const GpsPortEntry&) const = default;
};

// The ttyS*, ttyUSB* and ttyACM* nodes in that order (sorted naturally within each kind),
// each with the first by-id link (by name) that resolves to it; nothing is opened. root
// replaces "/dev" in tests.
std::vector<GpsPortEntry> FindGpsPortEntries(const std::string& root = "/dev");
// The entries whose device the probe can open, in order. Slow (each probe opens a port):
// the dialog runs it off the window thread.
std::vector<GpsPortEntry> KeepOpenable(const std::vector<GpsPortEntry>& entries,
                                       const std::function<bool(const std::string&)>& probe);
