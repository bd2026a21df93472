#pragma once
// Which heads the polling cycle visits. While every head answers, all of them, in HeadChannel
// order, and nothing here changes what the engine does. A head that has missed its reply at
// two rebuilds of the connections in a row would stall every cycle (the others are asked only
// after it answers), so it is left out: the heads that answer go on completing cycles without
// it. A left-out head is tried again on a fresh connection every reply period; once it answers
// it joins the cycle again at the next cycle boundary, so that no cycle holds a line it did not
// deliver. At least one head always stays in: when every head misses, there is nothing to poll
// without them, and the connections are rebuilt as they always were.

#include <array>

#include "acquisition/HeadTable.h"

struct PollingSet {
    // Rebuilds in a row at which the head missed its reply.
    std::array<int, kHeadCount> missedRebuilds{};
    std::array<bool, kHeadCount> leftOut{};
    // Left out, but it has answered since: it joins at the next cycle boundary.
    std::array<bool, kHeadCount> rejoining{};

    static constexpr int kMissesToLeaveOut = 2;

    // Every head in the cycle again, nothing counted (real time begins, Reconnect).
    void Restart();
    // The reply timer rebuilds the connections. `missed` marks the heads that missed their
    // reply (a request outstanding, or no connection), `inUse` the installation's heads. Heads
    // that missed twice in a row are left out, unless none would be left to poll. True when a
    // head was left out now.
    bool Rebuilt(const std::array<bool, kHeadCount>& missed,
                 const std::array<bool, kHeadCount>& inUse);
    // The head answered a data request; a left-out head will join again.
    void Answered(int head);
    // A cycle boundary or a rebuild: heads that answered join the cycle when `connected` says
    // they can be polled now; the others stay out and are tried again. True when one joined.
    bool Rejoin(const std::array<bool, kHeadCount>& connected);

    bool InCycle(int head) const { return !leftOut[head]; }
    // Left out and not yet answering: to be tried again.
    bool ToRetry(int head) const { return leftOut[head] && !rejoining[head]; }
    int LeftOutCount() const;
    bool AnyLeftOut() const { return LeftOutCount() > 0; }
};
