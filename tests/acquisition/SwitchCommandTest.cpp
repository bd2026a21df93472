#include <gtest/gtest.h>

#include "common/ByteOrder.h"
#include "document/CVantrelDoc.h"
#include "support/FakePlatform.h"

namespace {

using namespace switchcmd;

class SwitchCommandTest : public ::testing::Test {
protected:
    FakePlatform platform;
    CVantrelDoc doc{platform};
    const std::uint8_t* Block(int head) { return doc.heads[head].command.data(); }
};

// Every byte that is not a listed field must stay zero.
bool IsListedOffset(int offset) {
    switch (offset) {
        case kStart: case kCommand: case kHalfSelect: case kTransmitOff: case kHeadKind:
        case kGain: case kConstant50: case kConstant52: case kEnd:
            return true;
        default:
            return (offset >= kFrequency && offset < kFrequency + 4) ||
                   (offset >= kRange && offset < kRange + 2) ||
                   (offset >= kRangeClass && offset < kRangeClass + 2);
    }
}

TEST_F(SwitchCommandTest, InitialBlocksOfAllFourHeads) {
    for (int h = 0; h < kHeadCount; ++h) {
        SCOPED_TRACE(h);
        const std::uint8_t* b = Block(h);
        EXPECT_EQ(b[kStart], 0xFE);
        EXPECT_EQ(b[kCommand], 0x44);
        EXPECT_EQ(b[kHalfSelect], 0);
        EXPECT_EQ(b[kTransmitOff], 0);
        EXPECT_EQ(b[kHeadKind], h == 3 ? 0x80 : 0);
        EXPECT_EQ(b[kGain], 6);
        EXPECT_EQ(b[kConstant50], 0x10);
        EXPECT_EQ(b[kConstant52], 1);
        EXPECT_EQ(b[kEnd], 0xFD);
        for (int i = 0; i < kCommandLength; ++i) {
            if (!IsListedOffset(i)) {
                EXPECT_EQ(b[i], 0) << "offset " << i;
            }
        }
    }
}

TEST_F(SwitchCommandTest, BuildWritesEveryVariableFieldOfEachHead) {
    const int gains[4] = {0, 13, 40, 21};
    const std::uint8_t masks[4] = {0, 2, 1, 3};
    const int freqs[4] = {120000, 260000, 540000, 200000};
    for (int h = 0; h < 4; ++h) {
        doc.heads[h].gainDb = gains[h];
        doc.heads[h].transmitOffMask = masks[h];
        doc.heads[h].frequencyHz = freqs[h];
    }
    doc.range = 300;
    doc.esRange = 100;
    doc.BuildSwitchCommands();
    const std::uint8_t freqBytes[4][4] = {{0xC0, 0xD4, 0x01, 0x00},
                                          {0xA0, 0xF7, 0x03, 0x00},
                                          {0x60, 0x3D, 0x08, 0x00},
                                          {0x40, 0x0D, 0x03, 0x00}};
    for (int h = 0; h < 4; ++h) {
        SCOPED_TRACE(h);
        const std::uint8_t* b = Block(h);
        EXPECT_EQ(b[kTransmitOff], masks[h]);
        EXPECT_EQ(b[kGain], gains[h]);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(b[kFrequency + i], freqBytes[h][i]);
        const int metres = h == 3 ? 100 : 300;
        EXPECT_EQ(b[kRange], metres & 0xFF);
        EXPECT_EQ(b[kRange + 1], metres >> 8);
        const int rangeClass = h == 3 ? 120 : 300;
        EXPECT_EQ(b[kRangeClass], rangeClass & 0xFF);
        EXPECT_EQ(b[kRangeClass + 1], rangeClass >> 8);
        // Fixed fields are left alone.
        EXPECT_EQ(b[kStart], 0xFE);
        EXPECT_EQ(b[kEnd], 0xFD);
        EXPECT_EQ(b[kHeadKind], h == 3 ? 0x80 : 0);
        for (int i = 0; i < kCommandLength; ++i) {
            if (!IsListedOffset(i)) {
                EXPECT_EQ(b[i], 0) << "offset " << i;
            }
        }
    }
}

TEST_F(SwitchCommandTest, RangeClassOnBothSidesOfEachBoundary) {
    struct Case {
        int metres;
        int sideScanClass;
        int echoSounderClass;
    };
    const Case cases[] = {{1, 40, 120},    {59, 40, 120},   {60, 80, 120},   {119, 80, 120},
                          {120, 120, 300}, {249, 120, 300}, {250, 300, 300}, {500, 300, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.metres);
        doc.range = doc.esRange = c.metres;
        doc.BuildSwitchCommands();
        for (int h = 0; h < 4; ++h) {
            const int expected = h == 3 ? c.echoSounderClass : c.sideScanClass;
            EXPECT_EQ(GetLe16(Block(h) + kRangeClass), expected) << "head " << h;
            EXPECT_EQ(GetLe16(Block(h) + kRange), c.metres) << "head " << h;
        }
    }
}

TEST_F(SwitchCommandTest, CommandAndHalfSelectAreSingleByteWrites) {
    doc.BuildSwitchCommands();
    auto before = doc.heads[2].command;
    doc.SetCommandByte(2, kSystemInfoRequest);
    doc.SetHalfSelect(2, kSecondHalf);
    before[kCommand] = 0x99;
    before[kHalfSelect] = 0x10;
    EXPECT_EQ(doc.heads[2].command, before);
    // A rebuild does not touch them.
    doc.BuildSwitchCommands();
    EXPECT_EQ(Block(2)[kCommand], 0x99);
    EXPECT_EQ(Block(2)[kHalfSelect], 0x10);
}

TEST_F(SwitchCommandTest, SpotValuesOfTheProtocol) {
    doc.heads[1].transmitOffMask = kPortSilent;
    doc.heads[0].gainDb = 40;
    doc.heads[2].frequencyHz = 540000;
    doc.range = 300;
    doc.BuildSwitchCommands();
    EXPECT_EQ(Block(1)[12], 2);
    EXPECT_EQ(Block(0)[38], 0x28);
    EXPECT_EQ(Block(2)[30], 0x60);
    EXPECT_EQ(Block(2)[31], 0x3D);
    EXPECT_EQ(Block(2)[32], 0x08);
    EXPECT_EQ(Block(2)[33], 0x00);
    EXPECT_EQ(Block(0)[34], 0x2C);
    EXPECT_EQ(Block(0)[35], 0x01);
}

}  // namespace
