#pragma once
// Serial devices for the GPS on Linux. The classic port number n is /dev/ttyS(n-1); the
// "GPS Device" setting names any device path (a USB receiver, a pseudo-terminal) and wins
// over the number.

#include <string>
#include <vector>

inline constexpr int kGpsPortCount = 256;

std::string GpsPortDevice(int port);
// The ttyS*, ttyUSB*, ttyACM* devices and the links in /dev/serial/by-id, in that order and
// sorted within each kind, and the configured device when it is not among them; nothing is
// opened. root replaces "/dev" in tests.
std::vector<std::string> ListGpsDevices(const std::string& configured,
                                        const std::string& root = "/dev");
