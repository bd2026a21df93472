#pragma once
// What the operator is told about the link to each head: whether the engine is connecting to
// it, it answers, or it is silent, which head the polling cycle is stalled by and which heads
// are left out of polling. The engine keeps it current; the status bar shows it. It
// also decides whether a close notification may rebuild the connections at once: a head that
// accepts and closes at once (or a platform that reports a failed connect as a close) would
// otherwise have the engine reconnect as fast as the event loop runs.

#include <array>
#include <cstdint>
#include <string>

#include "acquisition/HeadTable.h"

enum class LinkState : std::uint8_t { Unused, Connecting, Answering, Silent };

struct HeadLinks {
    std::array<LinkState, kHeadCount> state{};
    // A request has been sent to the head and its answer has not come yet.
    std::array<bool, kHeadCount> awaiting{};
    // Left out of polling (it stopped answering) and not answering yet.
    std::array<bool, kHeadCount> leftOut{};
    // Some head has answered since the last rebuild that a close caused (or since real time
    // began): the next close may rebuild at once. Otherwise the reply timer rebuilds.
    bool closeMayRebuild = false;

    // Every head unused (idle, playback); nothing may rebuild at once.
    void Clear();
    // Real time begins or the operator asks for a reconnection: heads start afresh.
    void Restart();
    // A connect to the head starts: it is connecting, unless it is already known to be silent
    // (it stays so until it answers).
    void ConnectStarted(int head);
    void ConnectFailed(int head);
    // The connection is made: the link works, unless the head is known to be silent (it stays
    // so until it answers).
    void Connected(int head);
    void RequestSent(int head);
    void Answered(int head);
    // The reply timer ran out: a head not connected, or one whose answer is outstanding, is
    // silent.
    void TimedOut(int head, bool connected);
    // True once after the text shown changed since the last call.
    bool TakeChange();

private:
    std::string published;
};

// The pane text: the heads in use grouped by state, e.g. "ok: L M H  silent: ES", or
// "connecting: L"; empty when no head is in use. A silent head whose answer the polling cycle
// waits for is named after the groups ("  stalled by L"), and so are the heads left out of
// polling ("  polling without L").
std::string LinkStatusText(const HeadLinks& links);
