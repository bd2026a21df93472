#pragma once
// The GPS reader thread on Qt: a worker object on its own QThread owns the QSerialPort, which
// is opened, read and closed on that thread. A read takes only what the port has already
// received (at most the 65,536-byte buffer, the rest stays queued), decodes it into the
// document's GpsState under its lock, and reports back on the window thread. When the port
// closes or fails (an unplugged receiver, a closed pseudo-terminal), the device is marked lost
// in GpsState once and reopened by its configured name at every later read until it is back
// (a /dev/serial/by-id link is resolved anew at each try). Destroying the reader closes the
// port and joins the thread.

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

#include "gps/GpsPortLink.h"

class GpsSerialWorker;

class QtGpsReader : public GpsPortLink {
public:
    // state: what reads decode into; done runs on the window thread after every read.
    QtGpsReader(GpsState& state, std::function<void()> done);
    ~QtGpsReader() override;
    QtGpsReader(const QtGpsReader&) = delete;
    QtGpsReader& operator=(const QtGpsReader&) = delete;

    bool Probe(const std::string& device) override;
    // Whether the device opens now (opened for reading and writing and closed again at once).
    // Needs no reader: safe on any thread.
    static bool ProbeDevice(const std::string& device);
    GpsOpenResult Open(const std::string& device, const GpsLineSettings& settings) override;
    void Close() override;
    void Purge() override;
    void RequestRead(const GpsDecodeContext& context) override;

private:
    QThread thread;
    GpsSerialWorker* worker = nullptr;  // lives on `thread`, deleted when it ends
    std::unique_ptr<QObject> receiver;  // on the window thread: where the done reports go
};
