#pragma once
// A walk over a whole ".svx" file that lists its records and finds damage without a document:
// what `sonvara-cli info` reports. The records are decoded by the record codec, as the playback
// reads them; a damaged stretch is stepped over to the next record start, so records after it
// are still listed.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datafiles/RecordIndex.h"

struct RecordSummary {
    std::uint64_t offset = 0;
    std::uint32_t ping = 0;
    std::uint32_t length = 0;
    std::array<bool, 4> heads{};  // L, M, H, ES present
    bool systemInfo = false;
    std::optional<int> range;    // of the first side-scan head block
    std::optional<int> esRange;  // of the echo-sounder block
    std::optional<int> event;    // event number when the record is marked
    int intervalMs = 0;          // recorded ping interval
    bool gps = false;            // the record carries GPS sentences (none: the GPS was lost)
    std::string date, time;      // "03-JUL-2025", "14:05:09.007"
};

struct DataFileSummary {
    std::uint64_t bytes = 0;
    std::vector<RecordSummary> records;
    // Offset of the first byte where no readable record starts, and how many bytes were
    // stepped over in all.
    std::optional<std::uint64_t> damagedOffset;
    std::uint64_t damagedBytes = 0;
    // Every damaged stretch stepped over, in file order.
    std::vector<svx::DamagedStretch> damage;
};

// False (with a reason) when the file cannot be read at all.
bool ScanDataFile(const std::string& path, DataFileSummary& summary, std::string& error);
