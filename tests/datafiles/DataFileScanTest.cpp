// The walk over a whole data file that `sonvara-cli info` reports.

#include "DataFilesFixture.h"
#include "datafiles/DataFileScan.h"

namespace {

class DataFileScanTest : public DataFilesFixture {
protected:
    DataFileSummary Scan(const std::vector<std::uint8_t>& bytes) {
        DataFileSummary summary;
        std::string error;
        EXPECT_TRUE(ScanDataFile(WriteFile("scan.svx", bytes), summary, error)) << error;
        return summary;
    }
};

TEST_F(DataFileScanTest, WholeFileListsEveryRecord) {
    MakeFourHeadState(true);
    doc.esRange = 30;
    doc.files.eventMarkPending = 1;
    doc.files.eventMarkNumber = 9;
    const auto bytes = MakeFile(3, 41);
    const DataFileSummary summary = Scan(bytes);
    EXPECT_EQ(summary.bytes, bytes.size());
    EXPECT_FALSE(summary.damagedOffset);
    ASSERT_EQ(summary.records.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const RecordSummary& item = summary.records[i];
        EXPECT_EQ(item.offset, i * 11072);
        EXPECT_EQ(item.ping, 41 + i);
        EXPECT_EQ(item.length, 11072u);
        EXPECT_EQ(item.heads, (std::array<bool, 4>{true, true, true, true}));
        EXPECT_TRUE(item.systemInfo);
        EXPECT_EQ(item.range, 50);
        EXPECT_EQ(item.esRange, 30);
        EXPECT_EQ(item.date, "03-JUL-2025");
        EXPECT_EQ(item.time, "14:05:09.007");
        EXPECT_EQ(item.event, i == 0 ? std::optional<int>(9) : std::nullopt);
    }
}

TEST_F(DataFileScanTest, DamageIsSteppedOverToTheNextWholeRecord) {
    MakeFourHeadState(false);
    doc.heads[kHeadES].available = 0;
    doc.headCount = 3;
    const auto good = MakeFile(5);
    struct Case {
        std::size_t offset;
        std::uint8_t value;
        std::size_t records;
        std::uint64_t damagedBytes;
    };
    const Case cases[] = {
        {8432 + 0, 'X', 4, 8432},       // a wrong magic
        {2 * 8432 + 8, 0x01, 4, 8432},  // a length that disagrees with the layout
        {4 * 8432 + 47, 0, 4, 8432},    // presence flags that disagree with the length
        // Fields that break the layout the reader relies on.
        {1 * 8432 + 46, 255, 4, 8432},            // a head count of 255
        {1 * 8432 + 46, 2, 4, 8432},              // a head count unlike the presence flags
        {3 * 8432 + 52, 0, 4, 8432},              // a GPS offset unlike the layout
        {3 * 8432 + 55, 1, 4, 8432},              // a system-information offset without one
        {2 * 8432 + 256, 'X', 4, 8432},           // a head block without "Sonar"
        {2 * 8432 + 256 + 2384 + 5, 0, 4, 8432},  // a head block of another head
    };
    for (const Case& c : cases) {
        auto bytes = good;
        bytes[c.offset] = c.value;
        const DataFileSummary summary = Scan(bytes);
        EXPECT_EQ(summary.records.size(), c.records) << c.offset;
        ASSERT_TRUE(summary.damagedOffset) << c.offset;
        EXPECT_EQ(*summary.damagedOffset, c.offset / 8432 * 8432);
        EXPECT_EQ(summary.damagedBytes, c.damagedBytes) << c.offset;
        ASSERT_EQ(summary.damage.size(), 1u) << c.offset;
        EXPECT_EQ(summary.damage[0].offset, c.offset / 8432 * 8432);
        // The records after the damage are listed.
        EXPECT_EQ(summary.records.back().offset, c.offset / 8432 == 4 ? 3u * 8432 : 4u * 8432);
    }
    // A cut-off last record and a tail of garbage are damage too.
    auto cut = good;
    cut.resize(cut.size() - 10);
    EXPECT_EQ(Scan(cut).records.size(), 4u);
    EXPECT_EQ(*Scan(cut).damagedOffset, 4u * 8432);
    auto tail = good;
    tail.insert(tail.end(), {'s', 'v', 'x', 0, 1});
    EXPECT_EQ(Scan(tail).records.size(), 5u);
    EXPECT_EQ(Scan(tail).damagedBytes, 5u);
}

TEST_F(DataFileScanTest, MissingFileIsAnError) {
    DataFileSummary summary;
    std::string error;
    EXPECT_FALSE(ScanDataFile(dir.File("none.svx"), summary, error));
    EXPECT_NE(error.find("none.svx"), std::string::npos);
}

}  // namespace
