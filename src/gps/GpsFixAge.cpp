#include "gps/GpsFixAge.h"

#include <algorithm>

#include "common/TextFormat.h"

std::uint32_t GpsLostThresholdMs(int settingMs, int readIntervalMs) {
    const long long reads = 3LL * std::max(readIntervalMs, 0);
    return static_cast<std::uint32_t>(std::max<long long>(ClampGpsLostAfter(settingMs), reads));
}

int ClampGpsLostAfter(int milliseconds) {
    return std::clamp(milliseconds, kGpsLostAfterMinMs, kGpsLostAfterMaxMs);
}

void GpsFixAge::Reset(std::uint32_t fixCount, std::uint32_t batchCount) {
    fixes = fixCount;
    batches = batchCount;
    fixAt.reset();
    batchAt.reset();
}

void GpsFixAge::Observe(std::uint32_t fixCount, std::uint32_t batchCount, std::uint32_t nowMs) {
    if (fixCount != fixes) fixAt = nowMs;
    if (batchCount != batches) batchAt = nowMs;
    fixes = fixCount;
    batches = batchCount;
}

std::optional<std::uint32_t> GpsFixAge::FixAgeMs(std::uint32_t nowMs) const {
    if (!fixAt) return std::nullopt;
    return nowMs - *fixAt;
}

std::optional<std::uint32_t> GpsFixAge::SentenceAgeMs(std::uint32_t nowMs) const {
    if (!batchAt) return std::nullopt;
    return nowMs - *batchAt;
}

// Seconds for the first two minutes, then minutes, then hours: short enough for a pane.
std::string GpsLostText(std::uint32_t ageMs) {
    const std::uint32_t s = ageMs / 1000;
    if (s < 120) return Printf("GPS lost %u s", s);
    if (s < 120 * 60) return Printf("GPS lost %u min", s / 60);
    return Printf("GPS lost %u h", s / 3600);
}

std::string GpsAgeText(const GpsFixStatus& status) {
    if (!status.ageMs) return "n/a";
    const std::uint32_t ms = *status.ageMs;
    return ms < 10000 ? Printf("%.1f s", ms / 1000.0) : Printf("%u s", ms / 1000);
}

std::string GpsLostReason(const GpsFixStatus& status) {
    if (status.recordWithoutGps) return "recorded while the GPS was lost";
    if (status.deviceLost) return "the GPS device is lost";
    if (status.receiverSaysNoFix) return "the receiver reports no fix";
    return "no position received";
}
