#include "acquisition/HeadReturn.h"

#include <algorithm>
#include <cstring>

#include "common/ByteOrder.h"

using namespace headreturn;

bool IsSystemInfoReply(const std::uint8_t* data, int length) {
    return length == kSystemInfoLength && data[0] == 'I' && data[1] == 'C' && data[2] == 'X';
}

ReplyClass ClassifyReply(const std::uint8_t* data, int length) {
    if (IsSystemInfoReply(data, length)) return ReplyClass::SystemInfo;
    if (length < kDataReplyLength) return ReplyClass::Short;
    switch (data[kKind]) {
        case switchcmd::kFirstHalf:
            return ReplyClass::FirstHalf;
        case switchcmd::kSecondHalf:
            return ReplyClass::SecondHalf;
        default:
            return ReplyClass::OtherKind;
    }
}

std::string DottedAddress(const std::uint8_t* field) {
    return std::to_string(field[3]) + "." + std::to_string(field[2]) + "." +
           std::to_string(field[1]) + "." + std::to_string(field[0]);
}

SystemInfoFields ParseSystemInfo(const std::uint8_t* block) {
    SystemInfoFields info;
    const char* serial = reinterpret_cast<const char*>(block + kSerial);
    info.serialNumber.assign(serial, strnlen(serial, kSerialLength));
    const std::uint8_t presence = block[kPresence];
    for (int h = 0; h < kHeadCount; ++h) {
        info.presence[h] = (presence >> h) & 1;
        const std::uint8_t* entry = block + kHeadBlock + kHeadBlockStride * h;
        info.heads[h].frequencyKHz = GetLe16(entry + kFrequencyKHz);
        info.heads[h].lowestKHz = GetLe16(entry + kLowestKHz);
        info.heads[h].highestKHz = GetLe16(entry + kHighestKHz);
        info.heads[h].address = DottedAddress(entry + kAddress);
    }
    info.orientationPresent = (presence & kOrientationBit) ? 1 : 0;
    return info;
}

std::int32_t ClampFrequency(std::int32_t hz, std::int32_t minHz, std::int32_t maxHz) {
    if (hz < minHz) hz = minHz;
    if (hz > maxHz) hz = maxHz;
    return hz;
}

void StoreFirstHalf(HeadEntry& head, int headIndex, const std::uint8_t* reply) {
    const std::uint8_t* data = reply + kStoredHeaderLength;
    head.firstHalfStatus = reply[kStatus];
    if (headIndex == kHeadES) {
        std::memcpy(head.replyHeader.data(), reply, kStoredHeaderLength);
        std::memcpy(head.line.data(), data, kReplyDataLength);
        return;
    }
    // Far range first: the first sample of the port side lands at position 999.
    std::reverse_copy(data, data + kReplyDataLength, head.line.begin());
}

void StoreSecondHalf(HeadEntry& head, const std::uint8_t* reply) {
    std::memcpy(head.replyHeader.data(), reply, kStoredHeaderLength);
    std::memcpy(head.line.data() + kReplyDataLength, reply + kStoredHeaderLength,
                kReplyDataLength);
}
