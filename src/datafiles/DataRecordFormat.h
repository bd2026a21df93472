#pragma once
// The ".svx" sonar data file: a flat sequence of records, one per accepted ping cycle, with no
// file header. Each record is
//
//   record header      256 bytes   always
//   head block         2384 bytes  per present head, in order L, M, H, ES
//   GPS block          1024 bytes  always written
//   system information 256 bytes   when header byte 54 is set
//
// All integers little-endian; every block is assembled in a zeroed buffer. This file holds the
// byte layout and the blocks that need no layout (GPS block, record time); RecordCodec encodes
// and decodes whole records, CReadWriteFiles moves them between the file and the document.

#include <array>
#include <cstdint>
#include <string>

#include "gps/CycleTime.h"

namespace svx {

inline constexpr int kRecordHeaderLength = 256;
inline constexpr int kHeadBlockHeaderLength = 128;
inline constexpr int kEchoLineLength = 2000;
// Head block header plus echo line; the switch command and the reply header come on top.
inline constexpr int kHeadBlockFixedLength = kHeadBlockHeaderLength + kEchoLineLength;
inline constexpr int kStandardHeadBlockLength = kHeadBlockFixedLength + 128 + 128;  // 2384
inline constexpr int kGpsBlockLength = 1024;
inline constexpr int kGpsSlotLength = 100;
inline constexpr int kGpsSlotCount = 10;
inline constexpr int kSystemInfoBlockLength = 256;
inline constexpr int kMaxRecordLength = kRecordHeaderLength + 4 * kStandardHeadBlockLength +
                                        kGpsBlockLength + kSystemInfoBlockLength;  // 11072

// Record header offsets.
inline constexpr int kMagic = 0;  // "svx", then a zero byte
inline constexpr int kPingNumber = 4;
inline constexpr int kLength = 8;
inline constexpr int kSamplesPerHalf = 12;
inline constexpr int kDate = 16;  // "04-JUL-2009" and a zero byte
inline constexpr int kDateLength = 12;
inline constexpr int kTime = 28;  // "09:05:03" and a zero byte
inline constexpr int kTimeLength = 9;
inline constexpr int kMillisDot = 37;
inline constexpr int kMillis = 38;  // three digits and a zero byte
inline constexpr int kMillisLength = 4;
inline constexpr int kHeadsInSystem = 46;
inline constexpr int kHeadPresent = 47;  // four bytes, L M H ES
inline constexpr int kSentenceSet = 51;
inline constexpr int kGpsOffset = 52;
inline constexpr int kSystemInfoPresent = 54;
inline constexpr int kSystemInfoOffset = 55;
inline constexpr int kOrientationPresent = 57;
inline constexpr int kEventMark = 64;
inline constexpr int kConstant = 66;
inline constexpr int kPingInterval = 70;

inline constexpr std::uint16_t kHeaderConstant = 15000;
inline constexpr std::uint16_t kEventFlag = 0x8000;

// Head block header offsets.
inline constexpr int kHeadSonar = 0;  // "Sonar", no terminator
inline constexpr int kHeadIndex = 5;
inline constexpr int kHeadLineLength = 6;
inline constexpr int kHeadFrequency = 10;
inline constexpr int kHeadRange = 14;
inline constexpr int kHeadGain = 18;
inline constexpr int kHeadTransmitOff = 20;

inline constexpr char kMagicText[3] = {'s', 'v', 'x'};

// Length of one head block for the document's switch-command and reply-header lengths.
inline int HeadBlockLength(int commandLength, int replyHeaderLength) {
    return kHeadBlockFixedLength + commandLength + replyHeaderLength;
}

bool HasMagic(const std::uint8_t* header);

// GPS block: sentence i in slot i (at most 100 characters; 99 or fewer keep a terminator),
// "$GPS" when the first sentence is empty. out holds kGpsBlockLength bytes, cleared first.
void EncodeGpsBlock(const std::array<std::string, kGpsSlotCount>& sentences, std::uint8_t* out);
// Each sentence up to the first zero byte of its slot, never past the slot.
void DecodeGpsBlock(const std::uint8_t* in, std::array<std::string, kGpsSlotCount>& sentences);

// The clock of a record from its date text ("04-JUL-2009") and time text ("09:05:03"): day,
// month by its upper-case abbreviation (an unknown name leaves the month as it was), year,
// hour, minute, second.
void ParseRecordTime(const char* date, const char* time, CycleTime& clock);

// Leading decimal digits of at most n characters; 0 when there are none.
int DecimalValue(const char* text, int n);

}  // namespace svx
