#include "acquisition/HeadLinks.h"

void HeadLinks::Clear() {
    state.fill(LinkState::Unused);
    awaiting.fill(false);
    leftOut.fill(false);
    closeMayRebuild = false;
}

void HeadLinks::Restart() {
    state.fill(LinkState::Unused);
    awaiting.fill(false);
    leftOut.fill(false);
    closeMayRebuild = true;
}

void HeadLinks::ConnectStarted(int head) {
    awaiting[head] = false;
    if (state[head] != LinkState::Silent) state[head] = LinkState::Connecting;
}

void HeadLinks::ConnectFailed(int head) {
    awaiting[head] = false;
    state[head] = LinkState::Silent;
}

void HeadLinks::Connected(int head) {
    awaiting[head] = false;
    if (state[head] != LinkState::Silent) state[head] = LinkState::Answering;
}

void HeadLinks::RequestSent(int head) {
    awaiting[head] = true;
}

void HeadLinks::Answered(int head) {
    awaiting[head] = false;
    state[head] = LinkState::Answering;
    closeMayRebuild = true;
}

void HeadLinks::TimedOut(int head, bool connected) {
    if (state[head] == LinkState::Unused) return;
    if (!connected || awaiting[head]) state[head] = LinkState::Silent;
    awaiting[head] = false;
}

bool HeadLinks::TakeChange() {
    std::string text = LinkStatusText(*this);
    if (published == text) return false;
    published = std::move(text);
    return true;
}

namespace {

// " L M" for the heads the predicate picks; empty when none.
template <typename Pick>
std::string HeadsWhere(Pick pick) {
    std::string heads;
    for (int h = 0; h < kHeadCount; ++h) {
        if (pick(h)) heads += std::string(" ") + HeadLabel(h);
    }
    return heads;
}

void Append(std::string& text, const char* name, const std::string& heads) {
    if (heads.empty()) return;
    if (!text.empty()) text += "  ";
    text += name + heads;
}

}  // namespace

std::string LinkStatusText(const HeadLinks& links) {
    struct Group {
        LinkState state;
        const char* name;
    };
    const Group groups[] = {{LinkState::Answering, "ok:"},
                            {LinkState::Connecting, "connecting:"},
                            {LinkState::Silent, "silent:"}};
    std::string text;
    for (const Group& group : groups) {
        Append(text, group.name, HeadsWhere([&](int h) { return links.state[h] == group.state; }));
    }
    // Only one request of the cycle is outstanding: a silent head awaited stalls the cycle.
    Append(text, "stalled by", HeadsWhere([&](int h) {
               return links.state[h] == LinkState::Silent && links.awaiting[h] && !links.leftOut[h];
           }));
    Append(text, "polling without", HeadsWhere([&](int h) {
               return links.leftOut[h] && links.state[h] != LinkState::Unused;
           }));
    return text;
}
