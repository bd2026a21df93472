#pragma once
// How old the GPS's last fix and last sentences are. The reader thread only counts (the
// counters of GpsState); the window thread looks at the counters with its own clock and
// stamps the time at which it saw each one move. In real time that clock is the tick count;
// in playback it is the time stamp of the record being played, so that a gap in a recording
// ages as it did while it was recorded.

#include <cstdint>
#include <optional>
#include <string>

// The age after which the GPS counts as lost: the setting (milliseconds), or three read
// intervals when that is longer, since a fix can only be seen once per read.
std::uint32_t GpsLostThresholdMs(int settingMs, int readIntervalMs);

// The setting's bounds: from a tenth of a second (tests, fast receivers) to ten minutes.
inline constexpr int kGpsLostAfterMinMs = 100;
inline constexpr int kGpsLostAfterMaxMs = 600000;
inline constexpr int kGpsLostAfterDefaultMs = 3000;
int ClampGpsLostAfter(int milliseconds);

class GpsFixAge {
public:
    // Starts afresh, with no fix and no sentences, from the counters as they stand.
    void Reset(std::uint32_t fixCount, std::uint32_t batchCount);
    // The counters at nowMs: each that moved since the last look stamps nowMs.
    void Observe(std::uint32_t fixCount, std::uint32_t batchCount, std::uint32_t nowMs);

    // Milliseconds from the last fix (sentences) to nowMs; nothing before the first. The
    // clock may wrap: ages are differences modulo 2^32.
    std::optional<std::uint32_t> FixAgeMs(std::uint32_t nowMs) const;
    std::optional<std::uint32_t> SentenceAgeMs(std::uint32_t nowMs) const;

private:
    std::uint32_t fixes = 0, batches = 0;
    std::optional<std::uint32_t> fixAt, batchAt;
};

// What the panes and the dialog show of the GPS at one moment.
struct GpsFixStatus {
    std::optional<std::uint32_t> ageMs;  // of the last fix; nothing before the first
    std::uint32_t thresholdMs = 3000;
    bool receiverSaysNoFix = false;  // the last position sentence flagged no fix
    bool deviceLost = false;
    // Playback: the record carries no GPS sentence. It was written while the GPS was lost, so
    // it has no current fix whatever the age of the last one.
    bool recordWithoutGps = false;

    // A fix was had and is now older than the threshold (or the played record has none).
    bool Lost() const { return ageMs && (recordWithoutGps || *ageMs > thresholdMs); }
};

// "GPS lost 12 s" (whole seconds of the age), from two minutes on "GPS lost 5 min", from two
// hours on "GPS lost 3 h".
std::string GpsLostText(std::uint32_t ageMs);
// The age of the fix for a tooltip or the dialog: "0.4 s", "12 s", "n/a" before any fix.
std::string GpsAgeText(const GpsFixStatus& status);
// Why the GPS is lost, in a few words, for a tooltip: "recorded while the GPS was lost", "the
// GPS device is lost", "the receiver reports no fix", "no position received".
std::string GpsLostReason(const GpsFixStatus& status);
