#include "InfoReport.h"

#include "AcquireReport.h"

namespace cli {

namespace {

const char* const kHeadNames[4] = {"L", "M", "H", "ES"};

std::string HeadList(const RecordSummary& item, const char* separator, bool quoted) {
    std::string list;
    for (int h = 0; h < 4; ++h) {
        if (!item.heads[h]) continue;
        if (!list.empty()) list += separator;
        list += quoted ? JsonString(kHeadNames[h]) : kHeadNames[h];
    }
    return list;
}

std::string Optional(const std::optional<int>& value, const char* none) {
    return value ? std::to_string(*value) : none;
}

// The damaged stretches stepped over, as a JSON array of offset, bytes and reason.
std::string SkippedJson(const DataFileSummary& summary) {
    std::string json = "[";
    for (const svx::DamagedStretch& stretch : summary.damage) {
        json += (json.size() > 1 ? ",{" : "{");
        json += "\"offset\":" + std::to_string(stretch.offset) +
                ",\"bytes\":" + std::to_string(stretch.bytes) +
                ",\"reason\":" + JsonString(svx::DamageText(stretch.damage)) + "}";
    }
    return json + "]";
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

int EventCount(const DataFileSummary& summary) {
    int events = 0;
    for (const RecordSummary& item : summary.records) events += item.event ? 1 : 0;
    return events;
}

}  // namespace

InfoParse ParseInfoArguments(const std::vector<std::string>& args) {
    InfoParse result;
    InfoOptions options;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            return result;
        }
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--records") {
            options.records = true;
        } else if (!arg.empty() && arg[0] == '-') {
            result.error = "unknown option '" + arg + "'";
            return result;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            result.error = "only one data file can be examined";
            return result;
        }
    }
    if (options.file.empty()) {
        result.error = "a data file (FILE.svx) is required";
        return result;
    }
    result.options = options;
    return result;
}

std::string InfoUsage() {
    return R"(Usage: sonvara-cli info FILE.svx [--records] [--json]

Reads a sonar data file record by record and summarises it: records, bytes, ping numbers,
times, heads, ranges and events, and where the file is damaged. A damaged stretch is
stepped over to the next whole record.

Options:
  --records           one line per record: offset, ping, length, heads, range, echo-sounder
                      range, time, event
  --json              one JSON object instead: records, bytes, damaged_offset (null or the
                      offset of the first damaged record), damaged_bytes, skipped (when
                      damaged, per stretch: offset, bytes, reason), first_ping,
                      last_ping, events, items (per record: offset, ping, length, heads, range,
                      es_range, event, time, interval_ms, system_info)
  -h, --help          show this text

Exit status: 0 for a whole file, 1 when it is damaged, 2 when it cannot be read.
)";
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
        text += "heads " + HeadList(first, " ", false) + ", range " + Optional(first.range, "-") +
                " m, echo-sounder range " + Optional(first.esRange, "-") + " m, record length " +
                std::to_string(first.length) + "\n";
    }
    text += "events " + std::to_string(EventCount(summary)) + "\n";
    text += summary.damagedOffset
                ? "damaged at offset " + std::to_string(*summary.damagedOffset) + " (" +
                      std::to_string(summary.damagedBytes) + " bytes stepped over)\n"
                : std::string("not damaged\n");
    text += SkippedText(summary);
    if (!perRecord) return text;
    text += "offset ping length heads range es_range time event\n";
    for (const RecordSummary& item : summary.records) {
        text += std::to_string(item.offset) + " " + std::to_string(item.ping) + " " +
                std::to_string(item.length) + " " + HeadList(item, ",", false) + " " +
                Optional(item.range, "-") + " " + Optional(item.esRange, "-") + " " + item.date +
                " " + item.time + " " + Optional(item.event, "-") + "\n";
    }
    return text;
}

std::string FormatInfoJson(const std::string& file, const DataFileSummary& summary) {
    const auto& records = summary.records;
    std::string json =
        "{\"file\":" + JsonString(file) + ",\"records\":" + std::to_string(records.size()) +
        ",\"bytes\":" + std::to_string(summary.bytes) + ",\"damaged_offset\":" +
        (summary.damagedOffset ? std::to_string(*summary.damagedOffset) : "null") +
        ",\"damaged_bytes\":" + std::to_string(summary.damagedBytes) +
        (summary.damage.empty() ? std::string() : ",\"skipped\":" + SkippedJson(summary)) +
        ",\"first_ping\":" + (records.empty() ? "null" : std::to_string(records.front().ping)) +
        ",\"last_ping\":" + (records.empty() ? "null" : std::to_string(records.back().ping)) +
        ",\"events\":" + std::to_string(EventCount(summary)) + ",\"items\":[";
    for (std::size_t i = 0; i < records.size(); ++i) {
        const RecordSummary& item = records[i];
        json += (i ? ",{" : "{");
        json += "\"offset\":" + std::to_string(item.offset) +
                ",\"ping\":" + std::to_string(item.ping) +
                ",\"length\":" + std::to_string(item.length) + ",\"heads\":[" +
                HeadList(item, ",", true) + "],\"range\":" + Optional(item.range, "null") +
                ",\"es_range\":" + Optional(item.esRange, "null") +
                ",\"event\":" + Optional(item.event, "null") +
                ",\"time\":" + JsonString(item.date + " " + item.time) +
                ",\"interval_ms\":" + std::to_string(item.intervalMs) +
                ",\"system_info\":" + (item.systemInfo ? "true" : "false") + "}";
    }
    return json + "]}\n";
}

}  // namespace cli
