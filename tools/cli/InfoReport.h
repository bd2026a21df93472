#pragma once
// The plain part of `sonvara-cli info`: its command line and the summary of a data file as text
// (optionally one line per record) or as one JSON object.

#include <optional>
#include <string>
#include <vector>

#include "datafiles/DataFileScan.h"

namespace cli {

struct InfoOptions {
    std::string file;
    bool json = false;
    bool records = false;
};

struct InfoParse {
    std::optional<InfoOptions> options;  // empty for help, version or a mistake
    bool help = false;
    bool version = false;
    std::string text;   // the help or version text
    std::string error;  // one line naming the option
};
InfoParse ParseInfoArguments(const std::vector<std::string>& args);
std::string InfoUsage();

std::string FormatInfoText(const std::string& file, const DataFileSummary& summary, bool perRecord);
// One line of JSON: file, records (count), bytes, damaged_offset (null or an offset),
// damaged_bytes, skipped (when damaged, per stretch: offset, bytes, reason), first_ping, last_ping,
// events, without_gps (records that carry no GPS sentence), and items (per record: offset,
// ping, length, heads, range, es_range, event, time, interval_ms, system_info, gps).
std::string FormatInfoJson(const std::string& file, const DataFileSummary& summary);

}  // namespace cli
