#include "gps/GpsConfigDialogModel.h"

#include <algorithm>

#include "gps/GpsDevices.h"

namespace {

constexpr int kBaudRates[] = {4800, 9600, 19200, 38400, 57600, 115200};

// The classic port number of a /dev/ttyS device (ttyS0 is port 1); 0 for other devices.
int PortNumberOf(const std::string& device) {
    for (int n = 1; n <= kGpsPortCount; ++n) {
        if (device == GpsPortDevice(n)) return n;
    }
    return 0;
}

// The device the settings name: the "GPS Device" path, else the port's device; empty when
// the port number lies outside 1..256.
std::string ConfiguredDevice(const GpsPortSettings& settings) {
    if (!settings.gpsDevice.empty()) return settings.gpsDevice;
    if (settings.gpsPort < 1 || settings.gpsPort > kGpsPortCount) return {};
    return GpsPortDevice(settings.gpsPort);
}

}  // namespace

const std::vector<std::string>& GpsConfigDialogModel::BaudRateTexts() {
    static const std::vector<std::string> texts = {"4,800",  "9,600",  "19,200",
                                                   "38,400", "57,600", "115,200"};
    return texts;
}

const std::vector<std::string>& GpsConfigDialogModel::ParityTexts() {
    static const std::vector<std::string> texts = {"None", "Even", "Odd"};
    return texts;
}

const std::vector<std::string>& GpsConfigDialogModel::DataBitsTexts() {
    static const std::vector<std::string> texts = {"5", "6", "7", "8"};
    return texts;
}

const std::vector<std::string>& GpsConfigDialogModel::StopBitsTexts() {
    static const std::vector<std::string> texts = {"1", "2"};
    return texts;
}

const std::vector<std::string>& GpsConfigDialogModel::FlowControlTexts() {
    static const std::vector<std::string> texts = {"None"};
    return texts;
}

const std::vector<std::string>& GpsConfigDialogModel::SentenceTexts() {
    static const std::vector<std::string> texts = {"GLL + VTG", "GGA + VTG", "RMC", "VTG"};
    return texts;
}

GpsConfigChoice ChoiceOf(const GpsPortSettings& settings) {
    GpsConfigChoice choice;
    choice.port = settings.gpsPort;
    choice.device = ConfiguredDevice(settings);
    choice.baudRate = settings.gpsBaudRate;
    choice.dataBits = settings.gpsDataBits;
    choice.stopBits = settings.gpsStopBits;
    choice.parity = settings.gpsParity;
    choice.sentenceSet = std::clamp(settings.gpsSentenceSet, 0, 3);
    return choice;
}

void GpsConfigDialogModel::Load(const GpsPortSettings& settings,
                                const std::vector<std::string>& found) {
    std::vector<GpsPortEntry> plain;
    for (const std::string& device : found) plain.push_back({device, {}});
    LoadPorts(settings, plain);
}

void GpsConfigDialogModel::LoadPorts(const GpsPortSettings& settings,
                                     const std::vector<GpsPortEntry>& found) {
    working = ChoiceOf(settings);
    SetPorts(found);
    stayOpen = false;
    applyEnabled = false;
}

// The chosen device is listed even when the probe did not find it (this program holds it
// open, or it is a pseudo-terminal); it is selected by its stored name or by its node.
void GpsConfigDialogModel::SetPorts(const std::vector<GpsPortEntry>& found) {
    entries = found;
    const auto chosen = [this](const GpsPortEntry& e) {
        return e.Path() == working.device || e.device == working.device;
    };
    if (!working.device.empty() && std::none_of(entries.begin(), entries.end(), chosen)) {
        entries.push_back({working.device, {}});
    }
    portTexts.clear();
    for (const GpsPortEntry& entry : entries) portTexts.push_back(entry.Text());
    if (entries.empty()) portTexts = {"No Com Ports available"};
    const auto at = std::find_if(entries.begin(), entries.end(), chosen);
    portIndex = at == entries.end() ? -1 : static_cast<int>(at - entries.begin());
}

int GpsConfigDialogModel::BaudRateListIndex(int baudRate) {
    for (int i = 0; i < 6; ++i) {
        if (kBaudRates[i] == baudRate) return i;
    }
    return 0;
}

int GpsConfigDialogModel::ParityIndex() const {
    return working.parity >= 0 && working.parity <= 2 ? working.parity : -1;
}

int GpsConfigDialogModel::DataBitsIndex() const {
    return working.dataBits >= 5 && working.dataBits <= 8 ? working.dataBits - 5 : 3;
}

int GpsConfigDialogModel::StopBitsIndex() const {
    return working.stopBits == 1 || working.stopBits == 2 ? 1 : 0;
}

void GpsConfigDialogModel::SelectPort(int index) {
    if (index < 0 || index >= static_cast<int>(entries.size())) return;
    portIndex = index;
    const GpsPortEntry& entry = entries[static_cast<std::size_t>(index)];
    working.device = entry.Path();
    if (const int port = PortNumberOf(entry.device)) working.port = port;
    Changed();
}

void GpsConfigDialogModel::SelectBaudRate(int index) {
    if (index < 0 || index >= 6) return;
    working.baudRate = kBaudRates[index];
    Changed();
}

void GpsConfigDialogModel::SelectParity(int index) {
    if (index < 0 || index > 2) return;
    working.parity = index;
    Changed();
}

void GpsConfigDialogModel::SelectDataBits(int index) {
    if (index < 0 || index > 3) return;
    working.dataBits = 5 + index;
    Changed();
}

void GpsConfigDialogModel::SelectStopBits(int index) {
    if (index < 0 || index > 1) return;
    working.stopBits = index == 1 ? 2 : 0;
    Changed();
}

void GpsConfigDialogModel::SelectSentences(int index) {
    if (index < 0 || index > 3) return;
    working.sentenceSet = index;
    Changed();
}

void GpsConfigDialogModel::Default() {
    working.port = 1;
    portIndex = entries.empty() ? -1 : 0;
    working.device = entries.empty() ? std::string() : entries.front().Path();
    working.baudRate = 4800;
    working.dataBits = 8;
    working.stopBits = 0;
    working.parity = 0;
    working.sentenceSet = 2;
    stayOpen = true;
    applyEnabled = true;
}

bool GpsConfigDialogModel::FinishOk() {
    if (!stayOpen) return true;
    stayOpen = false;
    applyEnabled = false;
    return false;
}

int GpsConfigDialogModel::SpinPosition(int intervalMs) {
    return std::clamp(intervalMs / 100, kSpinMin, kSpinMax);
}

int GpsConfigDialogModel::SpinStep(int position, int step) {
    return std::clamp(position + step, kSpinMin, kSpinMax) * 100;
}

bool GpsConfigDialogModel::ValidEditInterval(int intervalMs) {
    return intervalMs >= kEditMin && intervalMs <= kEditMax;
}

bool SentenceInSelection(const std::string& sentence, int sentenceSet) {
    // "$GPRMC": the type follows the '$' and the two-letter talker.
    if (sentence.size() < 6) return false;
    const std::string type = sentence.substr(3, 3);
    switch (sentenceSet) {
        case 0:
            return type == "GLL" || type == "VTG";
        case 1:
            return type == "GGA" || type == "VTG";
        case 2:
            return type == "RMC";
        case 3:
            return type == "VTG";
        default:
            return false;
    }
}
