// The polling cycle: the first request, the advance from head to head after each second half,
// the end of a cycle, and polling without a head that has stopped answering (PollingSet): it
// is left out, tried again every reply period on a fresh connection, and joins the cycle again
// at the next cycle boundary after it has answered.

#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"

bool CVantrelDoc::InPollingCycle(int head) const {
    return heads[head].IsConnected() && polling.InCycle(head);
}

bool CVantrelDoc::HeadHasData(int head) const {
    return heads[head].available != 0 && (playbackMode != 0 || polling.InCycle(head));
}

void CVantrelDoc::SendCommand(int head) {
    HeadEntry& entry = heads[head];
    // Whatever is left of an earlier reply (a 1129th byte) is not part of the answer to this
    // request: only one request is ever outstanding on a connection.
    std::uint8_t discard[kReceiveBufferLength];
    while (entry.socket->Receive(discard, kReceiveBufferLength) > 0) {
    }
    assemblers[head].Clear();
    links.RequestSent(head);
    entry.socket->Send(entry.command.data(), commandLength);
}

void CVantrelDoc::StartPolling() {
    for (int h = 0; h < kHeadCount; ++h) {
        if (!InPollingCycle(h)) continue;
        currentHead = h;
        SetCommandByte(h, switchcmd::kDataRequest);
        SetHalfSelect(h, switchcmd::kFirstHalf);
        pollingActive = true;
        SendCommand(h);
        return;
    }
}

void CVantrelDoc::AdvanceAfterSecondHalf() {
    if (++currentHead == kHeadCount) {
        currentHead = 0;
        EndCycle();
    }
    int found = -1;
    for (int step = 0, h = currentHead; step < kHeadCount; ++step) {
        if (InPollingCycle(h)) {
            found = h;
            break;
        }
        if (++h == kHeadCount) {
            h = 0;
            currentHead = 0;
            EndCycle();
        }
    }
    if (found < 0) return;  // nothing is sent; the reply timer rebuilds the connections
    currentHead = found;
    platform.StopTimer(kTimerReply);
    SetHalfSelect(found, switchcmd::kFirstHalf);
    SendCommand(found);
    platform.StartTimer(kTimerReply, kReplyTimeoutMs);
}

void CVantrelDoc::EndCycle() {
    CycleComplete();
    // A head that answered while it was left out is polled from the next cycle on.
    std::array<bool, kHeadCount> connected{};
    for (int h = 0; h < kHeadCount; ++h) connected[h] = heads[h].IsConnected();
    if (polling.Rejoin(connected)) ShowLeftOutHeads();
}

void CVantrelDoc::CycleComplete() {
    StampCycleTime();
    if (!ValidateCycle()) {
        ++rejectedCycleCount;
        observer->RefreshDiagnostics();
        return;
    }
    noDataFlag = 0;
    StoreCycle();
}

void CVantrelDoc::LeaveOutSilentHeads() {
    std::array<bool, kHeadCount> missed{}, inUse{};
    for (int h = 0; h < kHeadCount; ++h) {
        inUse[h] = heads[h].available != 0;
        missed[h] = !heads[h].IsConnected() || links.awaiting[h];
    }
    if (polling.Rebuilt(missed, inUse)) platform.StartTimer(kTimerHeadRetry, kReplyTimeoutMs);
    // Every connection is made afresh: a head that has answered since it was left out is
    // connected and polled with the others.
    std::array<bool, kHeadCount> all;
    all.fill(true);
    polling.Rejoin(all);
    ShowLeftOutHeads();
}

void CVantrelDoc::RetryLeftOutHeads() {
    if (playbackMode || discoveryMode || !polling.AnyLeftOut()) {
        platform.StopTimer(kTimerHeadRetry);
        return;
    }
    bool retried = false;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!heads[h].available || !polling.ToRetry(h)) continue;
        links.TimedOut(h, heads[h].IsConnected());
        ConnectHead(h);
        retried = true;
    }
    if (!retried) return;
    ++rebuildCount;
    PublishLinks(true);
}

void CVantrelDoc::LeftOutHeadConnected(int head, int errorCode) {
    HeadEntry& entry = heads[head];
    if (errorCode != 0 || !entry.socket) {
        if (entry.socket) entry.socket->connected = 0;
        links.ConnectFailed(head);
    } else {
        // Asked for the first half of a ping, outside the cycle: its answer is not stored.
        entry.socket->connected = 1;
        links.Connected(head);
        SetCommandByte(head, switchcmd::kDataRequest);
        SetHalfSelect(head, switchcmd::kFirstHalf);
        SendCommand(head);
    }
    PublishLinks();
    observer->RefreshDiagnostics();
}

void CVantrelDoc::TakeLeftOutReply(int head, const std::uint8_t* reply, int length) {
    const ReplyClass kind = ClassifyReply(reply, length);
    if (kind != ReplyClass::FirstHalf && kind != ReplyClass::SecondHalf) return;
    links.Answered(head);
    polling.Answered(head);
    ShowLeftOutHeads();
}

void CVantrelDoc::ShowLeftOutHeads() {
    for (int h = 0; h < kHeadCount; ++h) links.leftOut[h] = polling.ToRetry(h);
}
