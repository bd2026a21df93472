#include "SimOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace sim {

namespace {

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
    try {
        std::size_t used = 0;
        value = std::stod(text, &used);
        return used == text.size() && value >= 0;
    } catch (...) {
        return false;
    }
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

bool Needs(const std::vector<std::string>& args, std::size_t i, std::string& error) {
    if (i + 1 < args.size()) return true;
    error = args[i] + " needs a value";
    return false;
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
    std::string& error = result.error;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            return result;
        } else if (arg == "--fast") {
            config.fast = true;
        } else if (arg == "--log") {
            config.log = true;
        } else if (arg == "--allow-remote") {
            config.allowRemote = true;
        } else if (arg == "--no-orientation") {
            config.installation.orientation = false;
        } else if (arg == "--heads") {
            if (!Needs(args, i, error) || !ParseHeads(args[++i], config.installation, error)) {
                return result;
            }
        } else if (arg == "--addresses") {
            if (!Needs(args, i, error) || !ParseAddresses(args[++i], config.installation, error)) {
                return result;
            }
        } else if (arg == "--port") {
            if (!Needs(args, i, error)) return result;
            if (!ToInt(args[++i], 1, config.port) || config.port > 65535) {
                error = "--port wants 1..65535";
                return result;
            }
        } else if (arg == "--duration") {
            if (!Needs(args, i, error)) return result;
            if (!ToDouble(args[++i], config.durationS)) {
                error = "--duration wants a number of seconds";
                return result;
            }
        } else if (arg == "--serial") {
            if (!Needs(args, i, error)) return result;
            config.installation.serialNumber = args[++i].substr(0, 6);
        } else if (arg == "--seed") {
            if (!Needs(args, i, error)) return result;
            int seed = 0;
            if (!ToInt(args[++i], 0, seed)) {
                error = "--seed wants a whole number";
                return result;
            }
            config.seed = static_cast<std::uint32_t>(seed);
        } else if (arg == "--fault") {
            if (!Needs(args, i, error) || !ParseHeadFault(args[++i], config, error)) return result;
        } else {
            error = "unknown option '" + arg + "'";
            return result;
        }
    }
    if (!config.allowRemote) {
        for (int h = 0; h < kHeadCount; ++h) {
            if (config.installation.present[h] &&
                !IsLoopbackAddress(config.installation.addresses[h])) {
                error = "refusing to listen on " + config.installation.addresses[h] +
                        ": not a loopback address (127.x.y.z); add --allow-remote to allow it";
                return result;
            }
        }
    }
    result.config = config;
    return result;
}

std::string SimUsage() {
    return R"(Usage: sonvara-headsim [options]

Simulated sonar heads: each head is a TCP server on its own address, port 4040. They answer
the system-information request (0x99) and data requests (0x44) with a plausible scene.

Options:
  --heads LIST        heads to simulate, from L,M,H,ES (default: all four)
  --addresses A,B,C,D listening addresses of L, M, H and ES
                      (default: 127.0.0.2,127.0.0.3,127.0.0.4,127.0.0.5)
  --port N            TCP port of every head (default: 4040)
  --allow-remote      allow addresses outside 127.0.0.0/8 (refused otherwise)
  --fast              answer at once instead of after the two-way travel time of the range
  --no-orientation    the echo sounder has no orientation sensor
  --serial TEXT       serial number in the system-information reply (6 characters)
  --seed N            seed of the scene (default: 1)
  --fault HEAD:FAULT  inject a fault into one head; repeat for more. FAULT is one of
                        delay=MS          wait MS more before every reply
                        split[=MS]        send replies in two segments, MS apart (default 20)
                        short             send only the first 1000 bytes of data replies
                        long              send 1129-byte data replies
                        wrong-kind        kind byte 0x33 instead of the half select
                        status            status byte 0x7C (a faulty header)
                        silent            never answer
                        close-after=N     close the connection after N replies on it
                      split, short, long, wrong-kind, status and silent take /N to hit only
                      every Nth request of that head, e.g. --fault H:silent/50
  --log               print one line per request received: head, command byte, half select,
                      range, gain and any deviation from the 128-byte request
  --duration S        stop after S seconds (default: run until SIGINT or SIGTERM)
  -h, --help          show this text
)";
}

}  // namespace sim
