#include "acquisition/SwitchCommand.h"

#include <algorithm>

#include "common/ByteOrder.h"

using namespace switchcmd;

int RangeClassOf(int head, int metres) {
    if (head == kHeadES) return metres < 120 ? 120 : 300;
    if (metres < 60) return 40;
    if (metres < 120) return 80;
    if (metres < 250) return 120;
    return 300;
}

void InitSwitchCommands(HeadArray& heads) {
    auto& block = heads[0].command;
    block.fill(0);
    block[kStart] = kStartByte;
    block[kCommand] = kDataRequest;
    block[kHalfSelect] = kFirstHalf;
    block[kTransmitOff] = 0;
    block[kGain] = 6;
    block[kConstant50] = 0x10;
    block[kConstant52] = 1;
    block[kEnd] = kEndByte;
    for (int h = 1; h < kHeadCount; ++h) heads[h].command = block;
    heads[kHeadES].command[kHeadKind] = kEchoSounderKind;
}

void BuildSwitchCommands(HeadArray& heads, int range, int esRange) {
    for (int h = 0; h < kHeadCount; ++h) {
        HeadEntry& head = heads[h];
        std::uint8_t* block = head.command.data();
        const int metres = h == kHeadES ? esRange : range;
        block[kTransmitOff] = head.transmitOffMask;
        block[kGain] = static_cast<std::uint8_t>(head.gainDb & 0xFF);
        PutLe16(block + kRange, static_cast<std::uint16_t>(metres));
        PutLe32(block + kFrequency, static_cast<std::uint32_t>(head.frequencyHz));
        PutLe16(block + kRangeClass, static_cast<std::uint16_t>(RangeClassOf(h, metres)));
    }
}

void SetCommandByte(HeadEntry& head, std::uint8_t value) { head.command[kCommand] = value; }
void SetHalfSelect(HeadEntry& head, std::uint8_t value) { head.command[kHalfSelect] = value; }
