#pragma once
// The ping history: a ring of exactly 4000 completed polling cycles, allocated once and never
// resized, that image formation re-draws from. Also the measurement of the ping interval.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "acquisition/HeadTable.h"
#include "gps/NavigationTexts.h"

inline constexpr int kHistoryLength = 4000;
inline constexpr int kSideScanChannels = 3;
inline constexpr int kEchoSamples = 1000;

struct HistoryRecord {
    std::array<std::array<std::uint8_t, kLineLength>, kSideScanChannels> lines{};  // L, M, H
    std::array<std::uint8_t, kEchoSamples> esSamples{};
    std::int32_t range = 0;
    std::int32_t esRange = 0;
    std::int32_t pingIntervalMs = 0;
    std::int32_t pingNumber = 0;
    double speedKnots = 0.0;
    std::array<char, 12> time{};  // clock text and milliseconds text, no terminator
    std::int32_t wrapSeparator = 0;
    NavigationTexts texts{};
    double altitudeM = 0.0;
    double headingDeg = 0.0;
};

// Zeroed storage (LargeBuffer) holds HistoryRecords without running a constructor: an aggregate
// is created implicitly there, and all-zero bytes are its initial value.
static_assert(std::is_aggregate_v<HistoryRecord> &&
              std::is_trivially_destructible_v<HistoryRecord> &&
              std::is_trivially_copyable_v<HistoryRecord>);

// Ping interval over blocks of ten cycles: the mean of ten tick differences becomes the
// measured interval at every tenth difference. The first cycle only starts the measurement:
// there is no earlier ping to measure from (a difference from tick 0 would be the time since
// the computer started, and the first ten pings would then scroll the waterfall by hours).
struct PingIntervalMeter {
    bool started = false;
    std::int32_t previousTick = 0;
    std::int64_t sum = 0;
    std::int32_t count = 0;
    std::int32_t measured = 0;

    // Adds the difference between now and the previous tick; returns the measured interval.
    std::int32_t Add(std::uint32_t now);
};

class PingHistory {
public:
    PingHistory();

    // A slot that may be written: it counts as used until the next Reset().
    HistoryRecord& Record(int index) {
        if (index >= usedSlots) usedSlots = index + 1;
        return records[static_cast<std::size_t>(index)];
    }
    const HistoryRecord& Record(int index) const {
        return records[static_cast<std::size_t>(index)];
    }
    // Slot of the k-th older record (k = 1 is the newest, at writeIndex - 1), or -1 when the
    // walk has passed the oldest record of a ring that has not wrapped yet.
    int IndexBack(int k) const;
    // The slot just filled becomes history: writeIndex moves on, wrapping after 4000.
    void Advance();
    // Empties the ring: samples, range, interval, ping number, speed and separator become 0.
    void Reset();

    std::int32_t writeIndex = 0;
    std::int32_t wrapped = 0;
    // Set by playback when it wrapped to the file's start: the next stored record carries the
    // wrap separator.
    std::int32_t separatorPending = 0;
    std::int32_t pingIntervalMs = 0;
    PingIntervalMeter intervalMeter;

private:
    struct FreeRecords {
        void operator()(HistoryRecord* records) const;
    };
    // 4000 records (about 29 MB) of large zero pages that the system provides when they are
    // first touched, so a document is created without writing them.
    std::unique_ptr<HistoryRecord[], FreeRecords> records;
    // Slots from here on have never been written since the last Reset() and are all zero.
    int usedSlots = 0;
};
