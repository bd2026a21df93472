#pragma once
// Building the replies a head sends: the 256-byte "ICX" system-information reply and the
// 1128-byte data reply. Used by the simulator and by tests.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "acquisition/HeadTable.h"

namespace sim {

struct SimHeadInfo {
    int frequencyKHz = 0;
    int lowestKHz = 0;
    int highestKHz = 0;
    std::string address;  // dotted text; empty leaves the field zero
};

struct SimSystemInfo {
    std::string serialNumber = "SV0001";
    std::uint8_t presence = 0x1F;  // bits 0..3 heads, bit 4 orientation sensor
    std::array<SimHeadInfo, kHeadCount> heads;
};

// The system-information reply for the installation.
std::vector<std::uint8_t> BuildSystemInfoReply(const SimSystemInfo& info);

// A data reply: header id, status and kind byte, then the 1000 samples.
std::vector<std::uint8_t> BuildDataReply(const std::string& headerId, std::uint8_t status,
                                         std::uint8_t kind, const std::uint8_t* samples);

// Writes the dotted address text into a 4-byte field (the first number at +3); false when the
// text is not four numbers 0..255.
bool PutDottedAddress(std::uint8_t* field, const std::string& dotted);

}  // namespace sim
