// The document's side of the GPS configuration dialog and of the track plotter's restore.

#include "document/CVantrelDoc.h"
#include "gps/GpsDevices.h"
#include "gps/GpsDocumentOps.h"
#include "gps/GpsReadInterval.h"

namespace {

template <typename Stored, typename Chosen>
bool Store(Stored& stored, const Chosen& chosen) {
    if (stored == static_cast<Stored>(chosen)) return false;
    stored = static_cast<Stored>(chosen);
    return true;
}

}  // namespace

bool ApplyGpsConfigChoice(CVantrelDoc& doc, const GpsConfigChoice& choice) {
    GpsPortSettings& g = doc.gpsConfig;
    const int previousPort = g.gpsPort;
    bool changed = false;
    changed |= Store(g.gpsPort, choice.port);
    if (!choice.device.empty() && choice.device != doc.GpsDevice(g.gpsPort)) {
        g.gpsDevice = choice.device;
        changed = true;
    }
    if (Store(g.gpsBaudRate, choice.baudRate)) {
        g.gpsBaudRateIndex = GpsConfigDialogModel::BaudRateListIndex(choice.baudRate);
        changed = true;
    }
    changed |= Store(g.gpsDataBits, choice.dataBits);
    changed |= Store(g.gpsStopBits, choice.stopBits);
    changed |= Store(g.gpsParity, choice.parity);
    changed |= Store(g.gpsSentenceSet, choice.sentenceSet);
    if (changed && !doc.playbackMode) {
        doc.ReopenGpsPort(previousPort);
        doc.ResetGpsData(false);
    }
    return changed;
}

void SetGpsReadInterval(CVantrelDoc& doc, int milliseconds) {
    doc.gpsConfig.gpsReadInterval = ClampGpsReadInterval(milliseconds);
}

std::vector<std::string> ListGpsPorts(const CVantrelDoc& doc) {
    return ListGpsDevices(doc.gpsConfig.gpsDevice);
}

void RestoreTrackZoom(CVantrelDoc& doc) {
    doc.gpsConfig.trackZoom = 1.0;
}
