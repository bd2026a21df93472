// The acquisition engine: connects, discovers the installation, polls the heads for both
// halves of every ping in HeadChannel order (CVantrelDoc_Polling.cpp), and rebuilds the
// connections when a reply does not come within 3 s. At most one request of the polling cycle
// is outstanding at any time.

#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"

namespace {
// Rebuilds the connections after a timeout, a close or the Reconnect command. While the
// installation is still being discovered only head 0's address is known (the one typed in the
// Connect dialog): the other heads would be connected to stale addresses, and each of their
// connects would send the system-information request again, so discovery starts over on
// head 0 alone (the other heads are not connected while discovering).
void RebuildConnections(CVantrelDoc& doc) {
    if (doc.discoveryMode) {
        doc.ConnectHead(kHeadL);
    } else {
        doc.DisconnectAll();
        doc.ConnectAll();
    }
}
}  // namespace

void CVantrelDoc::ConnectHead(int head) {
    HeadEntry& entry = heads[head];
    if (!entry.socket) return;
    entry.socket->connected = 0;
    entry.socket->Close();
    assemblers[head].Clear();
    // A connect still in progress reports its result later through OnConnect; one that fails
    // at once leaves the head unconnected until the reply timer rebuilds.
    links.ConnectStarted(head);
    const int result = entry.socket->Connect(entry.ipAddress, headPort);
    if (result != 0 && result != CSCSocket::kWouldBlock) links.ConnectFailed(head);
    PublishLinks();
}

void CVantrelDoc::ConnectAll() {
    currentHead = 0;
    // Every head listens on the port discovery used (4040 unless a tool chose another).
    pollingActive = false;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!heads[h].available) links.state[h] = LinkState::Unused;
        if (heads[h].available && !heads[h].IsConnected()) ConnectHead(h);
    }
    PublishLinks();
}

void CVantrelDoc::DisconnectAll() {
    pollingActive = false;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!heads[h].socket) continue;
        heads[h].socket->connected = 0;
        heads[h].socket->Close();
        heads[h].firstHalfStatus = 0;
        assemblers[h].Clear();
    }
}

void CVantrelDoc::Reconnect() {
    if (playbackMode) return;
    // The operator asked: every head starts afresh and the rebuild is counted like any other.
    links.Restart();
    polling.Restart();
    ++rebuildCount;
    RebuildConnections(*this);
    PublishLinks(true);
}

void CVantrelDoc::PublishLinks(bool rebuilt) {
    if (!links.TakeChange() && !rebuilt) return;
    observer->HeadLinksChanged();
}

EngineState CVantrelDoc::State() const {
    if (!realTimeActive || playbackMode) return EngineState::Idle;
    if (discoveryMode) return EngineState::Discovering;
    return pollingActive ? EngineState::Polling : EngineState::Connecting;
}

void CVantrelDoc::RestartReplyTimer() {
    platform.StopTimer(kTimerReply);
    platform.StartTimer(kTimerReply, kReplyTimeoutMs);
}

void CVantrelDoc::OnConnect(int headIndex, int errorCode) {
    // A head left out of polling connects outside the cycle and leaves the reply timer alone.
    if (!playbackMode && !discoveryMode && !polling.InCycle(headIndex)) {
        LeftOutHeadConnected(headIndex, errorCode);
        return;
    }
    platform.StopTimer(kTimerReply);
    if (errorCode != 0) {
        if (!playbackMode && heads[headIndex].socket) heads[headIndex].socket->connected = 0;
        if (!playbackMode) links.ConnectFailed(headIndex);
    } else if (!playbackMode && discoveryMode) {
        SetCommandByte(kHeadL, switchcmd::kSystemInfoRequest);
        SendCommand(kHeadL);
    } else if (!playbackMode) {
        heads[headIndex].socket->connected = 1;
        links.Connected(headIndex);
        // currentHead counts the completed connects here; heads left out are not waited for.
        if (++currentHead == headCount - polling.LeftOutCount()) StartPolling();
    }
    platform.StartTimer(kTimerReply, kReplyTimeoutMs);
    PublishLinks();
    observer->RefreshDiagnostics();
}

