#include "InfoReport.h"

#include "../common/CommandLine.h"
#include "AcquireReport.h"
#include "JsonOutput.h"
#include "gps/GpsGaps.h"

namespace cli {

namespace {

const char* const kHeadNames[4] = {"L", "M", "H", "ES"};

std::string HeadList(const RecordSummary& item, const char* separator) {
    std::string list;
    for (int h = 0; h < 4; ++h) {
        if (!item.heads[h]) continue;
        if (!list.empty()) list += separator;
        list += kHeadNames[h];
    }
    return list;
}

nlohmann::ordered_json HeadArray(const RecordSummary& item) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (int h = 0; h < 4; ++h) {
        if (item.heads[h]) list.push_back(kHeadNames[h]);
    }
    return list;
}

template <typename T>
nlohmann::ordered_json OrNull(const std::optional<T>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

std::string Optional(const std::optional<int>& value, const char* none) {
    return value ? std::to_string(*value) : none;
}

// The damaged stretches stepped over, as a JSON array of offset, bytes and reason.
nlohmann::ordered_json SkippedJson(const DataFileSummary& summary) {
    nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
    for (const svx::DamagedStretch& stretch : summary.damage) {
        skipped.push_back({{"offset", stretch.offset},
                           {"bytes", stretch.bytes},
                           {"reason", svx::DamageText(stretch.damage)}});
    }
    return skipped;
}

std::string SkippedText(const DataFileSummary& summary) {
    std::string text;
    for (const svx::DamagedStretch& stretch : summary.damage) {
        text += "skipped at offset " + std::to_string(stretch.offset) + ": " +
                std::to_string(stretch.bytes) + " bytes (" + svx::DamageText(stretch.damage) +
                ")\n";
    }
    return text;
}

GpsGaps GpsGapsOf(const DataFileSummary& summary) {
    GpsGaps gaps;
    for (const RecordSummary& item : summary.records) gaps.Add(item.ping, item.gps);
    return gaps;
}

int EventCount(const DataFileSummary& summary) {
    int events = 0;
    for (const RecordSummary& item : summary.records) events += item.event ? 1 : 0;
    return events;
}

}  // namespace

namespace {

void DescribeInfo(CLI::App& app, InfoOptions& options, std::vector<std::string>& files) {
    app.description(
        "Reads a sonar data file record by record and summarises it: records, bytes, ping\n"
        "numbers, times, heads, ranges and events, and where the file is damaged. A damaged\n"
        "stretch is stepped over to the next whole record.\n"
        "An XTF file (known by its first byte or its name) is summarised as XTF: program,\n"
        "sonar, navigation units, pings, ping numbers, time span, where the positions lie,\n"
        "each channel's frequency, slant range and samples, packets and channels stepped\n"
        "over, and the damaged stretches (--json: format \"xtf\" and these as keys).");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli info"));
    app.add_option("file", files, "the data file or XTF file")->type_name("FILE.svx|FILE.xtf");
    app.add_flag("--records", options.records,
                 "one line per record: offset, ping, length, heads, range, echo-sounder range, "
                 "time, event");
    app.add_flag("--json", options.json,
                 "one JSON object instead: file, records, bytes, damaged_offset (null or the "
                 "offset of the first damaged record), damaged_bytes, first_ping, last_ping, "
                 "events, items (per record: offset, ping, length, heads, range, es_range, "
                 "event, time, interval_ms, system_info, gps)");
    app.footer(
        "Exit status: 0 for a whole file; 1 when it is damaged, holds no record or cannot be\n"
        "read (missing, not a regular file); 2 for a mistake on the command line.");
}

}  // namespace

InfoParse ParseInfoArguments(const std::vector<std::string>& args) {
    InfoParse result;
    InfoOptions options;
    std::vector<std::string> files;
    CLI::App app{"", "sonvara-cli info"};
    DescribeInfo(app, options, files);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    if (files.empty()) {
        result.error = "a data file (FILE.svx) is required";
    } else if (files.size() > 1) {
        result.error = "only one data file can be examined";
    } else {
        options.file = files.front();
        result.options = options;
    }
    return result;
}

std::string InfoUsage() {
    InfoOptions options;
    std::vector<std::string> files;
    CLI::App app{"", "sonvara-cli info"};
    DescribeInfo(app, options, files);
    return app.help();
}

std::string FormatInfoText(const std::string& file, const DataFileSummary& summary,
                           bool perRecord) {
    std::string text = file + ": " + std::to_string(summary.records.size()) + " records, " +
                       std::to_string(summary.bytes) + " bytes\n";
    if (!summary.records.empty()) {
        const RecordSummary& first = summary.records.front();
        const RecordSummary& last = summary.records.back();
        text += "pings " + std::to_string(first.ping) + " .. " + std::to_string(last.ping) + ", " +
                first.date + " " + first.time + " .. " + last.date + " " + last.time + "\n";
        text += "heads " + HeadList(first, " ") + ", range " + Optional(first.range, "-") +
                " m, echo-sounder range " + Optional(first.esRange, "-") + " m, record length " +
                std::to_string(first.length) + "\n";
    }
    text += "events " + std::to_string(EventCount(summary)) + "\n";
    if (const std::string gaps = GpsGapsOf(summary).Note(); !gaps.empty()) text += gaps + "\n";
    if (summary.damagedOffset) {
        text += "damaged at offset " + std::to_string(*summary.damagedOffset) + " (" +
                std::to_string(summary.damagedBytes) + " bytes stepped over)\n";
    } else {
        text += summary.records.empty() ? "no record\n" : "not damaged\n";
    }
    text += SkippedText(summary);
    if (!perRecord) return text;
    text += "offset ping length heads range es_range time event\n";
    for (const RecordSummary& item : summary.records) {
        text += std::to_string(item.offset) + " " + std::to_string(item.ping) + " " +
                std::to_string(item.length) + " " + HeadList(item, ",") + " " +
                Optional(item.range, "-") + " " + Optional(item.esRange, "-") + " " + item.date +
                " " + item.time + " " + Optional(item.event, "-") + "\n";
    }
    return text;
}

std::string FormatInfoJson(const std::string& file, const DataFileSummary& summary) {
    const auto& records = summary.records;
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (const RecordSummary& item : records) {
        items.push_back({{"offset", item.offset},
                         {"ping", item.ping},
                         {"length", item.length},
                         {"heads", HeadArray(item)},
                         {"range", OrNull(item.range)},
                         {"es_range", OrNull(item.esRange)},
                         {"event", OrNull(item.event)},
                         {"time", JsonText(item.date + " " + item.time)},
                         {"interval_ms", item.intervalMs},
                         {"system_info", item.systemInfo},
                         {"gps", item.gps}});
    }
    const auto ping = [&](bool first) {
        if (records.empty()) return nlohmann::ordered_json(nullptr);
        return nlohmann::ordered_json(first ? records.front().ping : records.back().ping);
    };
    const nlohmann::ordered_json head = {{"file", JsonText(file)},
                                         {"records", records.size()},
                                         {"bytes", summary.bytes},
                                         {"damaged_offset", OrNull(summary.damagedOffset)},
                                         {"damaged_bytes", summary.damagedBytes}};
    nlohmann::ordered_json json = head;
    // Only a damaged file lists the stretches stepped over.
    if (!summary.damage.empty()) json["skipped"] = SkippedJson(summary);
    const nlohmann::ordered_json tail = {{"first_ping", ping(true)},
                                         {"last_ping", ping(false)},
                                         {"events", EventCount(summary)},
                                         {"without_gps", GpsGapsOf(summary).Records()},
                                         {"items", items}};
    for (const auto& [key, value] : tail.items()) json[key] = value;
    return DumpJson(json);
}

}  // namespace cli
