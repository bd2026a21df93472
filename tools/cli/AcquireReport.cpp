#include "AcquireReport.h"

#include <arpa/inet.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

#include "../common/CommandLine.h"
#include "JsonOutput.h"

#include "acquisition/RangeList.h"
#include "common/TextFormat.h"
#include "document/CVantrelDoc.h"

namespace cli {

namespace {

bool ToSeconds(const std::string& text, double& value) {
    const std::optional<double> number = ParseNumber(text);
    value = number.value_or(0.0);
    return number && value > 0;
}

const char* StateName(EngineState state) {
    switch (state) {
        case EngineState::Idle:
            return "Idle";
        case EngineState::Discovering:
            return "Discovering";
        case EngineState::Connecting:
            return "Connecting";
        case EngineState::Polling:
            return "Polling";
    }
    return "?";
}

std::string Fixed(double value, int decimals) {
    return Printf("%.*f", decimals, value);
}

double PerSecond(const AcquireTotals& t) {
    return t.last.seconds > 0 ? t.last.accepted / t.last.seconds : 0.0;
}

}  // namespace

namespace {

void DescribeAcquire(CLI::App& app, AcquireOptions& options) {
    app.description(
        "Runs the acquisition engine without windows: asks the installation at ADDRESS for its\n"
        "heads, connects them and polls them. Prints progress every second to standard error\n"
        "when it is a terminal, and the totals at the end to standard output.");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli acquire"));
    tools::LastValueWins(app);
    app.add_option("--connect", options.address,
                   "the IPv4 address typed in the Connect dialog (the installation's first head)")
        ->type_name("ADDRESS")
        ->check(tools::Wants(IsIpv4Address, "an IPv4 address such as 127.0.0.2"));
    app.add_option("--port", options.port, "TCP port of the heads (default 4040)")
        ->type_name("N")
        ->check(
            tools::Wants([](const std::string& v) { return IntIn(v, 1, 65535); }, "1 .. 65535"));
    app.add_option("--cycles", options.cycles, "stop after N accepted polling cycles")
        ->type_name("N")
        ->check(tools::Wants([](const std::string& v) { return IntIn(v, 1, INT32_MAX); },
                             "a whole number of at least 1"));
    app.add_option("--seconds", options.seconds,
                   "stop after S seconds (default 10 when --cycles is not given)")
        ->type_name("S")
        ->check(tools::Wants(
            [](const std::string& v) {
                double value = 0;
                return ToSeconds(v, value);
            },
            "a positive number"));
    app.add_option_function<int>(
           "--range", [&options](const int& m) { options.range = m; },
           "side-scan and echo-sounder range in metres (default 50)")
        ->type_name("M")
        ->check(tools::Wants(
            [](const std::string& v) {
                int m = 0;
                return ToInt(v, m) && kRangeList[RangeIndexOf(m)] == m;
            },
            "one of 10 20 30 40 50 60 80 100 120 150 200 250 300 400 500"));
    app.add_option_function<int>(
           "--gain", [&options](const int& db) { options.gainDb = db; },
           "gain of every head, 0 .. 40 dB (default 6)")
        ->type_name("DB")
        ->check(tools::Wants([](const std::string& v) { return IntIn(v, 0, 40); }, "0 .. 40 dB"));
    app.add_option("--record", options.recordPath,
                   "record every accepted cycle into the data file FILE (.svx)")
        ->type_name("FILE");
    app.add_option("--images", options.imagesDir,
                   "at the end, write the images formed live into DIR: L.png, M.png, H.png "
                   "(8-bit, through the colour table) and composite.png (24-bit)")
        ->type_name("DIR");
    app.add_option("--gps", options.gpsDevice,
                   "read the GPS receiver on DEVICE (a serial port or a pseudo-terminal) through "
                   "the application's reader, so a recording carries its sentences")
        ->type_name("DEVICE");
    AddImageOptions(app, options.images);
    app.add_flag("--json", options.json,
                 "print the totals as one JSON object: accepted, rejected, reconnects, seconds, "
                 "cycles_per_second, target, reached, address, serial, heads; with --record "
                 "also recorded and recording_stopped; with --gps also gps_reads, latitude and "
                 "longitude (the texts last decoded), and with both recorded_without_gps (records "
                 "written while the GPS was lost, with an empty GPS block)");
    app.footer(
        "Exit status: 0 when N accepted cycles were reached (without --cycles: at least one)\n"
        "and everything asked for was written; 1 when not, or when recording stopped early\n"
        "(the disk is full, a write failed); 2 for a mistake on the command line.");
}

}  // namespace

AcquireParse ParseAcquireArguments(const std::vector<std::string>& args) {
    AcquireParse result;
    AcquireOptions options;
    CLI::App app{"", "sonvara-cli acquire"};
    DescribeAcquire(app, options);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    if (options.address.empty()) {
        result.error = "--connect ADDRESS is required";
        return result;
    }
    if (options.cycles == 0 && options.seconds == 0) options.seconds = 10;
    result.options = options;
    return result;
}

std::string AcquireUsage() {
    AcquireOptions options;
    CLI::App app{"", "sonvara-cli acquire"};
    DescribeAcquire(app, options);
    return app.help();
}

bool IsIpv4Address(const std::string& text) {
    in_addr address{};
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

AcquireSnapshot TakeSnapshot(const CVantrelDoc& doc, double seconds) {
    AcquireSnapshot s;
    s.seconds = seconds;
    s.accepted = doc.acceptedCycleCount;
    s.rejected = doc.rejectedCycleCount;
    s.reconnects = doc.rebuildCount;
    s.state = StateName(doc.State());
    s.serialNumber = doc.serialNumber;
    s.discovered = doc.systemInfoReceived != 0;
    for (int h = 0; h < kHeadCount; ++h) {
        const char* state = !doc.heads[h].available      ? "off"
                            : doc.heads[h].IsConnected() ? "up"
                                                         : "down";
        s.headStates.push_back(std::string(HeadLabel(h)) + ":" + state);
    }
    return s;
}

std::string FormatProgress(const AcquireSnapshot& now, int previousAccepted) {
    std::string line = Fixed(now.seconds, 1) + " s  accepted " + std::to_string(now.accepted) +
                       " (+" + std::to_string(now.accepted - previousAccepted) + ")  rejected " +
                       std::to_string(now.rejected) + "  reconnects " +
                       std::to_string(now.reconnects) + "  " + now.state;
    for (const std::string& head : now.headStates) line += " " + head;
    return line;
}

bool Succeeded(int accepted, int target) {
    return target > 0 ? accepted >= target : accepted > 0;
}

namespace {

std::string GpsGapText(const AcquireTotals& t) {
    if (!t.recording || t.recordedWithoutGps == 0) return {};
    return ", " + std::to_string(t.recordedWithoutGps) +
           (t.recordedWithoutGps == 1 ? " record" : " records") + " written while it was lost";
}

}  // namespace

std::string FormatTotalsText(const AcquireTotals& t) {
    return "accepted " + std::to_string(t.last.accepted) + ", rejected " +
           std::to_string(t.last.rejected) + ", reconnects " + std::to_string(t.last.reconnects) +
           " in " + Fixed(t.last.seconds, 2) + " s (" + Fixed(PerSecond(t), 1) + " cycles/s)" +
           (t.succeeded ? "" : " - target not reached") + "\n" +
           (t.gps ? "GPS: " + std::to_string(t.gpsReads) + " reads, last position " + t.latitude +
                        " " + t.longitude + GpsGapText(t) + "\n"
                  : "");
}

namespace {

double Rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

}  // namespace

std::string FormatTotalsJson(const AcquireTotals& t) {
    nlohmann::ordered_json heads = nlohmann::ordered_json::array();
    for (const std::string& head : t.last.headStates) {
        if (!t.last.discovered || head.find(":off") != std::string::npos) continue;
        heads.push_back(head.substr(0, head.find(':')));
    }
    nlohmann::ordered_json json = {
        {"accepted", t.last.accepted},
        {"rejected", t.last.rejected},
        {"reconnects", t.last.reconnects},
        {"seconds", Rounded(t.last.seconds, 3)},
        {"cycles_per_second", Rounded(PerSecond(t), 2)},
        {"target", t.target},
        {"reached", t.succeeded},
        {"address", JsonText(t.address)},
        {"serial", JsonText(t.last.serialNumber)},
        {"heads", heads},
    };
    if (t.recording) {
        json["recorded"] = t.recorded;
        json["recording_stopped"] = t.recordingStopped.empty()
                                        ? nlohmann::ordered_json(nullptr)
                                        : nlohmann::ordered_json(JsonText(t.recordingStopped));
    }
    if (t.gps) {
        json["gps_reads"] = t.gpsReads;
        json["latitude"] = JsonText(t.latitude);
        json["longitude"] = JsonText(t.longitude);
        if (t.recording) json["recorded_without_gps"] = t.recordedWithoutGps;
    }
    return DumpJson(json);
}

std::string JsonString(const std::string& text) {
    return DumpJson(nlohmann::ordered_json(JsonText(text)), false);
}

}  // namespace cli
