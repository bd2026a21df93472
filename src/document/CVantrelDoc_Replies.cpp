// Classifying, decoding and storing head replies, and validating a completed polling cycle.

#include <algorithm>
#include <cstring>

#include "document/CVantrelDoc.h"

ReplyClass CVantrelDoc::ReceiveReply(int head, const std::uint8_t* data, int length) {
    length = std::clamp(length, 0, kDataReplyLength + 1);
    receiveBuffer.fill(0);
    std::memcpy(receiveBuffer.data(), data, static_cast<std::size_t>(length));
    const ReplyClass kind = ClassifyReply(receiveBuffer.data(), length);
    switch (kind) {
        case ReplyClass::SystemInfo:
            std::memcpy(systemInfo.data(), receiveBuffer.data(), kSystemInfoLength);
            DecodeSystemInfo();
            break;
        case ReplyClass::Short:
            noDataFlag = 1;
            break;
        case ReplyClass::FirstHalf:
        case ReplyClass::SecondHalf:
            noDataFlag = 0;
            StoreDataReply(head, kind, receiveBuffer.data());
            break;
        case ReplyClass::OtherKind:
            noDataFlag = 0;
            break;
    }
    return kind;
}

void CVantrelDoc::DecodeSystemInfo() {
    if (!IsSystemInfoReply(systemInfo.data(), kSystemInfoLength)) return;
    discoveryMode = 0;
    systemInfoReceived = 1;
    HeadEntry& head0 = heads[kHeadL];
    if (head0.socket) {
        head0.socket->Close();
        head0.socket->connected = 0;
    }
    const SystemInfoFields info = ParseSystemInfo(systemInfo.data());
    serialNumber = info.serialNumber;
    for (int h = 0; h < kHeadCount; ++h) heads[h].available = info.presence[h];
    orientationPresent = info.orientationPresent;
    for (int h = 0; h < kHeadCount; ++h) {
        HeadEntry& head = heads[h];
        const SystemInfoHead& field = info.heads[h];
        head.minFrequencyHz = field.lowestKHz * 1000;
        head.maxFrequencyHz = field.highestKHz * 1000;
        head.frequencyHz =
            ClampFrequency(field.frequencyKHz * 1000, head.minFrequencyHz, head.maxFrequencyHz);
        if (info.presence[h]) head.ipAddress = field.address;
    }
    ConfigureHeads(info.presence);
    observer->ApplyConfiguration();
    ConnectAll();
}

void CVantrelDoc::StoreDataReply(int head, ReplyClass kind, const std::uint8_t* reply) {
    HeadEntry& entry = heads[head];
    if (!entry.IsConnected()) return;
    if (kind == ReplyClass::FirstHalf) {
        StoreFirstHalf(entry, head, reply);
    } else if (kind == ReplyClass::SecondHalf) {
        StoreSecondHalf(entry, reply);
        if (head == kHeadES) std::memcpy(esSecondHeader.data(), reply, kStoredHeaderLength);
    }
}

bool CVantrelDoc::ValidateCycle() {
    int faults = 0;
    for (int h = 0; h < kHeadCount; ++h) {
        HeadEntry& head = heads[h];
        // A head left out of polling gave nothing to this cycle: its old header does not count.
        if (!HeadHasData(h)) continue;
        const char* id = reinterpret_cast<const char*>(head.replyHeader.data());
        head.headerId.assign(id, strnlen(id, 3));
        head.headerStatus = head.replyHeader[headreturn::kStatus];
        // Either half of the ping may report the fault; only the second half's header is
        // kept, so the first half's status is kept beside it for this check.
        faults += (head.headerStatus | head.firstHalfStatus) & headreturn::kFaultyStatusMask;
    }
    for (HeadEntry& head : heads) head.firstHalfStatus = 0;
    if (faults != 0) return false;
    ++acceptedCycleCount;
    // Only a cycle that will be stored feeds the orientation filters.
    if (orientationPresent && HeadHasData(kHeadES)) ConvertOrientation();
    return true;
}
