#pragma once
// The plain part of `sonvara-cli acquire`: its command line, what it reports every second and
// the totals at the end (text or one JSON object).

#include <optional>
#include <string>
#include <vector>

#include "ImageOptions.h"

class CVantrelDoc;

namespace cli {

struct AcquireOptions {
    std::string address;
    int port = 4040;     // TCP port of every head
    int cycles = 0;      // stop after this many accepted cycles (0: no target)
    double seconds = 0;  // stop after this long (0: no limit)
    bool json = false;
    std::optional<int> range;   // metres, for every head
    std::optional<int> gainDb;  // for every head
    std::string recordPath;     // record every accepted cycle into this data file
    std::string imagesDir;      // write the images formed live here at the end
    std::string gpsDevice;      // read the GPS receiver on this serial device
    ImageOptions images;
};

struct AcquireParse {
    std::optional<AcquireOptions> options;  // empty for help, version or a mistake
    bool help = false;
    bool version = false;
    std::string text;   // the help or version text
    std::string error;  // one line naming the option
};

AcquireParse ParseAcquireArguments(const std::vector<std::string>& args);
std::string AcquireUsage();

// What the document shows at one moment.
struct AcquireSnapshot {
    double seconds = 0;
    int accepted = 0;
    int rejected = 0;
    int reconnects = 0;
    std::string state;                    // Idle, Discovering, Connecting, Polling
    std::vector<std::string> headStates;  // "L:up", "M:down", "H:off", ...
    std::string serialNumber;
    bool discovered = false;  // the installation has answered with its system information
};
AcquireSnapshot TakeSnapshot(const CVantrelDoc& doc, double seconds);

// One progress line; `previousAccepted` gives the cycles of the last second.
std::string FormatProgress(const AcquireSnapshot& now, int previousAccepted);

struct AcquireTotals {
    AcquireSnapshot last;
    std::string address;
    int target = 0;
    bool succeeded = false;
    // With --record: the records written to the file, and why recording stopped before the
    // end of the run (empty when it did not).
    bool recording = false;
    long long recorded = 0;
    std::string recordingStopped;
    // With --gps: the reads of the receiver and the position last decoded ("n/a" before one);
    // with --record too, the records written with an empty GPS block because the GPS was lost.
    bool gps = false;
    long long gpsReads = 0;
    std::string latitude, longitude;
    long long recordedWithoutGps = 0;
};
// Success: the target was reached, or without a target at least one cycle was accepted.
bool Succeeded(int accepted, int target);
std::string FormatTotalsText(const AcquireTotals& totals);
// One line of JSON; "heads" lists the heads the installation reported (empty before that);
// with --record also "recorded" and "recording_stopped" (null or the reason).
std::string FormatTotalsJson(const AcquireTotals& totals);

// A JSON string literal of text: UTF-8 as it is, a byte sequence that is not UTF-8 (a serial
// number, an old file name) taken as Latin-1. The output is ASCII (\u escapes).
std::string JsonString(const std::string& text);
// True for a dotted IPv4 address ("127.0.0.2").
bool IsIpv4Address(const std::string& text);

}  // namespace cli
