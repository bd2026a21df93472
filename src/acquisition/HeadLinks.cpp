#include "acquisition/HeadLinks.h"

void HeadLinks::Clear() {
    state.fill(LinkState::Unused);
    awaiting.fill(false);
    closeMayRebuild = false;
}

void HeadLinks::Restart() {
    state.fill(LinkState::Unused);
    awaiting.fill(false);
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
    if (published == state) return false;
    published = state;
    return true;
}

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
        std::string heads;
        for (int h = 0; h < kHeadCount; ++h) {
            if (links.state[h] == group.state) heads += std::string(" ") + HeadLabel(h);
        }
        if (heads.empty()) continue;
        if (!text.empty()) text += "  ";
        text += group.name + heads;
    }
    return text;
}
