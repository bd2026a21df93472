// The GPS read cycle and the serial port on the document's side: timer 1040 asks the reader
// for one read, the reader decodes it on its thread and reports back (GpsReadDone), the views
// are refreshed and the timer is re-armed, so at most one read is in flight.

#include "document/CVantrelDoc.h"
#include "gps/GpsDevices.h"
#include "gps/GpsReadInterval.h"
#include "platform/TimerIds.h"

GpsParity ParityAtListPosition(int position) {
    if (position == 1) return GpsParity::Even;
    if (position == 2) return GpsParity::Odd;
    return GpsParity::None;
}

void CVantrelDoc::SetGpsReader(GpsPortLink* link) {
    gpsInput.link = link;
    gpsInput.openDevice.clear();
    gpsInput.readInFlight = false;
    std::lock_guard<std::mutex> guard(gps.lock);
    gps.readerExists = link ? 1 : 0;
}

std::string CVantrelDoc::GpsDevice(int port) const {
    return gpsConfig.gpsDevice.empty() ? GpsPortDevice(port) : gpsConfig.gpsDevice;
}

// A configured device path is the only candidate; otherwise the port, then the lowest
// numbered port that opens.
int CVantrelDoc::FindGpsPort(int port) {
    if (!gpsInput.link) return -1;
    if (!gpsConfig.gpsDevice.empty()) return gpsInput.link->Probe(gpsConfig.gpsDevice) ? port : -1;
    if (port >= 1 && port <= kGpsPortCount && gpsInput.link->Probe(GpsPortDevice(port))) {
        return port;
    }
    for (int n = 1; n <= kGpsPortCount; ++n) {
        if (gpsInput.link->Probe(GpsPortDevice(n))) return n;
    }
    return -1;
}

bool CVantrelDoc::OpenGpsPort(int port, int baudRate, int dataBits, int stopBits, int parity,
                              int flow) {
    if (!gpsInput.link) return false;
    const std::string device = GpsDevice(port);
    const GpsLineSettings settings{baudRate, dataBits, stopBits, parity, flow != 0};
    switch (gpsInput.link->Open(device, settings)) {
        case GpsOpenResult::NotAvailable:
            gpsInput.openDevice.clear();
            platform.MessageBox(device + " is not available. \nPlease choose another COM port!");
            return false;
        case GpsOpenResult::SettingsRefused:
            gpsInput.openDevice = device;
            platform.MessageBox(device + " failed! \nPlease check its settings.");
            return true;
        case GpsOpenResult::Opened:
            break;
    }
    gpsInput.openDevice = device;
    return true;
}

void CVantrelDoc::CloseAllGpsPorts() {
    if (gpsInput.link && !gpsInput.openDevice.empty()) gpsInput.link->Close();
    gpsInput.openDevice.clear();
}

void CVantrelDoc::ReopenGpsPort(int /*oldPort*/) {
    platform.StopTimer(kTimerGpsRead);
    CloseAllGpsPorts();
    const int found = FindGpsPort(gpsConfig.gpsPort);
    if (found < 0 && gpsInput.link && !gpsConfig.gpsDevice.empty()) {
        // A device the user named does not open: say so, as for a port that fails to open,
        // instead of running on without a GPS in silence.
        platform.MessageBox(gpsConfig.gpsDevice +
                            " is not available. \nPlease choose another COM port!");
    }
    if (found >= 1 && found <= kGpsPortCount) {
        gpsConfig.gpsPort = found;
        const GpsPortSettings& g = gpsConfig;
        OpenGpsPort(found, g.gpsBaudRate, g.gpsDataBits, g.gpsStopBits, g.gpsParity,
                    g.gpsFlowControl);
    }
    TakeGpsDeviceReports();
    {
        // The counters run from the opening of the port.
        std::lock_guard<std::mutex> guard(gps.lock);
        gps.line.Clear();
    }
    ResetGpsData(true);
    if (gpsInput.link && !gpsInput.openDevice.empty()) gpsInput.link->Purge();
    StartGpsReadTimer();
}

void CVantrelDoc::StartGpsReadTimer() {
    platform.StartTimer(kTimerGpsRead, ClampGpsReadInterval(gpsConfig.gpsReadInterval));
}

// Timer 1040: one read, unless playback runs, GPS input is off, there is no reader or a read
// is still in flight. Then the cycle rests until something restarts the timer.
void CVantrelDoc::GpsReadTimer() {
    platform.StopTimer(kTimerGpsRead);
    if (playbackMode || !gpsInput.gpsEnabled || !gpsInput.link || gpsInput.readInFlight) return;
    gpsInput.readInFlight = true;
    gpsInput.link->RequestRead({gpsConfig.gpsSentenceSet, gps.configDialogVisible});
}

// Every read tells the GPS dialog and panes (the received list changes with any sentence, the
// counters with any byte, the age with time); decoded data repaints all views.
void CVantrelDoc::GpsReadDone() {
    gpsInput.readInFlight = false;
    ++gpsInput.readsDone;
    ObserveGps();
    bool changed = false;
    {
        std::lock_guard<std::mutex> guard(gps.lock);
        changed = gps.gpsDataChanged != 0;
    }
    ReportGpsDevice();
    if (changed) UpdateSteering();
    if (changed) observer->UpdateAllViews();
    observer->GpsStatusChanged();
    if (!playbackMode) StartGpsReadTimer();
}

// Each loss and each return of the device is said once, in the order they happened.
void CVantrelDoc::ReportGpsDevice() {
    GpsDeviceStatus device;
    {
        std::lock_guard<std::mutex> guard(gps.lock);
        device = gps.device;
    }
    const bool lost = device.losses != gpsInput.reportedLosses;
    const bool back = device.returns != gpsInput.reportedReturns;
    gpsInput.reportedLosses = device.losses;
    gpsInput.reportedReturns = device.returns;
    const std::string lostText = "GPS device " + device.path + " lost";
    const std::string backText = "GPS device " + device.path + " is back";
    if (device.lost) {
        if (back) observer->GpsDeviceMessage(backText);
        if (lost) observer->GpsDeviceMessage(lostText);
    } else {
        if (lost) observer->GpsDeviceMessage(lostText);
        if (back) observer->GpsDeviceMessage(backText);
    }
}

// What the device did up to now counts as told: the operator opened it (and was told when
// that failed).
void CVantrelDoc::TakeGpsDeviceReports() {
    std::lock_guard<std::mutex> guard(gps.lock);
    gpsInput.reportedLosses = gps.device.losses;
    gpsInput.reportedReturns = gps.device.returns;
}

// Playback opened: the GPS serial ports close and the GPS read timer stops. The fix ages
// follow the played records from now on.
void CVantrelDoc::SuspendGpsInput() {
    platform.StopTimer(kTimerGpsRead);
    CloseAllGpsPorts();
    RestartGpsAge();
}

void CVantrelDoc::ToggleGpsEnabled() {
    gpsInput.gpsEnabled = gpsInput.gpsEnabled ? 0 : 1;
    if (!gpsInput.gpsEnabled) {
        platform.StopTimer(kTimerGpsRead);
    } else if (!playbackMode) {
        ResumeGpsInput();
    }
}

// Playback could not start, or ended: GPS reading resumes (port buffers purged, read timer
// restarted) when GPS input is enabled.
void CVantrelDoc::ResumeGpsInput() {
    RestartGpsAge();
    if (!gpsInput.gpsEnabled) return;
    if (gpsInput.link && !gpsInput.openDevice.empty()) gpsInput.link->Purge();
    StartGpsReadTimer();
}
