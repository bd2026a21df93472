#pragma once
// The records of a recording that carry no GPS sentence: the GPS was lost (or there was none)
// while they were recorded, so they have no position of their own. The exports and the tools
// count them and name the pings where each gap begins and ends.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gps/GpsState.h"

// Whether a record's sentences hold anything: an empty block reads back as "$GPS" and nine
// empty slots.
bool CarriesGpsSentences(const std::array<std::string, kSentenceSlots>& sentences);

struct GpsGap {
    std::int64_t firstPing = 0;
    std::int64_t lastPing = 0;
    std::uint64_t records = 0;
};

class GpsGaps {
public:
    // One record in file order: its ping and whether it carried sentences.
    void Add(std::int64_t ping, bool carried);

    std::uint64_t Records() const { return records; }
    const std::vector<GpsGap>& Gaps() const { return gaps; }
    // "61 records carry no GPS sentence: pings 120-180, 400-402 and 3 more gaps";
    // empty when every record carried some.
    std::string Note() const;

private:
    std::vector<GpsGap> gaps;
    std::uint64_t records = 0;
    bool open = false;  // the last record added was in a gap
};
