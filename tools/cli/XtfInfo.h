#pragma once
// `sonvara-cli info` of an XTF file: what the file header says (program, sonar, navigation
// units, the channel table), what its pings hold (count, ping numbers, time span, each
// channel's frequency, slant ranges and sample counts, where the positions lie) and the
// stretches stepped over, as text or as one line of JSON.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datafiles/XtfReader.h"

namespace cli {

struct MinMax {
    double min = 0, max = 0;
    bool seen = false;
    void Add(double v);
};

struct XtfChannelSummary {
    xtf::ChannelDescription description;
    std::uint64_t pings = 0;  // pings that carried the channel
    MinMax frequencyKHz, slantRangeM, samples;
};

struct XtfSummary {
    std::uint64_t bytes = 0;
    xtf::FileDescription file;
    xtf::WalkCounts counts;
    std::optional<std::uint32_t> firstPing, lastPing;
    std::optional<xtf::PingTime> start, end;
    std::uint64_t positioned = 0;  // pings with a position
    MinMax y, x;                   // latitude and longitude, or northing and easting
    std::vector<XtfChannelSummary> channels;  // by channel number, as described
    std::vector<xtf::DamagedStretch> damage;
};

// False with a one-line error when the file cannot be read as XTF at all.
bool ScanXtfFile(const std::string& path, XtfSummary& summary, std::string& error);

std::string FormatXtfInfoText(const std::string& file, const XtfSummary& summary);
// One line: file, format "xtf", bytes, program, sonar, nav_units ("degrees", "projected",
// "other"), pings, first_ping, last_ping, start, end (UTC "yyyy-mm-ddThh:mm:ss.ssZ" or null),
// positions (pings, and south/north/west/east or the projected bounds), channels (number, type,
// name, sample_type, pings, frequency_khz, range_m and samples as [min, max]), other_packets,
// stepped_channels, damaged (offset, bytes, reason per stretch).
std::string FormatXtfInfoJson(const std::string& file, const XtfSummary& summary);

}  // namespace cli
