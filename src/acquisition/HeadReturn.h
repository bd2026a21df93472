#pragma once
// What a head sends back: the 256-byte system-information reply ("ICX") or the 1128-byte data
// reply carrying one half of a ping. Classification looks only at the byte count, the "ICX"
// mark and the kind byte, and never reads past the bytes it is given.

#include <cstdint>
#include <string>

#include "acquisition/SwitchCommand.h"

enum class ReplyClass { SystemInfo, Short, FirstHalf, SecondHalf, OtherKind };

namespace headreturn {
inline constexpr int kStatus = 3;
inline constexpr int kKind = 10;
inline constexpr std::uint8_t kFaultyStatusMask = 0x7C;
// System-information reply fields.
inline constexpr int kSerial = 10;
inline constexpr int kSerialLength = 6;
inline constexpr int kPresence = 50;
inline constexpr int kHeadBlock = 90;
inline constexpr int kHeadBlockStride = 30;
inline constexpr int kFrequencyKHz = 0;
inline constexpr int kLowestKHz = 2;
inline constexpr int kHighestKHz = 4;
inline constexpr int kAddress = 10;
inline constexpr std::uint8_t kOrientationBit = 0x10;
}  // namespace headreturn

// True when the bytes are exactly a 256-byte reply beginning with "ICX".
bool IsSystemInfoReply(const std::uint8_t* data, int length);
// Classifies one received reply of `length` bytes.
ReplyClass ClassifyReply(const std::uint8_t* data, int length);

// The dotted text of a 4-byte address field: the byte at +3 is the first number.
std::string DottedAddress(const std::uint8_t* field);

// One head's entry of a system-information reply.
struct SystemInfoHead {
    int frequencyKHz = 0;
    int lowestKHz = 0;
    int highestKHz = 0;
    std::string address;
};

struct SystemInfoFields {
    std::string serialNumber;
    int presence[kHeadCount] = {};
    int orientationPresent = 0;
    SystemInfoHead heads[kHeadCount];
};

// Reads the fields of a 256-byte system-information block.
SystemInfoFields ParseSystemInfo(const std::uint8_t* block);

// The frequency a head works at: the reported one raised to the lowest, then lowered to the
// highest (the upper limit wins when the limits cross).
std::int32_t ClampFrequency(std::int32_t hz, std::int32_t minHz, std::int32_t maxHz);

// Stores the halves of a data reply (kDataReplyLength bytes) into the head entry. The port half
// of a side-scan head goes in reversed; the echo sounder keeps the order of arrival.
void StoreFirstHalf(HeadEntry& head, int headIndex, const std::uint8_t* reply);
void StoreSecondHalf(HeadEntry& head, const std::uint8_t* reply);
