#include "SimReplies.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "acquisition/HeadReturn.h"
#include "common/ByteOrder.h"

namespace sim {

bool PutDottedAddress(std::uint8_t* field, const std::string& dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    char tail = 0;
    if (std::sscanf(dotted.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4) return false;
    if (a > 255 || b > 255 || c > 255 || d > 255) return false;
    field[3] = static_cast<std::uint8_t>(a);
    field[2] = static_cast<std::uint8_t>(b);
    field[1] = static_cast<std::uint8_t>(c);
    field[0] = static_cast<std::uint8_t>(d);
    return true;
}

std::vector<std::uint8_t> BuildSystemInfoReply(const SimSystemInfo& info) {
    using namespace headreturn;
    std::vector<std::uint8_t> reply(kSystemInfoLength, 0);
    reply[0] = 'I';
    reply[1] = 'C';
    reply[2] = 'X';
    std::memcpy(reply.data() + kSerial, info.serialNumber.data(),
                std::min<std::size_t>(info.serialNumber.size(), kSerialLength));
    reply[kPresence] = info.presence;
    for (int h = 0; h < kHeadCount; ++h) {
        const SimHeadInfo& head = info.heads[h];
        std::uint8_t* entry = reply.data() + kHeadBlock + kHeadBlockStride * h;
        PutLe16(entry + kFrequencyKHz, static_cast<std::uint16_t>(head.frequencyKHz));
        PutLe16(entry + kLowestKHz, static_cast<std::uint16_t>(head.lowestKHz));
        PutLe16(entry + kHighestKHz, static_cast<std::uint16_t>(head.highestKHz));
        if (!head.address.empty()) PutDottedAddress(entry + kAddress, head.address);
    }
    return reply;
}

std::vector<std::uint8_t> BuildDataReply(const std::string& headerId, std::uint8_t status,
                                         std::uint8_t kind, const std::uint8_t* samples) {
    std::vector<std::uint8_t> reply(kDataReplyLength, 0);
    std::memcpy(reply.data(), headerId.data(), std::min<std::size_t>(headerId.size(), 3));
    reply[headreturn::kStatus] = status;
    reply[headreturn::kKind] = kind;
    if (samples) std::memcpy(reply.data() + kStoredHeaderLength, samples, kReplyDataLength);
    return reply;
}

}  // namespace sim
