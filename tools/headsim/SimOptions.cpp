#include "SimOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

#include "../common/CommandLine.h"
#include "common/TextFormat.h"

namespace sim {

namespace {

constexpr const char* kFaultHelp =
    "inject a fault into one head; repeat for more. FAULT is one of\n"
    "  delay=MS          wait MS more before every reply\n"
    "  split[=MS]        send replies in two segments, MS apart (default 20)\n"
    "  short             send only the first 1000 bytes of data replies\n"
    "  long              send 1129-byte data replies\n"
    "  wrong-kind        kind byte 0x33 instead of the half select\n"
    "  status            status byte 0x7C (a faulty header)\n"
    "  silent            never answer\n"
    "  close-after=N     close the connection after N replies on it\n"
    "split, short, long, wrong-kind, status and silent take /N to hit only every Nth\n"
    "request of that head, e.g. --fault H:silent/50";

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(part);
    return parts;
}

bool ToInt(const std::string& text, int minimum, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= minimum;
}

bool ToDouble(const std::string& text, double& value) {
    const std::optional<double> number = ParseNumber(text);
    value = number.value_or(0.0);
    return number && value >= 0;
}

bool ParseDotted(const std::string& text, std::array<int, 4>& octets) {
    const auto parts = Split(text, '.');
    if (parts.size() != 4) return false;
    for (int i = 0; i < 4; ++i) {
        if (parts[i].empty() || parts[i].size() > 3 || !ToInt(parts[i], 0, octets[i]) ||
            octets[i] > 255) {
            return false;
        }
    }
    return true;
}

bool ParseHeads(const std::string& text, Installation& installation, std::string& error) {
    installation.present.fill(false);
    for (const std::string& label : Split(text, ',')) {
        const int head = HeadByLabel(label);
        if (head < 0) {
            error = "unknown head '" + label + "' (use L, M, H, ES)";
            return false;
        }
        installation.present[head] = true;
    }
    if (std::none_of(installation.present.begin(), installation.present.end(),
                     [](bool p) { return p; })) {
        error = "--heads names no head";
        return false;
    }
    return true;
}

bool ParseAddresses(const std::string& text, Installation& installation, std::string& error) {
    const auto parts = Split(text, ',');
    if (parts.size() != kHeadCount) {
        error = "--addresses takes four addresses (L,M,H,ES)";
        return false;
    }
    for (int h = 0; h < kHeadCount; ++h) {
        std::array<int, 4> octets{};
        if (!ParseDotted(parts[h], octets)) {
            error = "not an IPv4 address: '" + parts[h] + "'";
            return false;
        }
        installation.addresses[h] = parts[h];
    }
    return true;
}

// "HEAD:KIND[=VALUE][/EVERY]"
bool ParseHeadFault(const std::string& text, SimConfig& config, std::string& error) {
    const auto colon = text.find(':');
    const int head = colon == std::string::npos ? -1 : HeadByLabel(text.substr(0, colon));
    if (head < 0) {
        error = "--fault wants HEAD:KIND, e.g. M:split (got '" + text + "')";
        return false;
    }
    return ParseFault(text.substr(colon + 1), config.faults[head], error);
}

// A check of an option's value through one of the parsers above: its message is the parser's.
template <typename Parse>
CLI::Validator Through(Parse parse) {
    return CLI::Validator(
        [parse](std::string& value) {
            std::string error;
            return parse(value, error) ? std::string() : error;
        },
        "");
}

void DescribeSim(CLI::App& app, SimConfig& config, std::vector<std::string>& faults) {
    app.description(
        "Simulated sonar heads: each head is a TCP server on its own address, port 4040. They\n"
        "answer the system-information request (0x99) and data requests (0x44) with a\n"
        "plausible scene.");
    app.set_version_flag("--version", tools::VersionText("sonvara-headsim"));
    tools::LastValueWins(app);
    Installation& inst = config.installation;
    app.add_option_function<std::string>(
           "--heads",
           [&inst](const std::string& v) {
               std::string e;
               ParseHeads(v, inst, e);
           },
           "heads to simulate, from L,M,H,ES (default: all four)")
        ->type_name("LIST")
        ->check(Through([](const std::string& v, std::string& e) {
            Installation scratch;
            return ParseHeads(v, scratch, e);
        }));
    app.add_option_function<std::string>(
           "--addresses",
           [&inst](const std::string& v) {
               std::string e;
               ParseAddresses(v, inst, e);
           },
           "listening addresses of L, M, H and ES "
           "(default: 127.0.0.2,127.0.0.3,127.0.0.4,127.0.0.5)")
        ->type_name("A,B,C,D")
        ->check(Through([](const std::string& v, std::string& e) {
            Installation scratch;
            return ParseAddresses(v, scratch, e);
        }));
    app.add_option("--port", config.port, "TCP port of every head (default: 4040)")
        ->type_name("N")
        ->check(tools::Wants(
            [](const std::string& v) {
                int port = 0;
                return ToInt(v, 1, port) && port <= 65535;
            },
            "1..65535"));
    app.add_flag("--allow-remote", config.allowRemote,
                 "allow addresses outside 127.0.0.0/8 (refused otherwise)");
    app.add_flag("--fast", config.fast,
                 "answer at once instead of after the two-way travel time of the range");
    app.add_flag_callback(
        "--no-orientation", [&inst] { inst.orientation = false; },
        "the echo sounder has no orientation sensor");
    app.add_option_function<std::string>(
           "--serial", [&inst](const std::string& v) { inst.serialNumber = v.substr(0, 6); },
           "serial number in the system-information reply (6 characters)")
        ->type_name("TEXT");
    app.add_option_function<int>(
           "--seed", [&config](const int& seed) { config.seed = static_cast<std::uint32_t>(seed); },
           "seed of the scene (default: 1)")
        ->type_name("N")
        ->check(tools::Wants(
            [](const std::string& v) {
                int seed = 0;
                return ToInt(v, 0, seed);
            },
            "a whole number"));
    app.add_option("--fault", faults, kFaultHelp)
        ->type_name("HEAD:FAULT")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(Through([](const std::string& v, std::string& e) {
            SimConfig scratch;
            return ParseHeadFault(v, scratch, e);
        }));
    app.add_option("--fault-end", config.faultEndS,
                   "the injected faults end S seconds after the heads start listening; every "
                   "head then answers as if it had none (default: they last the whole run)")
        ->type_name("S")
        ->check(tools::Wants(
            [](const std::string& v) {
                double s = 0;
                return ToDouble(v, s) && s > 0;
            },
            "a number of seconds above 0"));
    app.add_flag("--log", config.log,
                 "print one line per request received: head, command byte, half select, range, "
                 "gain and any deviation from the 128-byte request");
    app.add_option("--duration", config.durationS,
                   "stop after S seconds (default: run until SIGINT or SIGTERM)")
        ->type_name("S")
        ->check(tools::Wants(
            [](const std::string& v) {
                double s = 0;
                return ToDouble(v, s);
            },
            "a number of seconds"));
    app.footer(
        "Exit status: 0 after a clean stop, 1 when a head cannot listen, 2 for a mistake "
        "on the command line.");
}

}  // namespace

