// The byte layout of a data-file record, written from and read back into the document.

#include <cstring>

#include "DataFilesFixture.h"

namespace {

using namespace svx;

class DataRecordFormatTest : public DataFilesFixture {
protected:
    RecordRead ReadOne(const std::vector<std::uint8_t>& bytes) {
        OpenForReading(doc, bytes);
        return doc.readWriteFiles.ReadRecord();
    }
};

std::string TextAt(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(bytes.data() + offset), n);
}

TEST_F(DataRecordFormatTest, RecordLengthAndBlockOffsetsFollowTheHeadsAndSystemInformation) {
    struct Case {
        std::array<int, 4> available;
        bool systemInfo;
        std::uint32_t length, gpsOffset, systemInfoOffset;
    };
    const Case cases[] = {
        {{1, 1, 1, 1}, true, 11072, 9792, 10816},
        {{1, 1, 1, 0}, false, 8432, 7408, 0},
        {{0, 1, 0, 0}, false, 3664, 2640, 0},
        {{0, 0, 0, 0}, true, 1536, 256, 1280},
    };
    for (const Case& c : cases) {
        MakeFourHeadState(c.systemInfo);
        DocumentBuilder(doc).Installed(c.available);
        const auto record = BuildRecord();
        ASSERT_EQ(record.size(), c.length);
        EXPECT_EQ(GetLe32(record.data() + 8), c.length);
        EXPECT_EQ(GetLe16(record.data() + 52), c.gpsOffset);
        EXPECT_EQ(GetLe16(record.data() + 55), c.systemInfoOffset);
        EXPECT_EQ(record[54], c.systemInfo ? 1 : 0);
        EXPECT_EQ(doc.readWriteFiles.NextRecordLength(), static_cast<std::int32_t>(c.length));
        EXPECT_EQ(doc.files.recordLength, static_cast<std::int32_t>(c.length));
    }
}

TEST_F(DataRecordFormatTest, HeaderHoldsEveryFieldAndZeroElsewhere) {
    MakeFourHeadState();
    DocumentBuilder(doc).Installed({1, 0, 1, 1}).PingNumber(0x01020304);
    DocumentBuilder(doc).GpsSentenceSet(6);  // only the low two bits are kept
    DocumentBuilder(doc).OrientationPresent(true).RecordedPingInterval(0x1234);
    const auto record = BuildRecord();

    std::vector<bool> listed(256, false);
    auto expectByte = [&](int offset, int value) {
        EXPECT_EQ(record[offset], value) << "byte " << offset;
        listed[offset] = true;
    };
    auto expectText = [&](int offset, const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) expectByte(offset + int(i), text[i]);
    };
    expectText(0, "svx");
    for (const int b : {4, 3, 2, 1}) expectByte(4 + (4 - b), b);
    expectByte(8, 8688 & 0xFF);  // three heads and the system information
    expectByte(9, 8688 >> 8);
    expectByte(12, 0xE8);  // 1000
    expectByte(13, 0x03);
    expectText(16, "03-JUL-2025");
    expectText(28, "14:05:09");
    expectText(37, ".007");
    expectByte(46, 3);
    expectByte(47, 1);
    expectByte(48, 0);
    expectByte(49, 1);
    expectByte(50, 1);
    expectByte(51, 0x24);
    expectByte(52, 7408 & 0xFF);
    expectByte(53, 7408 >> 8);
    expectByte(54, 1);
    expectByte(55, 8432 & 0xFF);
    expectByte(56, 8432 >> 8);
    expectByte(57, 1);
    expectByte(66, 0x98);
    expectByte(67, 0x3A);
    expectByte(70, 0x34);
    expectByte(71, 0x12);
    for (int i = 0; i < 256; ++i) {
        if (!listed[i]) {
            EXPECT_EQ(record[i], 0) << "byte " << i;
        }
    }
}

TEST_F(DataRecordFormatTest, PingIntervalBeyondSixteenBitsIsWrittenAsTheLongestItCanSay) {
    MakeFourHeadState(false);
    const std::pair<std::int32_t, int> cases[] = {{0, 0},         {280, 280},       {65535, 65535},
                                                  {70000, 65535}, {1000000, 65535}, {-5, 0}};
    for (const auto& [interval, written] : cases) {
        DocumentBuilder(doc).RecordedPingInterval(interval);
        EXPECT_EQ(GetLe16(BuildRecord().data() + 70), written) << interval;
    }
}

