#include "gps/GpsGaps.h"

namespace {

constexpr std::size_t kGapsNamed = 5;

std::string PingRange(const GpsGap& gap) {
    return gap.firstPing == gap.lastPing
               ? std::to_string(gap.firstPing)
               : std::to_string(gap.firstPing) + "-" + std::to_string(gap.lastPing);
}

}  // namespace

bool CarriesGpsSentences(const std::array<std::string, kSentenceSlots>& sentences) {
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        if (sentences[i].empty()) continue;
        if (i == 0 && sentences[i] == "$GPS") continue;
        return true;
    }
    return false;
}

void GpsGaps::Add(std::int64_t ping, bool carried) {
    if (carried) {
        open = false;
        return;
    }
    ++records;
    if (!open) gaps.push_back({ping, ping, 0});
    open = true;
    gaps.back().lastPing = ping;
    ++gaps.back().records;
}

std::string GpsGaps::Note() const {
    if (records == 0) return {};
    std::string note = std::to_string(records) +
                       (records == 1 ? " record carries" : " records carry") +
                       " no GPS sentence: " + (records == 1 ? "ping " : "pings ");
    const std::size_t named = gaps.size() < kGapsNamed ? gaps.size() : kGapsNamed;
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0) note += i + 1 == named && named == gaps.size() ? " and " : ", ";
        note += PingRange(gaps[i]);
    }
    if (gaps.size() > named) {
        const std::size_t more = gaps.size() - named;
        note += " and " + std::to_string(more) + (more == 1 ? " more gap" : " more gaps");
    }
    return note;
}