int HeadByLabel(const std::string& label) {
    std::string upper = label;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (int h = 0; h < kHeadCount; ++h) {
        if (upper == HeadLabel(h)) return h;
    }
    return -1;
}

bool IsLoopbackAddress(const std::string& dotted) {
    std::array<int, 4> octets{};
    return ParseDotted(dotted, octets) && octets[0] == 127;
}

bool ParseFault(const std::string& text, HeadFaults& faults, std::string& error) {
    std::string kind = text;
    int every = 1;
    if (const auto slash = kind.find('/'); slash != std::string::npos) {
        if (!ToInt(kind.substr(slash + 1), 1, every)) {
            error = "fault '" + text + "': /EVERY must be a whole number of at least 1";
            return false;
        }
        kind.resize(slash);
    }
    std::string value;
    if (const auto equals = kind.find('='); equals != std::string::npos) {
        value = kind.substr(equals + 1);
        kind.resize(equals);
    }
    auto number = [&](int minimum, int& target) {
        if (ToInt(value, minimum, target)) return true;
        error = "fault '" + text + "': " + kind + " needs =N (at least " + std::to_string(minimum) +
                ")";
        return false;
    };
    auto flag = [&](int& target) {
        if (!value.empty()) {
            error = "fault '" + text + "': " + kind + " takes no value";
            return false;
        }
        target = every;
        return true;
    };
    if (kind == "delay") return number(0, faults.delayMs);
    if (kind == "close-after") return number(1, faults.closeAfter);
    if (kind == "split") {
        faults.splitEvery = every;
        return value.empty() || number(0, faults.splitPauseMs);
    }
    if (kind == "short") return flag(faults.shortEvery);
    if (kind == "long") return flag(faults.longEvery);
    if (kind == "wrong-kind") return flag(faults.wrongKindEvery);
    if (kind == "status") return flag(faults.statusEvery);
    if (kind == "silent") return flag(faults.silentEvery);
    error = "unknown fault '" + kind + "'";
    return false;
}

ParseResult ParseSimArguments(const std::vector<std::string>& args) {
    ParseResult result;
    SimConfig config;
    std::vector<std::string> faults;
    CLI::App app{"", "sonvara-headsim"};
    DescribeSim(app, config, faults);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    for (const std::string& fault : faults) ParseHeadFault(fault, config, result.error);
    if (!config.allowRemote) {
        for (int h = 0; h < kHeadCount; ++h) {
            if (config.installation.present[h] &&
                !IsLoopbackAddress(config.installation.addresses[h])) {
                result.error = "refusing to listen on " + config.installation.addresses[h] +
                               ": not a loopback address (127.x.y.z); add --allow-remote to "
                               "allow it";
                return result;
            }
        }
    }
    result.config = config;
    return result;
}

std::string SimUsage() {
    SimConfig config;
    std::vector<std::string> faults;
    CLI::App app{"", "sonvara-headsim"};
    DescribeSim(app, config, faults);
    return app.help();
}

}  // namespace sim
