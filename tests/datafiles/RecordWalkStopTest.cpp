// A walk over the records stops where its visitor says so: a cancelled or failed export does not
// read the rest of a long file.

#include "DataFilesFixture.h"
#include "datafiles/RecordIndex.h"
#include "export/ExportJob.h"

namespace {

// Counts the bytes read from the file's bytes.
class CountingBytes : public svx::ByteSource {
public:
    explicit CountingBytes(const std::vector<std::uint8_t>& bytes)
        : memory(bytes.data(), bytes.size()) {}
    std::uint64_t Size() const override { return memory.Size(); }
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) override {
        const std::size_t got = memory.ReadAt(offset, out, n);
        read += got;
        return got;
    }
    std::uint64_t read = 0;

private:
    svx::MemoryBytes memory;
};

class RecordWalkStopTest : public DataFilesFixture {
protected:
    RecordWalkStopTest() {
        MakeFourHeadState(false);
        bytes = MakeFile(400);  // 400 records of 10,816 bytes: more than four read windows
    }
    std::vector<std::uint8_t> bytes;
};

TEST_F(RecordWalkStopTest, TheWalkReadsNoFurtherThanTheRecordThatStopsIt) {
    struct Case {
        const char* name;
        int stopAfter;  // records visited before the visitor says stop; -1 never
        int visited;
    };
    const Case cases[] = {{"first record", 1, 1}, {"tenth record", 10, 10}, {"never", -1, 400}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingBytes source(bytes);
        int visited = 0;
        svx::WalkRecords(
            source, {}, [&](std::uint64_t, const svx::RecordView&) { return ++visited != c.stopAfter; },
            {});
        EXPECT_EQ(visited, c.visited);
        if (c.stopAfter > 0) {
            EXPECT_LT(source.read, bytes.size() / 2);
        } else {
            EXPECT_GE(source.read, bytes.size());
        }
    }
}

TEST_F(RecordWalkStopTest, ACancelStopsTheExportWalkAndIsReported) {
    const std::string path = WriteFile("long.svx", bytes);
    int visited = 0;
    int asked = 0;
    svx::ExportReport report;
    ASSERT_TRUE(svx::WalkDataFile(
        path, [&](std::uint64_t, const svx::RecordView&) { return ++visited > 0; },
        [&](std::uint64_t, std::uint64_t) { return ++asked < 2; }, report));
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(asked, 2);
    EXPECT_LT(visited, 400);
    EXPECT_EQ(visited, 127);  // progress is asked every 64 records; the second answer cancels
}

}  // namespace
