#pragma once
// GPS values the rest of the document reads: the decoded speed and the reader's display texts.
// The GPS reader thread writes them under `lock`; the window thread reads them through the
// functions below, which take the lock, so it never sees a half-written value.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "gps/NavigationTexts.h"

struct GpsState {
    double shipSpeedKnots = 0.0;
    std::string latitudeText = "n/a";
    std::string longitudeText = "n/a";
    std::string timeText = "n/a";
    std::string speedText = "n/a";
    std::string courseText = "n/a";
    std::string headingText;
    std::string dateText = "n/a";
    // The GPS reader object exists; until then pings carry no navigation texts.
    std::int32_t readerExists = 0;
    // The recognised sentences of the latest batch, oldest first; stored with every record of
    // a data file and decoded again in playback.
    std::array<std::string, 10> recentSentences;
    // Position in degrees, and the track must not join the next position to the last one.
    double gpsLatitude = 0.0;
    double gpsLongitude = 0.0;
    std::int32_t trackRestart = 0;
    mutable std::mutex lock;

    double ShipSpeedKnots() const {
        std::lock_guard<std::mutex> guard(lock);
        return shipSpeedKnots;
    }
    // The six texts stored with a ping, in their stored order.
    void CopyNavigationTexts(NavigationTexts& out) const {
        std::lock_guard<std::mutex> guard(lock);
        out[kNavLatitude].Assign(latitudeText);
        out[kNavLongitude].Assign(longitudeText);
        out[kNavSpeed].Assign(speedText);
        out[kNavCourse].Assign(courseText);
        out[kNavDate].Assign(dateText);
        out[kNavTime].Assign(timeText);
    }
};
