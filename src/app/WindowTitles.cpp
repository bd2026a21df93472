#include "app/WindowTitles.h"

std::string CommandWindowTitle(int window, bool threeFrequencySystem) {
    switch (window) {
        case kMainFrame:
            return "Sonvara_RGB";
        case kLFrame:
            return "Sonvara_RGB - 120 kHz";
        case kMFrame:
            return threeFrequencySystem ? "Sonvara_RGB - 260 kHz" : "Sonvara_RGB - 540 kHz";
        case kHFrame:
            return "Sonvara_RGB - Sonar 540 kHz";
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
            return "Sonvara_RGB -- " + std::to_string(frequencyHz / 1000) + " kHz";
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