TEST_F(DataRecordFormatTest, HeadBlockCarriesTheHeadValuesAndItsBuffers) {
    MakeFourHeadState(false);
    DocumentBuilder(doc).Range(75).EsRange(30).Frequency(kHeadES, 200000);
    const auto record = BuildRecord();
    for (int h = 0; h < 4; ++h) {
        const std::uint8_t* block = record.data() + 256 + 2384 * h;
        const HeadEntry& head = doc.heads[h];
        EXPECT_EQ(TextAt(record, 256 + 2384 * h, 5), "Sonar");
        EXPECT_EQ(block[5], h);
        EXPECT_EQ(block[6], 0xD0);
        EXPECT_EQ(block[7], 0x07);
        EXPECT_EQ(GetLe32(block + 10), static_cast<std::uint32_t>(head.frequencyHz));
        EXPECT_EQ(GetLe16(block + 14), h == 3 ? 30 : 75);
        EXPECT_EQ(block[18], head.gainDb);
        EXPECT_EQ(block[20], head.transmitOffMask);
        for (const int zero : {8, 9, 16, 17, 19, 21, 60, 127}) EXPECT_EQ(block[zero], 0);
        EXPECT_EQ(std::memcmp(block + 128, head.command.data(), 128), 0);
        EXPECT_EQ(std::memcmp(block + 256, head.replyHeader.data(), 128), 0);
        EXPECT_EQ(std::memcmp(block + 384, head.line.data(), 2000), 0);
    }
}

TEST_F(DataRecordFormatTest, GpsBlockWithoutSentencesStartsWithGpsMark) {
    MakeFourHeadState(false);
    const auto record = BuildRecord();
    const std::size_t gps = 9792;
    EXPECT_EQ(TextAt(record, gps, 4), "$GPS");
    for (std::size_t i = gps + 4; i < gps + 1024; ++i) ASSERT_EQ(record[i], 0) << i;

    ASSERT_EQ(ReadOne(record), RecordRead::Record);
    EXPECT_EQ(doc.gps.recentSentences[0], "$GPS");
    for (int i = 1; i < 10; ++i) EXPECT_EQ(doc.gps.recentSentences[i], "") << i;
}

TEST_F(DataRecordFormatTest, GpsSlotsHoldOneSentenceEachAndNeverSpill) {
    std::array<std::string, 10> sentences;
    sentences[0] = "$GPGGA,1";
    sentences[1] = std::string(99, 'a');
    sentences[2] = std::string(100, 'b');
    sentences[3] = std::string(140, 'c');
    sentences[9] = "$GPHDT,5*00\r";
    std::array<std::uint8_t, 1024> block;
    EncodeGpsBlock(sentences, block.data());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()), 8), "$GPGGA,1");
    EXPECT_EQ(block[8], 0);
    EXPECT_EQ(block[100 + 98], 'a');
    EXPECT_EQ(block[100 + 99], 0);  // 99 characters keep a terminator
    EXPECT_EQ(block[200 + 99], 'b');
    EXPECT_EQ(block[300 + 99], 'c');
    EXPECT_EQ(block[400], 0);  // the long sentence stops at its slot
    for (int i = 1000; i < 1024; ++i) EXPECT_EQ(block[i], 0);

    std::array<std::string, 10> back;
    DecodeGpsBlock(block.data(), back);
    EXPECT_EQ(back[0], sentences[0]);
    EXPECT_EQ(back[1], sentences[1]);
    EXPECT_EQ(back[2], sentences[2]);
    EXPECT_EQ(back[3], std::string(100, 'c'));
    EXPECT_EQ(back[4], "");
    EXPECT_EQ(back[9], sentences[9]);
}

TEST_F(DataRecordFormatTest, FourHeadsInTheSystemMakeEveryHeadPresent) {
    MakeFourHeadState(false);
    auto record = BuildRecord();
    // A four-head record whose presence bytes were cleared: still four head blocks long.
    std::memset(record.data() + 47, 0, 4);
    ASSERT_EQ(record[46], 4);
    for (auto& head : doc.heads) head.available = 0;
    ASSERT_EQ(ReadOne(record), RecordRead::Record);
    for (int h = 0; h < 4; ++h) EXPECT_EQ(doc.heads[h].available, 1) << h;
    EXPECT_EQ(doc.threeFrequencySystem, 1);
}

TEST_F(DataRecordFormatTest, DisplayChannelsFollowThePresentHeads) {
    struct Case {
        std::array<int, 4> present;
        int three, a, b;
    };
    const Case cases[] = {
        {{1, 1, 1, 0}, 1, 0, 1}, {{1, 1, 0, 1}, 0, 0, 1}, {{0, 1, 1, 1}, 0, 1, 2},
        {{1, 0, 1, 1}, 0, 0, 2}, {{0, 0, 1, 0}, 0, 0, 2}, {{0, 1, 0, 0}, 0, 1, 2},
    };
    for (const Case& c : cases) {
        MakeFourHeadState(false);
        DocumentBuilder(doc).Installed(c.present);
        const auto record = BuildRecord();
        CVantrelDoc reader(platform);
        DocumentBuilder(reader).ThreeFrequencySystem(c.three == 0);
        OpenForReading(reader, record);
        ASSERT_EQ(reader.readWriteFiles.ReadRecord(), RecordRead::Record);
        EXPECT_EQ(reader.threeFrequencySystem, c.three);
        EXPECT_EQ(reader.displayChannelA, c.a);
        EXPECT_EQ(reader.displayChannelB, c.b);
    }
}

