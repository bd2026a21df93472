#pragma once
// The 128-byte request to a head: little-endian, zero-cleared, start byte 0xFE, end byte 0xFD.

#include <array>
#include <cstdint>

#include "acquisition/HeadTable.h"

namespace switchcmd {
inline constexpr int kStart = 0;
inline constexpr int kCommand = 1;
inline constexpr int kHalfSelect = 10;
inline constexpr int kTransmitOff = 12;
inline constexpr int kHeadKind = 15;
inline constexpr int kFrequency = 30;
inline constexpr int kRange = 34;
inline constexpr int kRangeClass = 36;
inline constexpr int kGain = 38;
inline constexpr int kConstant50 = 50;
inline constexpr int kConstant52 = 52;
inline constexpr int kEnd = 127;

inline constexpr std::uint8_t kStartByte = 0xFE;
inline constexpr std::uint8_t kEndByte = 0xFD;
inline constexpr std::uint8_t kDataRequest = 0x44;
inline constexpr std::uint8_t kSystemInfoRequest = 0x99;
inline constexpr std::uint8_t kFirstHalf = 0x00;
inline constexpr std::uint8_t kSecondHalf = 0x10;
inline constexpr std::uint8_t kEchoSounderKind = 0x80;
}  // namespace switchcmd

using HeadArray = std::array<HeadEntry, kHeadCount>;

// The range class a head is told for a range in metres.
int RangeClassOf(int head, int metres);

// Builds block 0 and copies it into blocks 1..3 (block 3 marked as the echo sounder).
void InitSwitchCommands(HeadArray& heads);
// Rewrites the variable fields (transmit mask, gain, range, frequency, range class) of all
// four blocks; head 3 takes esRange. Start, command, half select, kind, constants and end
// byte are left as they are.
void BuildSwitchCommands(HeadArray& heads, int range, int esRange);
void SetCommandByte(HeadEntry& head, std::uint8_t value);
void SetHalfSelect(HeadEntry& head, std::uint8_t value);
