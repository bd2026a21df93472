#pragma once
// The plain part of `sonvara-cli track`: its command line and the exports of the fixes.

#include <optional>
#include <string>
#include <vector>

#include "export/PositionExports.h"

namespace cli {

using svx::GeoFormat;

struct TrackOptions {
    std::string input;  // a data file (.svx) or an NMEA log
    std::string out;
    GeoFormat format = GeoFormat::Csv;
};

struct TrackParse {
    std::optional<TrackOptions> options;  // empty for help, version or a mistake
    bool help = false;
    bool version = false;
    std::string text;
    std::string error;
};

TrackParse ParseTrackArguments(const std::vector<std::string>& args);

// The format chosen by one of --csv, --gpx and --kml given as `given`; empty when not exactly
// one was given, with the mistake in `error`.
struct FormatChoice {
    std::string csv, gpx, kml;
};
bool ChooseFormat(const FormatChoice& given, std::string& out, GeoFormat& format,
                  std::string& error);

}  // namespace cli
