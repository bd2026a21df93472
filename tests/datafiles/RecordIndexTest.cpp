// The record index: offsets, lengths and ping numbers of a file's records, where it is
// damaged, finding a record by its ping, and the index the recorder keeps.

#include "DataFilesFixture.h"
#include "datafiles/RecordIndex.h"

namespace {

using namespace svx;

class RecordIndexTest : public DataFilesFixture {
protected:
    // One record of each head set (system information on every other one), pings 100, 101..
    std::vector<std::uint8_t> ChangingLengths(std::vector<IndexedRecord>& expected) {
        const std::array<std::array<int, 4>, 5> sets = {
            {{1, 1, 1, 1}, {1, 0, 1, 0}, {0, 0, 0, 1}, {1, 1, 1, 0}, {1, 1, 1, 0}}};
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i < sets.size(); ++i) {
            MakeFourHeadState(i % 2 == 0);
            doc.headCount = 0;
            for (int h = 0; h < 4; ++h) doc.headCount += doc.heads[h].available = sets[i][h];
            doc.recording.pingNumber = 100 + int(i);
            const auto record = BuildRecord();
            expected.push_back({bytes.size(), static_cast<std::uint32_t>(record.size()),
                                100u + static_cast<std::uint32_t>(i)});
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        return bytes;
    }
};

void ExpectRecords(const RecordIndex& index, const std::vector<IndexedRecord>& expected) {
    ASSERT_EQ(index.Records().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(index.Records()[i].offset, expected[i].offset) << i;
        EXPECT_EQ(index.Records()[i].length, expected[i].length) << i;
        EXPECT_EQ(index.Records()[i].ping, expected[i].ping) << i;
    }
}

TEST_F(RecordIndexTest, RecordLengthsThatChangeMidFileAreListedOneByOne) {
    std::vector<IndexedRecord> expected;
    const auto bytes = ChangingLengths(expected);
    // 11072, 6048 (two heads), 3664 (one head, system information), 8432, 8688
    EXPECT_EQ(expected[1].length, 256u + 2 * 2384 + 1024);
    MemoryBytes source(bytes.data(), bytes.size());
    const RecordIndex index = IndexRecords(source);
    ExpectRecords(index, expected);
    EXPECT_FALSE(index.Damaged());

    ASSERT_NE(index.FindPing(102), nullptr);
    EXPECT_EQ(index.FindPing(102)->offset, expected[2].offset);
    EXPECT_EQ(index.FindPing(99), nullptr);
    EXPECT_EQ(index.FindPing(105), nullptr);
    ASSERT_NE(index.FindOffset(expected[3].offset + 5000), nullptr);
    EXPECT_EQ(index.FindOffset(expected[3].offset + 5000)->ping, 103u);
    EXPECT_EQ(index.FindOffset(expected[3].offset)->ping, 103u);
    EXPECT_EQ(index.FindOffset(bytes.size()), nullptr);
}

TEST_F(RecordIndexTest, DamagedFileListsTheRecordsBeforeAndAfterTheDamage) {
    std::vector<IndexedRecord> expected;
    auto bytes = ChangingLengths(expected);
    struct Case {
        std::size_t record;  // the record broken
        std::size_t at;      // its byte changed
        std::uint8_t value;
        RecordDamage damage;
    };
    const Case cases[] = {
        {1, 0, 'X', RecordDamage::NoMagic},         {2, 46, 255, RecordDamage::HeadCount},
        {2, 47, 1, RecordDamage::HeadsUnlikeCount}, {3, 52, 0, RecordDamage::GpsOffset},
        {3, 256 + 5, 2, RecordDamage::HeadBlock},
    };
    for (const Case& c : cases) {
        auto damaged = bytes;
        damaged[expected[c.record].offset + c.at] = c.value;
        MemoryBytes source(damaged.data(), damaged.size());
        const RecordIndex index = IndexRecords(source);
        auto survivors = expected;
        survivors.erase(survivors.begin() + static_cast<std::ptrdiff_t>(c.record));
        ExpectRecords(index, survivors);
        ASSERT_EQ(index.Damage().size(), 1u) << c.at;
        EXPECT_EQ(index.Damage()[0].offset, expected[c.record].offset) << c.at;
        EXPECT_EQ(index.Damage()[0].bytes, expected[c.record].length) << c.at;
        EXPECT_EQ(index.Damage()[0].damage, c.damage) << c.at;
        EXPECT_EQ(index.FindPing(expected[c.record].ping), nullptr);
    }
    // Garbage between two records, and a cut-off last record: two stretches.
    auto spliced = bytes;
    spliced.insert(spliced.begin() + static_cast<std::ptrdiff_t>(expected[2].offset), 300, 's');
    spliced.resize(spliced.size() - 10);
    MemoryBytes source(spliced.data(), spliced.size());
    const RecordIndex index = IndexRecords(source);
    EXPECT_EQ(index.Records().size(), 4u);
    ASSERT_EQ(index.Damage().size(), 2u);
    EXPECT_EQ(index.Damage()[0].offset, expected[2].offset);
    EXPECT_EQ(index.Damage()[0].bytes, 300u);
    EXPECT_EQ(index.Damage()[1].offset, expected[4].offset + 300);
    EXPECT_EQ(index.Damage()[1].damage, RecordDamage::CutOff);
    EXPECT_EQ(index.DamagedBytes(), 300u + expected[4].length - 10);
}

TEST_F(RecordIndexTest, PingsThatDoNotRiseAreStillFound) {
    RecordIndex index;
    const std::uint32_t pings[] = {5, 6, 2, 3, 6};
    for (std::size_t i = 0; i < 5; ++i) index.Add({i * 100, 100, pings[i]});
    ASSERT_NE(index.FindPing(6), nullptr);
    EXPECT_EQ(index.FindPing(6)->offset, 100u);  // the first one
    EXPECT_EQ(index.FindPing(3)->offset, 300u);
    EXPECT_EQ(index.FindPing(4), nullptr);
}

TEST_F(RecordIndexTest, RecorderKeepsTheIndexOfTheFileItWrites) {
    MakeFourHeadState(true);
    const std::string path = dir.File("rec.svx");
    ASSERT_TRUE(doc.StartRecordingTo(path));
    doc.noDataFlag = 0;
    for (int i = 0; i < 5; ++i) {
        if (i == 3) doc.heads[kHeadM].available = 0, doc.headCount = 3;
        doc.RecordCycle();
    }
    doc.StopRecording();
    DataFile file;
    ASSERT_TRUE(file.Open(path, DataFile::Mode::Read));
    FileBytes source(file, file.Length());
    const RecordIndex built = IndexRecords(source);
    ASSERT_EQ(built.Records().size(), 5u);
    std::vector<IndexedRecord> kept = doc.recording.index.Records();
    ExpectRecords(built, kept);
    EXPECT_EQ(kept[4].ping, 5u);
    EXPECT_EQ(kept[4].length, 8688u);

    // A new recording starts a new index.
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("second.svx")));
    EXPECT_TRUE(doc.recording.index.Records().empty());
}

TEST_F(RecordIndexTest, PlaybackBuildsTheIndexOfThePlayedFileWhenAsked) {
    std::vector<IndexedRecord> expected;
    const auto bytes = ChangingLengths(expected);
    StartPlayback(WriteFile("played.svx", bytes));
    ExpectRecords(doc.PlaybackIndex(), expected);
    // Asking does not move the playback.
    EXPECT_EQ(doc.files.playbackPosition, 0u);
    platform.FireTimer(1030);
    EXPECT_EQ(doc.recording.pingNumber, 100);
}

}  // namespace
