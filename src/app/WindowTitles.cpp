#include "app/WindowTitles.h"

namespace {

std::string Kilohertz(int frequencyHz) {
    return std::to_string(frequencyHz / 1000) + " kHz";
}

}  // namespace

int NominalFrequencyHz(int head) {
    constexpr int kNominalHz[3] = {120000, 260000, 540000};
    return kNominalHz[head >= 0 && head < 3 ? head : 0];
}

std::string CommandWindowTitle(int window, int head) {
    const int frequencyHz = NominalFrequencyHz(head);
    switch (window) {
        case kMainFrame:
            return "Sonvara_RGB";
        case kLFrame:
        case kMFrame:
            return "Sonvara_RGB - " + Kilohertz(frequencyHz);
        case kHFrame:
            return "Sonvara_RGB - Sonar " + Kilohertz(frequencyHz);
        case kESFrame:
            return "Sonvara_RGB - Echo Sounder";
        case kGpsTrackWindow:
            return "Sonvara_RGB - Track Plotter";
        default:
            return "Halvex Sonvara_RGB";
    }
}

std::string LayoutWindowTitle(int window, int frequencyHz) {
    switch (window) {
        case kMainFrame:
            return "Sonvara_RGB";
        case kLFrame:
        case kMFrame:
        case kHFrame:
            return "Sonvara_RGB -- " + Kilohertz(frequencyHz);
        case kESFrame:
            return "Sonvara_RGB -- Echo Sounder";
        case kGpsTrackWindow:
            return "Sonvara_RGB -- Track Plotter";
        default:
            return "Halvex Sonvara_RGB";
    }
}

std::string MainFrameTitle(bool playback, bool recording, const std::string& documentTitle) {
    // The recording title names the file being written: a layout must not hide it.
    if ((playback || recording) && !documentTitle.empty()) return documentTitle;
    return "Halvex Sonvara_RGB -- Real Time";
}
