#include "acquisition/PollingSet.h"

void PollingSet::Restart() {
    missedRebuilds.fill(0);
    leftOut.fill(false);
    rejoining.fill(false);
}

bool PollingSet::Rebuilt(const std::array<bool, kHeadCount>& missed,
                         const std::array<bool, kHeadCount>& inUse) {
    std::array<bool, kHeadCount> leave{};
    int remaining = 0;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!inUse[h] || leftOut[h]) continue;
        missedRebuilds[h] = missed[h] ? missedRebuilds[h] + 1 : 0;
        leave[h] = missedRebuilds[h] >= kMissesToLeaveOut;
        if (!leave[h]) ++remaining;
    }
    if (remaining == 0) return false;
    bool any = false;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!leave[h]) continue;
        leftOut[h] = true;
        rejoining[h] = false;
        missedRebuilds[h] = 0;
        any = true;
    }
    return any;
}

void PollingSet::Answered(int head) {
    missedRebuilds[head] = 0;
    if (leftOut[head]) rejoining[head] = true;
}

bool PollingSet::Rejoin(const std::array<bool, kHeadCount>& connected) {
    bool any = false;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!rejoining[h]) continue;
        rejoining[h] = false;
        if (!connected[h]) continue;
        leftOut[h] = false;
        any = true;
    }
    return any;
}

int PollingSet::LeftOutCount() const {
    int count = 0;
    for (bool out : leftOut) count += out ? 1 : 0;
    return count;
}
