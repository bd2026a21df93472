#include "datafiles/PlaybackState.h"

#include <algorithm>
#include <filesystem>
#include <vector>

int PlaybackPeriodForSpeed(int playSpeed) {
    const int speed = std::clamp(playSpeed, 0, kPlaySpeedMax);
    return speed < 10 ? (10 - speed) * 10 : 0;
}

std::string FindAlarmSound() {
    namespace fs = std::filesystem;
    constexpr const char* kName = "ding.wav";
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    std::vector<fs::path> places;
    if (!error) {
        places.push_back(program.parent_path() / kName);
        places.push_back(program.parent_path() / "assets" / kName);
    }
#ifdef SONVARA_ASSETS_DIR
    places.push_back(fs::path(SONVARA_ASSETS_DIR) / kName);
#endif
    for (const fs::path& place : places) {
        if (fs::is_regular_file(place, error)) return place.string();
    }
    return kName;
}