TEST_F(DataRecordFormatTest, EventMarkIsWrittenOnceAndReadBack) {
    MakeFourHeadState(false);
    DocumentBuilder(doc).PendingEventMark(doc.events.eventPing, 7);
    const auto marked = BuildRecord();
    EXPECT_EQ(marked[64], 0x07);
    EXPECT_EQ(marked[65], 0x80);
    EXPECT_EQ(doc.files.eventMarkPending, 0);
    const auto plain = BuildRecord();
    EXPECT_EQ(plain[64], 0);
    EXPECT_EQ(plain[65], 0);

    std::vector<std::uint8_t> file = marked;
    file.insert(file.end(), plain.begin(), plain.end());
    OpenForReading(doc, file);
    ASSERT_EQ(doc.readWriteFiles.ReadRecord(), RecordRead::Record);
    EXPECT_EQ(doc.files.playbackEventNumber, 7);
    EXPECT_EQ(doc.files.playbackEventFlag, 1);
    ASSERT_EQ(doc.readWriteFiles.ReadRecord(), RecordRead::Record);
    EXPECT_EQ(doc.files.playbackEventNumber, 0);
    EXPECT_EQ(doc.files.playbackEventFlag, 0);
}

TEST_F(DataRecordFormatTest, RangeChangeRaisesTheAlarmOnlyWhenItIsOn) {
    struct Case {
        int alarm, recordedRange, expectedAlarm;
    };
    const Case cases[] = {{1, 100, 2}, {0, 100, 0}, {1, 50, 1}, {2, 100, 2}};
    for (const Case& c : cases) {
        MakeFourHeadState(false);
        DocumentBuilder(doc).Range(c.recordedRange);
        const auto record = BuildRecord();
        DocumentBuilder(doc).Range(50).SettingsChangeAlarmLevel(c.alarm);
        ASSERT_EQ(ReadOne(record), RecordRead::Record);
        EXPECT_EQ(doc.range, c.recordedRange);
        EXPECT_EQ(doc.files.settingsChangeAlarm, c.expectedAlarm)
            << c.alarm << " " << c.recordedRange;
        doc.playback.playbackFile.Close();
    }
}

TEST_F(DataRecordFormatTest, RecordTimeIsParsedIntoTheClock) {
    struct Case {
        const char* date;
        const char* time;
        int day, month, year, hour, minute, second;
    };
    const Case cases[] = {
        {"04-JUL-2009", "09:05:03", 4, 7, 2009, 9, 5, 3},
        {"31-DEC-1999", "23:59:59", 31, 12, 1999, 23, 59, 59},
        {"05-jan-2009", "00:00:00", 5, 2, 2009, 0, 0, 0},  // lower case: month unchanged
        {"", "", 0, 2, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CycleTime clock;
        clock.month = 2;
        ParseRecordTime(c.date, c.time, clock);
        EXPECT_EQ(clock.day, c.day) << c.date;
        EXPECT_EQ(clock.month, c.month) << c.date;
        EXPECT_EQ(clock.year, c.year) << c.date;
        EXPECT_EQ(clock.hour, c.hour) << c.time;
        EXPECT_EQ(clock.minute, c.minute) << c.time;
        EXPECT_EQ(clock.second, c.second) << c.time;
    }
}

TEST_F(DataRecordFormatTest, HeaderWhoseLengthCannotBeFollowedIsNotARecordStart) {
    MakeFourHeadState(false);
    const auto record = BuildRecord();  // 10816 bytes
    struct Case {
        std::uint32_t length;
        bool valid;
    };
    const Case cases[] = {{10816, true}, {0, false},     {255, false},
                          {256, false},  {10815, false}, {10817, false}};
    for (const Case& c : cases) {
        std::vector<std::uint8_t> header(record.begin(), record.begin() + 256);
        PutLe32(header.data() + 8, c.length);
        EXPECT_EQ(IsRecordHeader(header.data(), kStandardHeadBlockLength), c.valid) << c.length;
    }
    std::vector<std::uint8_t> header(record.begin(), record.begin() + 256);
    header[1] = 'V';
    EXPECT_FALSE(IsRecordHeader(header.data(), kStandardHeadBlockLength));
}

TEST_F(DataRecordFormatTest, HeadBlockOfAnotherHeadMakesTheRecordDamaged) {
    // A block that is not its head's own cannot be told from damage: nothing of the record is
    // taken, as `sonvara-cli info` reports it.
    MakeFourHeadState(false);
    auto record = BuildRecord();
    record[256 + 2384 * 1 + 5] = 2;  // head M's block claims to be head H's
    const auto lineM = doc.heads[kHeadM].line;
    const auto lineH = doc.heads[kHeadH].line;
    const std::int32_t gainM = doc.heads[kHeadM].gainDb;
    for (auto& head : doc.heads) {
        head.line.fill(0xEE);
        head.gainDb = 0;
    }
    ASSERT_EQ(ReadOne(record), RecordRead::Damaged);
    EXPECT_EQ(doc.files.lastDamage, RecordDamage::HeadBlock);
    EXPECT_NE(doc.heads[kHeadM].line, lineM);  // the mismatching block is not taken
    EXPECT_NE(doc.heads[kHeadM].gainDb, gainM);
    EXPECT_NE(doc.heads[kHeadH].line, lineH);  // nor the blocks after it
    EXPECT_EQ(doc.heads[kHeadH].line[0], 0xEE);
}

}  // namespace
