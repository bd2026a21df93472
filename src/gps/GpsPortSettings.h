#pragma once
// The GPS receiver's serial-port settings and the track plotter's stored values, as kept in
// section "GPS Info" of the settings file.

#include <cstdint>
#include <string>

struct GpsPortSettings {
    std::int32_t gpsPort = 1;  // "GPS Comm Port": the port number of the classic setting
    // "GPS Device": a device path (/dev/ttyUSB0, a pseudo-terminal); wins over the number.
    std::string gpsDevice;
    // A device given at start-up (the application's --gps-device): whenever the settings are
    // read it is taken instead of "GPS Device", and it is never written back, so the settings
    // file keeps the user's own device.
    std::string startupDevice;
    std::int32_t gpsBaudRate = 19200;
    std::uint8_t gpsDataBits = 8;
    std::uint8_t gpsStopBits = 0;
    std::uint8_t gpsParity = 0;
    std::uint8_t gpsFlowControl = 0;
    std::int32_t gpsSentenceSet = 0;
    std::int32_t gpsBaudRateIndex = 0;
    std::int32_t gpsTracking = 1;
    std::int32_t gpsReadInterval = 1000;
    // "GPS Lost After ms": a position older than this (or than three read intervals, when
    // longer) is no longer shown as current, and older sentences are not recorded again.
    std::int32_t gpsLostAfterMs = 3000;
    double trackZoom = 1.0;
};
