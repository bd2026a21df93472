#pragma once
// The GPS reader as the document sees it: a worker on its own thread that owns the serial
// port (opened, read and closed on that thread) and decodes each read into the document's
// GpsState under its lock. The application implements it on QSerialPort; tests use fakes.

#include <cstdint>
#include <string>

#include "gps/GpsFixAge.h"
#include "gps/GpsState.h"

// The line settings of the port. parity is the position in the dialog's list (0 "None",
// 1 "Even", 2 "Odd"), which is what the settings file keeps; stopBits is the stored code
// (0 one stop bit, 1 or 2 two stop bits).
struct GpsLineSettings {
    int baudRate = 19200;
    int dataBits = 8;
    int stopBits = 0;
    int parity = 0;
    bool ctsFlow = false;
};

enum class GpsParity { None, Even, Odd };
// The parity the user chose at a list position; anything else is no parity.
GpsParity ParityAtListPosition(int position);

enum class GpsOpenResult { Opened, NotAvailable, SettingsRefused };

class GpsPortLink {
public:
    virtual ~GpsPortLink() = default;
    // Whether the device can be opened now (opened and closed again at once).
    virtual bool Probe(const std::string& device) = 0;
    // Opens and configures the port on the reader thread; returns when that is done. With
    // SettingsRefused the port stays open with the driver's previous settings.
    virtual GpsOpenResult Open(const std::string& device, const GpsLineSettings& settings) = 0;
    // Closes the port on the reader thread (after a read in flight has finished).
    virtual void Close() = 0;
    // Drops whatever the port has received and not been read.
    virtual void Purge() = 0;
    // Asks for one read and decode; the reader then reports through the done callback the
    // application gave it, which runs CVantrelDoc::GpsReadDone on the window thread.
    virtual void RequestRead(const GpsDecodeContext& context) = 0;
};

// The reader's side of the document: the link, and what the read cycle needs to know.
struct GpsInput {
    GpsPortLink* link = nullptr;  // null until the reader thread is started
    std::string openDevice;       // the device held open; empty when no port is valid
    std::int32_t gpsEnabled = 1;
    bool readInFlight = false;
    std::uint32_t readsDone = 0;  // reads reported back, for diagnostics and tests
    // Window thread only: the ages of the last fix and sentences, and the device losses and
    // returns already told to the operator.
    GpsFixAge fixAge;
    std::uint32_t reportedLosses = 0;
    std::uint32_t reportedReturns = 0;
};
