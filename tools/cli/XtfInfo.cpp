#include "XtfInfo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "JsonOutput.h"
#include "common/TextFormat.h"
#include "datafiles/DataFile.h"

namespace cli {

void MinMax::Add(double v) {
    min = seen ? std::min(min, v) : v;
    max = seen ? std::max(max, v) : v;
    seen = true;
}

namespace {

void AddPing(const xtf::Ping& ping, XtfSummary& s) {
    if (!s.firstPing) {
        s.firstPing = ping.pingNumber;
        s.start = ping.time;
    }
    s.lastPing = ping.pingNumber;
    s.end = ping.time;
    const std::optional<xtf::Coordinates>& at = ping.sensor ? ping.sensor : ping.ship;
    if (at) {
        ++s.positioned;
        s.y.Add(at->y);
        s.x.Add(at->x);
    }
    for (const xtf::Channel& c : ping.channels) {
        if (c.number >= s.channels.size()) continue;
        XtfChannelSummary& channel = s.channels[c.number];
        ++channel.pings;
        channel.frequencyKHz.Add(c.frequencyKHz);
        channel.slantRangeM.Add(c.slantRange);
        channel.samples.Add(c.samples.count);
    }
}

const char* NavUnitsText(xtf::NavUnits units) {
    switch (units) {
        case xtf::NavUnits::Degrees: return "degrees";
        case xtf::NavUnits::Projected: return "projected";
        case xtf::NavUnits::Other: break;
    }
    return "other";
}

std::string TimeText(const std::optional<xtf::PingTime>& t) {
    if (!t) return "-";
    return Printf("%04d-%02d-%02dT%02d:%02d:%02d.%02dZ", t->year, t->month, t->day, t->hour,
                  t->minute, t->second, t->hundredths);
}

nlohmann::ordered_json Range(const MinMax& m, bool counts = false) {
    if (!m.seen) return nullptr;
    if (counts) {
        return nlohmann::ordered_json::array(
            {static_cast<std::uint64_t>(m.min), static_cast<std::uint64_t>(m.max)});
    }
    return nlohmann::ordered_json::array({m.min, m.max});
}

std::string RangeText(const MinMax& m, const char* format) {
    if (!m.seen) return "-";
    if (m.min == m.max) return Printf(format, m.min);
    return Printf(format, m.min) + ".." + Printf(format, m.max);
}

nlohmann::ordered_json PositionsJson(const XtfSummary& s) {
    nlohmann::ordered_json json = {{"pings", s.positioned}};
    if (!s.y.seen) return json;
    const bool degrees = s.file.navUnits == xtf::NavUnits::Degrees;
    json[degrees ? "south" : "min_y"] = s.y.min;
    json[degrees ? "north" : "max_y"] = s.y.max;
    json[degrees ? "west" : "min_x"] = s.x.min;
    json[degrees ? "east" : "max_x"] = s.x.max;
    return json;
}

}  // namespace

bool ScanXtfFile(const std::string& path, XtfSummary& summary, std::string& error) {
    DataFile file;
    errno = 0;
    if (!file.Open(path, DataFile::Mode::Read)) {
        error = "cannot open " + path + ": " + std::strerror(errno ? errno : ENOENT);
        return false;
    }
    summary.bytes = file.Length();
    svx::FileBytes bytes(file, summary.bytes);
    xtf::Reader reader(bytes);
    if (!reader.Open(error)) {
        error = path + ": " + error;
        return false;
    }
    summary.file = reader.File();
    summary.channels.clear();
    for (const xtf::ChannelDescription& d : summary.file.channels) {
        summary.channels.push_back({d, 0, {}, {}, {}});
    }
    xtf::Ping ping;
    while (reader.NextPing(ping)) AddPing(ping, summary);
    summary.counts = reader.Counts();
    summary.damage = reader.Damage();
    return true;
}

std::string FormatXtfInfoText(const std::string& file, const XtfSummary& s) {
    std::string text = file + ": XTF of " + s.file.program + " " + s.file.version + ", sonar \"" +
                       s.file.sonarName + "\", " + std::to_string(s.bytes) + " bytes\n";
    text += "pings " + std::to_string(s.counts.pings) + " (numbers " +
            (s.firstPing ? std::to_string(*s.firstPing) + ".." + std::to_string(*s.lastPing)
                         : std::string("-")) +
            "), " + TimeText(s.start) + " to " + TimeText(s.end) + "\n";
    text += "positions " + std::to_string(s.positioned) + " (" + NavUnitsText(s.file.navUnits) +
            ")";
    if (s.y.seen) {
        text += Printf(": y %.6f..%.6f, x %.6f..%.6f", s.y.min, s.y.max, s.x.min, s.x.max);
    }
    text += "\n";
    for (std::size_t i = 0; i < s.channels.size(); ++i) {
        const XtfChannelSummary& c = s.channels[i];
        text += "channel " + std::to_string(i) + " " + xtf::ChannelTypeText(c.description.type) +
                " \"" + c.description.name + "\" " + xtf::SampleTypeText(c.description.sampleType) +
                ": " + std::to_string(c.pings) + " pings, " + RangeText(c.frequencyKHz, "%g") +
                " kHz, range " + RangeText(c.slantRangeM, "%g") + " m, " +
                RangeText(c.samples, "%.0f") + " samples\n";
    }
    text += "other packets " + std::to_string(s.counts.otherPackets) + ", channels stepped over " +
            std::to_string(s.counts.steppedChannels) + "\n";
    for (const xtf::DamagedStretch& d : s.damage) text += xtf::DamageLine(d) + "\n";
    return text;
}

std::string FormatXtfInfoJson(const std::string& file, const XtfSummary& s) {
    nlohmann::ordered_json channels = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < s.channels.size(); ++i) {
        const XtfChannelSummary& c = s.channels[i];
        channels.push_back({{"number", i},
                            {"type", xtf::ChannelTypeText(c.description.type)},
                            {"name", JsonText(c.description.name)},
                            {"sample_type", xtf::SampleTypeText(c.description.sampleType)},
                            {"pings", c.pings},
                            {"frequency_khz", Range(c.frequencyKHz)},
                            {"range_m", Range(c.slantRangeM)},
                            {"samples", Range(c.samples, true)}});
    }
    nlohmann::ordered_json damaged = nlohmann::ordered_json::array();
    for (const xtf::DamagedStretch& d : s.damage) {
        damaged.push_back(
            {{"offset", d.offset}, {"bytes", d.bytes}, {"reason", xtf::DamageText(d.damage)}});
    }
    const auto optionalPing = [](const std::optional<std::uint32_t>& p) {
        return p ? nlohmann::ordered_json(*p) : nlohmann::ordered_json(nullptr);
    };
    const auto time = [](const std::optional<xtf::PingTime>& t) {
        return t ? nlohmann::ordered_json(TimeText(t)) : nlohmann::ordered_json(nullptr);
    };
    const nlohmann::ordered_json json = {{"file", JsonText(file)},
                                         {"format", "xtf"},
                                         {"bytes", s.bytes},
                                         {"program", JsonText(s.file.program)},
                                         {"sonar", JsonText(s.file.sonarName)},
                                         {"nav_units", NavUnitsText(s.file.navUnits)},
                                         {"pings", s.counts.pings},
                                         {"first_ping", optionalPing(s.firstPing)},
                                         {"last_ping", optionalPing(s.lastPing)},
                                         {"start", time(s.start)},
                                         {"end", time(s.end)},
                                         {"positions", PositionsJson(s)},
                                         {"channels", channels},
                                         {"other_packets", s.counts.otherPackets},
                                         {"stepped_channels", s.counts.steppedChannels},
                                         {"damaged", damaged}};
    return DumpJson(json);
}

}  // namespace cli
