#include "imaging/PingHistory.h"

#include <cstdlib>
#include <limits>
#include <new>

#include "common/LargeBuffer.h"

std::int32_t PingIntervalMeter::Add(std::uint32_t now) {
    if (!started) {
        started = true;
        return measured;
    }
    // Tick counts wrap after 49.7 days; the signed difference stays small across the wrap.
    const auto difference =
        static_cast<std::int32_t>(now - static_cast<std::uint32_t>(previousTick));
    sum += std::llabs(static_cast<std::int64_t>(difference));
    if (++count > 9) {
        const std::int64_t mean = sum / 10;
        measured = mean > std::numeric_limits<std::int32_t>::max()
                       ? std::numeric_limits<std::int32_t>::max()
                       : static_cast<std::int32_t>(mean);
        sum = 0;
        count = 0;
    }
    return measured;
}

namespace {

constexpr std::size_t kHistoryBytes = std::size_t{kHistoryLength} * sizeof(HistoryRecord);

}  // namespace

void PingHistory::FreeRecords::operator()(HistoryRecord* records) const {
    FreeLargeBuffer(records, kHistoryBytes);
}

PingHistory::PingHistory()
    : records(static_cast<HistoryRecord*>(AllocateLargeBuffer(kHistoryBytes))) {
    if (!records) throw std::bad_alloc();
}

int PingHistory::IndexBack(int k) const {
    int index = writeIndex - k;
    if (index < 0) {
        if (!wrapped) return -1;
        index += kHistoryLength;
    }
    return index;
}

void PingHistory::Advance() {
    if (++writeIndex >= kHistoryLength) {
        writeIndex = 0;
        wrapped = 1;
    }
}

void PingHistory::Reset() {
    writeIndex = 0;
    wrapped = 0;
    // Slots never written are zero already (and stay untouched pages).
    for (int index = 0; index < usedSlots; ++index) {
        HistoryRecord& record = records[static_cast<std::size_t>(index)];
        for (auto& line : record.lines) line.fill(0);
        record.esSamples.fill(0);
        record.range = 0;
        record.pingIntervalMs = 0;
        record.pingNumber = 0;
        record.speedKnots = 0.0;
        record.wrapSeparator = 0;
    }
    usedSlots = 0;
}
