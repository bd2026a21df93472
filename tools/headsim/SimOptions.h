#pragma once
// The command line of sonvara-headsim: which heads, where they listen, how fast they answer,
// which faults they inject, logging and how long to run.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SimHead.h"

namespace sim {

struct SimConfig {
    Installation installation;  // heads present, their addresses, orientation, serial number
    std::array<HeadFaults, kHeadCount> faults{};
    int port = 4040;
    bool fast = false;         // answer at once instead of after the travel time
    bool log = false;          // one line per request received
    bool allowRemote = false;  // bind addresses outside 127.0.0.0/8
    double durationS = 0;      // 0: until SIGINT or SIGTERM
    double faultEndS = 0;      // the faults end this long after the start; 0: they never end
    std::uint32_t seed = 1;
    // The NMEA GPS on a pseudo-terminal joins here as its own group of options.
};

struct ParseResult {
    std::optional<SimConfig> config;  // empty for help, version or a mistake
    bool help = false;
    bool version = false;
    std::string text;   // the help or version text
    std::string error;  // one line naming the option
};

ParseResult ParseSimArguments(const std::vector<std::string>& args);
std::string SimUsage();

// A head by its label: "L", "M", "H" or "ES" (any case); -1 when unknown.
int HeadByLabel(const std::string& label);
// Applies one fault text "KIND[=VALUE][/EVERY]" to a head's faults; false with a message when
// the text is not understood.
bool ParseFault(const std::string& text, HeadFaults& faults, std::string& error);
// True for a dotted IPv4 address in 127.0.0.0/8.
bool IsLoopbackAddress(const std::string& dotted);

}  // namespace sim
