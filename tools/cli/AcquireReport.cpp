#include "AcquireReport.h"

#include <charconv>
#include <cstdio>

#include "acquisition/CVantrelDoc.h"
#include "acquisition/RangeList.h"

namespace cli {

namespace {

bool ToSeconds(const std::string& text, double& value) {
    try {
        std::size_t used = 0;
        value = std::stod(text, &used);
        return used == text.size() && value > 0;
    } catch (...) {
        return false;
    }
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
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

double PerSecond(const AcquireTotals& t) {
    return t.last.seconds > 0 ? t.last.accepted / t.last.seconds : 0.0;
}

}  // namespace

AcquireParse ParseAcquireArguments(const std::vector<std::string>& args) {
    AcquireParse result;
    AcquireOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            return result;
        }
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        const OptionTake take = TakeImageOption(args, i, options.images, result.error);
        if (take == OptionTake::Error) return result;
        if (take == OptionTake::Taken) continue;
        if (arg != "--connect" && arg != "--cycles" && arg != "--seconds" && arg != "--range" &&
            arg != "--gain" && arg != "--record" && arg != "--images") {
            result.error = "unknown option '" + arg + "'";
            return result;
        }
        if (!hasValue) {
            result.error = arg + " needs a value";
            return result;
        }
        const std::string& value = args[++i];
        int number = 0;
        if (arg == "--connect") {
            options.address = value;
        } else if (arg == "--record") {
            options.recordPath = value;
        } else if (arg == "--images") {
            options.imagesDir = value;
        } else if (arg == "--cycles") {
            if (!ToInt(value, options.cycles) || options.cycles < 1) {
                result.error = "--cycles wants a whole number of at least 1";
                return result;
            }
        } else if (arg == "--seconds") {
            if (!ToSeconds(value, options.seconds)) {
                result.error = "--seconds wants a positive number";
                return result;
            }
        } else if (arg == "--range") {
            if (!ToInt(value, number) || kRangeList[RangeIndexOf(number)] != number) {
                result.error =
                    "--range wants one of 10 20 30 40 50 60 80 100 120 150 200 250 "
                    "300 400 500";
                return result;
            }
            options.range = number;
        } else if (arg == "--gain") {
            if (!ToInt(value, number) || number < 0 || number > 40) {
                result.error = "--gain wants 0..40 dB";
                return result;
            }
            options.gainDb = number;
        }
    }
    if (options.address.empty()) {
        result.error = "--connect ADDRESS is required";
        return result;
    }
    if (options.cycles == 0 && options.seconds == 0) options.seconds = 10;
    result.options = options;
    return result;
}

std::string AcquireUsage() {
    return R"(Usage: sonvara-cli acquire --connect ADDRESS [options]

Runs the acquisition engine without windows: asks the installation at ADDRESS for its heads
(port 4040), connects them and polls them. Prints progress every second to standard error
and the totals at the end to standard output.

Options:
  --connect ADDRESS   the address typed in the Connect dialog (the installation's first head)
  --cycles N          stop after N accepted polling cycles
  --seconds S         stop after S seconds (default 10 when --cycles is not given)
  --range M           side-scan and echo-sounder range in metres (10 .. 500, default 50)
  --gain DB           gain of every head, 0 .. 40 dB (default 6)
  --record FILE       record every accepted cycle into the data file FILE (.svx)
  --images DIR        at the end, write the images formed live into DIR: L.png, M.png,
                      H.png (8-bit, through the colour table) and composite.png (24-bit)
)" + ImageOptionsUsage() +
           R"(  --json              print the totals as one JSON object: accepted, rejected, reconnects,
                      seconds, cycles_per_second, target, reached, address, serial, heads
  -h, --help          show this text

Exit status: 0 when N accepted cycles were reached (without --cycles: at least one), else 1.
)";
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

std::string FormatTotalsText(const AcquireTotals& t) {
    return "accepted " + std::to_string(t.last.accepted) + ", rejected " +
           std::to_string(t.last.rejected) + ", reconnects " + std::to_string(t.last.reconnects) +
           " in " + Fixed(t.last.seconds, 2) + " s (" + Fixed(PerSecond(t), 1) + " cycles/s)" +
           (t.succeeded ? "" : " - target not reached") + "\n";
}

std::string FormatTotalsJson(const AcquireTotals& t) {
    std::string heads;
    for (const std::string& head : t.last.headStates) {
        if (!t.last.discovered || head.find(":off") != std::string::npos) continue;
        heads += (heads.empty() ? "" : ",") + JsonString(head.substr(0, head.find(':')));
    }
    return "{\"accepted\":" + std::to_string(t.last.accepted) +
           ",\"rejected\":" + std::to_string(t.last.rejected) +
           ",\"reconnects\":" + std::to_string(t.last.reconnects) +
           ",\"seconds\":" + Fixed(t.last.seconds, 3) +
           ",\"cycles_per_second\":" + Fixed(PerSecond(t), 2) +
           ",\"target\":" + std::to_string(t.target) +
           ",\"reached\":" + (t.succeeded ? "true" : "false") +
           ",\"address\":" + JsonString(t.address) +
           ",\"serial\":" + JsonString(t.last.serialNumber) + ",\"heads\":[" + heads + "]}\n";
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace cli