void CVantrelDoc::OnReceive(int headIndex, int errorCode) {
    if (errorCode != 0) {
        platform.MessageBox("system error! ");
        return;
    }
    HeadEntry& entry = heads[headIndex];
    ReplyAssembler& assembler = assemblers[headIndex];
    if (!entry.socket) return;
    const int received = entry.socket->Receive(assembler.WritePosition(), assembler.FreeSpace());
    if (received > 0) assembler.Commit(received);
    // More than one whole reply may be waiting; handling one may send the next request, which
    // discards whatever is left.
    while (const int length = assembler.WholeReplyLength(discoveryMode != 0)) {
        std::uint8_t reply[kDataReplyLength + 1];
        std::copy(assembler.Data(), assembler.Data() + length, reply);
        assembler.Consume(length);
        if (!discoveryMode && !polling.InCycle(headIndex)) {
            TakeLeftOutReply(headIndex, reply, length);
            continue;
        }
        // The head answered; a system-information reply then starts the connects afresh.
        if (ClassifyReply(reply, length) != ReplyClass::Short) links.Answered(headIndex);
        const ReplyClass kind = ReceiveReply(headIndex, reply, length);
        if (kind == ReplyClass::FirstHalf || kind == ReplyClass::SecondHalf) {
            polling.Answered(headIndex);
        }
        if (kind == ReplyClass::FirstHalf) {
            platform.StopTimer(kTimerReply);
            if (entry.IsConnected()) {
                SetHalfSelect(headIndex, switchcmd::kSecondHalf);
                SendCommand(headIndex);
            }
            platform.StartTimer(kTimerReply, kReplyTimeoutMs);
        } else if (kind == ReplyClass::SecondHalf) {
            AdvanceAfterSecondHalf();
        }
    }
    PublishLinks();
}

void CVantrelDoc::ReplyTimeout() {
    platform.StopTimer(kTimerReply);
    if (playbackMode) return;
    noDataFlag = 1;
    if (!discoveryMode) LeaveOutSilentHeads();
    for (int h = 0; h < kHeadCount; ++h) links.TimedOut(h, heads[h].IsConnected());
    ++rebuildCount;
    RebuildConnections(*this);
    PublishLinks(true);
    platform.StartTimer(kTimerReply, kReplyTimeoutMs);
}

void CVantrelDoc::OnClose(int headIndex, int /*errorCode*/) {
    if (heads[headIndex].socket) heads[headIndex].socket->connected = 0;
    if (closing) return;
    links.ConnectFailed(headIndex);
    // A head left out of polling is tried again by its own timer; the others poll on.
    if (!discoveryMode && !polling.InCycle(headIndex)) {
        PublishLinks();
        return;
    }
    // A close rebuilds at once only when some head has answered since the last such rebuild:
    // a head that accepts and drops every connection at once is retried by the reply timer,
    // once per period, instead of as fast as the notifications come.
    if (!links.closeMayRebuild) {
        PublishLinks();
        return;
    }
    links.closeMayRebuild = false;
    ++rebuildCount;
    RebuildConnections(*this);
    PublishLinks(true);
}

void CVantrelDoc::OnTimer(int timerId) {
    if (TheDocument() != this) return;
    switch (timerId) {
        case kTimerReply:
            ReplyTimeout();
            break;
        case kTimerHeadRetry:
            RetryLeftOutHeads();
            break;
        case kTimerPlaybackDelay:
            PlaybackDelayExpired();
            break;
        case kTimerGpsRead:
            GpsReadTimer();
            break;
        case kTimerPlayback:
            if (playbackMode) {
                PlaybackTick();
            } else {
                platform.StopTimer(kTimerPlayback);
            }
            break;
        default:
            break;
    }
}

void CVantrelDoc::ConnectToSonarHead() {
    platform.StopTimer(kTimerPlayback);
    SaveSettings();
    observer->UpdateTitles();
    std::string address = heads[kHeadL].ipAddress;
    if (platform.ConnectDialog(address)) {
        EnterRealTime(address);
        return;
    }
    OpenPlayback();
    if (playbackMode && playback.playbackFile.IsOpen()) {
        platform.StartTimer(kTimerPlayback, playback.playbackPeriodMs);
    }
}

void CVantrelDoc::EnterRealTime(const std::string& address) {
    // Leaving playback closes its files and starts the history and the images afresh.
    if (playbackMode) LeavePlayback();
    // Choosing real time again while polling starts over: a head left connected would go on
    // answering its outstanding request and keep a polling cycle running beside discovery.
    DisconnectAll();
    LoadSettings();
    playbackMode = 0;
    realTimeActive = true;
    if (gpsInput.link) ReopenGpsPort(gpsConfig.gpsPort);
    platform.StartTimer(kTimerReply, kReplyTimeoutMs);
    observer->ApplyConfiguration();
    heads[kHeadL].ipAddress = address;
    discoveryMode = 1;
    systemInfoReceived = 0;
    links.Restart();
    polling.Restart();
    ConnectHead(kHeadL);
}

void CVantrelDoc::CloseDocument() {
    platform.StopTimer(kTimerReply);
    platform.StopTimer(kTimerHeadRetry);
    platform.StopTimer(kTimerPlaybackDelay);
    platform.StopTimer(kTimerPlayback);
    closing = true;
    platform.StopTimer(kTimerGpsRead);
    CloseAllGpsPorts();
    SaveSettings();
    CloseAllFiles();
    DisconnectAll();
}
