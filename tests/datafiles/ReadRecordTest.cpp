// Reading records back: everything a record carries returns to the document, and damaged or
// cut-off records are recognised instead of followed.

#include <cstring>

#include "DataFilesFixture.h"

namespace {

using namespace svx;

class ReadRecordTest : public DataFilesFixture {
protected:
    RecordRead ReadAt(CVantrelDoc& reader, std::uint64_t position) {
        DocumentBuilder(reader).PlaybackPosition(position);
        reader.playback.playbackFile.Seek(position);
        return reader.readWriteFiles.ReadRecord();
    }
};

TEST_F(ReadRecordTest, RoundTripRestoresTheWholeStateARecordCarries) {
    MakeFourHeadState(true);
    DocumentBuilder(doc).Installed({1, 0, 1, 1}).PingNumber(4321).Range(120).EsRange(40);
    DocumentBuilder(doc).OrientationPresent(true).GpsSentenceSet(2).RecordedPingInterval(312);
    DocumentBuilder(doc).PendingEventMark(doc.events.eventPing, 42);
    DocumentBuilder(doc).GpsReaderWrites([](GpsState& gps) {
        gps.recentSentences = {
            "$GPGGA,123519,4807.038,N", "$GPVTG,054.7,T,,M,005.5,N", "", "", "", "", "", "", "",
            "$GPHDT,274.07,T*03"};
        ++gps.sentenceBatches;  // as the read that brought them counts: they are current
    });
    const auto record = BuildRecord();

    CVantrelDoc reader(platform);
    DocumentBuilder(reader).CaptureFirstPing();
    OpenForReading(reader, record);
    ASSERT_EQ(reader.readWriteFiles.ReadRecord(), RecordRead::Record);

    EXPECT_EQ(reader.recording.pingNumber, 4321);
    EXPECT_EQ(reader.files.firstPingNumber, 4321);
    EXPECT_EQ(reader.files.captureFirstPing, 0);
    EXPECT_EQ(reader.files.recordLength, 8688);
    EXPECT_EQ(reader.files.playbackPosition, 8688u);
    EXPECT_EQ(reader.files.samplesPerHalf, 1000);
    EXPECT_STREQ(reader.cycleTime.cycleDateText.data(), "03-JUL-2025");
    EXPECT_STREQ(reader.cycleTime.cycleClockText.data(), "14:05:09");
    EXPECT_STREQ(reader.cycleTime.cycleMillisText.data(), ".007");
    EXPECT_EQ(reader.cycleTime.PingTime(), doc.cycleTime.PingTime());
    EXPECT_EQ(reader.cycleTime.year, 2025);
    EXPECT_EQ(reader.cycleTime.month, 7);
    EXPECT_EQ(reader.cycleTime.day, 3);
    EXPECT_EQ(reader.cycleTime.hour, 14);
    EXPECT_EQ(reader.cycleTime.minute, 5);
    EXPECT_EQ(reader.cycleTime.second, 9);
    EXPECT_EQ(reader.cycleTime.milliseconds, 7);
    EXPECT_EQ(reader.headCount, 3);
    EXPECT_EQ(reader.gpsConfig.gpsSentenceSet, 2);
    EXPECT_EQ(reader.files.gpsBlockOffset, 7408);
    EXPECT_EQ(reader.systemInfoReceived, 1);
    EXPECT_EQ(reader.orientationPresent, 1);
    EXPECT_EQ(reader.files.playbackEventNumber, 42);
    EXPECT_EQ(reader.files.playbackEventFlag, 1);
    EXPECT_EQ(reader.files.recordedPingIntervalMs, 312);
    EXPECT_EQ(reader.history.pingIntervalMs, 312);
    EXPECT_EQ(reader.range, 120);
    EXPECT_EQ(reader.esRange, 40);
    for (int h = 0; h < 4; ++h) {
        EXPECT_EQ(reader.heads[h].available, doc.heads[h].available) << h;
        if (!doc.heads[h].available) continue;
        EXPECT_EQ(reader.heads[h].frequencyHz, doc.heads[h].frequencyHz) << h;
        EXPECT_EQ(reader.heads[h].gainDb, doc.heads[h].gainDb) << h;
        EXPECT_EQ(reader.heads[h].transmitOffMask, doc.heads[h].transmitOffMask) << h;
        EXPECT_EQ(reader.heads[h].command, doc.heads[h].command) << h;
        EXPECT_EQ(reader.heads[h].replyHeader, doc.heads[h].replyHeader) << h;
        EXPECT_EQ(reader.heads[h].line, doc.heads[h].line) << h;
    }
    EXPECT_EQ(reader.gps.recentSentences, doc.gps.recentSentences);
    EXPECT_EQ(reader.systemInfo, doc.systemInfo);
    EXPECT_EQ(reader.serialNumber, "SN1234");
}

TEST_F(ReadRecordTest, FileWithABadFirstMagicIsRejectedAtTheFirstRead) {
    MakeFourHeadState(false);
    auto bytes = MakeFile(3);
    bytes[2] = 'X';
    OpenForReading(doc, bytes);
    EXPECT_EQ(doc.readWriteFiles.ReadRecord(), RecordRead::Damaged);
    EXPECT_EQ(doc.recording.pingNumber, 3);  // nothing of the record was taken
}

TEST_F(ReadRecordTest, RecordsWhoseLengthsChangeAreReadOneByOne) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint64_t> starts;
    const std::array<std::array<int, 4>, 4> sets = {
        {{1, 1, 1, 1}, {1, 0, 1, 0}, {0, 0, 0, 1}, {1, 1, 1, 0}}};
    for (std::size_t i = 0; i < sets.size(); ++i) {
        MakeFourHeadState(i % 2 == 0);
        DocumentBuilder(doc).Installed(sets[i]).PingNumber(100 + int(i));
        starts.push_back(bytes.size());
        const auto record = BuildRecord();
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    OpenForReading(doc, bytes);
    for (std::size_t i = 0; i < sets.size(); ++i) {
        ASSERT_EQ(doc.files.playbackPosition, starts[i]);
        doc.playback.playbackFile.Seek(doc.files.playbackPosition);
        ASSERT_EQ(doc.readWriteFiles.ReadRecord(), RecordRead::Record) << i;
        EXPECT_EQ(doc.recording.pingNumber, 100 + int(i));
        EXPECT_EQ(doc.systemInfoReceived, i % 2 == 0 ? 1 : 0);
    }
    EXPECT_EQ(doc.files.playbackPosition, bytes.size());
}

TEST_F(ReadRecordTest, DamagedLengthFieldIsNotFollowed) {
    MakeFourHeadState(false);
    const auto good = MakeFile(4);
    const std::uint32_t cases[] = {0, 100, 256, 10816 + 2384, 5000};
    for (const std::uint32_t length : cases) {
        auto bytes = good;
        PutLe32(bytes.data() + 10816 + 8, length);  // the second record
        OpenForReading(doc, bytes);
        ASSERT_EQ(ReadAt(doc, 0), RecordRead::Record);
        EXPECT_EQ(ReadAt(doc, 10816), RecordRead::Damaged) << length;
        EXPECT_EQ(doc.recording.pingNumber, 1) << length;
        EXPECT_EQ(doc.files.recordLength, 10816) << length;
        doc.playback.playbackFile.Close();
    }
}

TEST_F(ReadRecordTest, RecordCutOffByTheEndOfTheFileIsSkippedToTheEnd) {
    MakeFourHeadState(false);
    const auto whole = MakeFile(2);
    for (const std::size_t cut : {10816u + 100u, 10816u + 256u, 10816u + 5000u, 2u * 10816 - 1}) {
        std::vector<std::uint8_t> bytes(whole.begin(), whole.begin() + cut);
        OpenForReading(doc, bytes);
        ASSERT_EQ(ReadAt(doc, 0), RecordRead::Record);
        const auto lineBefore = doc.heads[0].line;
        EXPECT_EQ(ReadAt(doc, 10816), RecordRead::Truncated) << cut;
        EXPECT_EQ(doc.files.playbackPosition, bytes.size()) << cut;
        EXPECT_EQ(doc.recording.pingNumber, 1) << cut;
        EXPECT_EQ(doc.heads[0].line, lineBefore) << cut;
        doc.playback.playbackFile.Close();
    }
}

TEST_F(ReadRecordTest, StatedLineLengthNeverReadsPastTheLine) {
    MakeFourHeadState(false);
    auto bytes = MakeFile(1);
    PutLe16(bytes.data() + 256 + 6, 60000);      // head L claims a 60000-byte line
    PutLe16(bytes.data() + 256 + 2384 + 6, 10);  // head M a 10-byte line
    for (auto& head : doc.heads) head.line.fill(0xAB);
    OpenForReading(doc, bytes);
    ASSERT_EQ(ReadAt(doc, 0), RecordRead::Record);
    EXPECT_EQ(doc.heads[0].line[1999], 0);  // whole line taken, no more
    EXPECT_EQ(doc.heads[1].line[9], 0);
    EXPECT_EQ(doc.heads[1].line[10], 0xAB);  // the rest stays as it was
    EXPECT_EQ(doc.heads[2].line[0], 0);      // the next block is in its place
}

}  // namespace
