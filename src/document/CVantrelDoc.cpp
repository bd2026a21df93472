#include "document/CVantrelDoc.h"

namespace {
CVantrelDoc* documentPointer = nullptr;
}

CVantrelDoc* TheDocument() { return documentPointer; }

CVantrelDoc::CVantrelDoc(Platform& platformRef) : platform(platformRef) {
    CreateSockets();
    platform.SetTimerListener(this);
    OnNewDocument();
    documentPointer = this;
}

CVantrelDoc::~CVantrelDoc() {
    documentPointer = nullptr;
    platform.SetTimerListener(nullptr);
    for (auto& head : heads) {
        if (head.socket) head.socket->Close();
    }
}

void CVantrelDoc::CreateSockets() {
    for (int h = 0; h < kHeadCount; ++h) {
        heads[h].socket = platform.CreateHeadSocket(h, this);
        if (heads[h].socket) heads[h].socket->headIndex = h;
    }
}

void CVantrelDoc::SetObserver(DocumentObserver* newObserver) {
    observer = newObserver ? newObserver : &defaultObserver;
}

void CVantrelDoc::OnNewDocument() {
    for (int h = 0; h < kHeadCount; ++h) {
        HeadEntry& head = heads[h];
        head.ipAddress = DefaultHeadAddress(h);
        head.frequencyHz = InitialHeadFrequencyHz(h);
        head.minFrequencyHz = 0;
        head.maxFrequencyHz = 0;
        head.gainDb = 6;
        head.transmitOffMask = 0;
        head.available = 1;
        head.headerId = "n/a";
        head.headerStatus = 0;
        head.replyHeader.fill(0);
        head.line.fill(0);
        if (head.socket) head.socket->connected = 0;
    }
    currentHead = 0;
    headCount = kHeadCount;
    headPort = 4040;
    commandLength = kCommandLength;
    replyHeaderLength = kReplyHeaderLength;
    replyDataLength = kReplyDataLength;
    receiveBuffer.fill(0);
    systemInfo.fill(0);
    esSecondHeader.fill(0);
    serialNumber.clear();
    orientationPresent = threeFrequencySystem = twoFrequencySystem = 0;
    displayChannelA = kHeadL;
    displayChannelB = kHeadH;
    discoveryMode = 1;
    systemInfoReceived = playbackMode = 0;
    noDataFlag = 1;
    acceptedCycleCount = 0;
    range = esRange = 50;
    rangeIndex = esRangeIndex = 9;
    units = 0;
    InitSwitchCommands();
    InitPalette();
    ResetHistory();
}

void CVantrelDoc::InitSwitchCommands() { ::InitSwitchCommands(heads); }
void CVantrelDoc::BuildSwitchCommands() { ::BuildSwitchCommands(heads, range, esRange); }
void CVantrelDoc::SetCommandByte(int head, std::uint8_t value) {
    ::SetCommandByte(heads[head], value);
}
void CVantrelDoc::SetHalfSelect(int head, std::uint8_t value) {
    ::SetHalfSelect(heads[head], value);
}

void CVantrelDoc::ConfigureHeads(const int present[kHeadCount]) {
    headCount = kHeadCount;
    for (int h = 0; h < kHeadCount; ++h) {
        if (heads[h].socket) heads[h].socket->headIndex = h;
    }
    for (int h = 0; h < kHeadCount; ++h) {
        if (!present[h]) {
            --headCount;
        } else if (h != kHeadES) {
            // The last present side-scan head wins.
            displayChannelA = displayChannelB = h;
        }
    }
    threeFrequencySystem = present[kHeadL] && present[kHeadM] && present[kHeadH];
    if (threeFrequencySystem) {
        // A system is never both: a two-frequency flag left from an earlier configuration
        // would show the wrong frames.
        twoFrequencySystem = 0;
        displayChannelA = kHeadL;
        displayChannelB = kHeadH;
        return;
    }
    const bool es = present[kHeadES] != 0;
    twoFrequencySystem = (headCount == 3 && es) || (headCount == 2 && !es);
    if (!twoFrequencySystem) return;
    displayChannelA = present[kHeadL] ? kHeadL : kHeadM;
    displayChannelB = present[kHeadL] ? kHeadM : kHeadH;
    if (!present[kHeadM]) {
        displayChannelA = kHeadL;
        displayChannelB = kHeadH;
    }
}
