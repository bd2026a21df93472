// The committed seed inputs of the fuzz targets: every target has some, each is an input its
// parser takes whole (so a change of a format that leaves them stale fails here, not silently
// in a shallow fuzz run), and the fuzz run of scripts/test lets inputs grow to two records and
// more.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "acquisition/HeadReturn.h"
#include "datafiles/DataRecordFormat.h"
#include "datafiles/RecordCodec.h"
#include "datafiles/RecordIndex.h"
#include "gps/GpsState.h"
#include "imaging/PaletteFile.h"
#include "shell/ProfileFile.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The source tree, from ctest's environment.
fs::path SourceDir() {
    const char* dir = std::getenv("SONVARA_SOURCE_DIR");
    return dir ? fs::path(dir) : fs::path();
}

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<fs::path> Seeds(const std::string& target) {
    std::vector<fs::path> seeds;
    const fs::path dir = SourceDir() / "fuzz" / "seeds" / target;
    if (!SourceDir().empty() && fs::is_directory(dir)) {
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.is_regular_file()) seeds.push_back(entry.path());
        }
    }
    if (seeds.empty()) ADD_FAILURE() << "no seeds in " << dir;
    return seeds;
}

TEST(FuzzSeedsTest, EveryTargetHasSeeds) {
    ASSERT_FALSE(SourceDir().empty()) << "SONVARA_SOURCE_DIR is not set (ctest sets it)";
    int targets = 0;
    for (const auto& entry : fs::directory_iterator(SourceDir() / "fuzz")) {
        if (entry.path().extension() != ".cpp") continue;
        ++targets;
        Seeds(entry.path().stem().string());
    }
    EXPECT_GE(targets, 6);
}

TEST(FuzzSeedsTest, DataFileSeedsHoldWholeRecords) {
    std::size_t mostRecords = 0;
    for (const fs::path& seed : Seeds("data_file")) {
        SCOPED_TRACE(seed.filename().string());
        const Bytes bytes = ReadAll(seed);
        svx::MemoryBytes source(bytes.data(), bytes.size());
        const svx::RecordIndex index = svx::IndexRecords(source);
        EXPECT_GE(index.Records().size(), 1u);
        if (index.Damage().empty()) mostRecords = std::max(mostRecords, index.Records().size());
    }
    EXPECT_GE(mostRecords, 2u) << "no seed of two whole records";
}

TEST(FuzzSeedsTest, HeadReplySeedsAreWholeReplies) {
    const auto seeds = Seeds("head_reply");
    for (const fs::path& seed : seeds) {
        SCOPED_TRACE(seed.filename().string());
        const Bytes bytes = ReadAll(seed);
        ASSERT_GT(bytes.size(), 2u);
        const int reply = static_cast<int>(bytes.size() - 2);
        // The piece size the target reads from byte 1 covers the reply.
        EXPECT_GE(1 + bytes[1] * 8, reply);
        const ReplyClass kind = ClassifyReply(bytes.data() + 2, reply);
        EXPECT_NE(kind, ReplyClass::Short);
        EXPECT_NE(kind, ReplyClass::OtherKind);
    }
}

TEST(FuzzSeedsTest, PaletteSeedIsAValidFile) {
    int valid = 0;
    for (const fs::path& seed : Seeds("palette_file")) {
        const Bytes bytes = ReadAll(seed);
        if (!bytes.empty() && bytes[0] == 'P') continue;  // the target's edit form
        EXPECT_TRUE(DecodePaletteFile(bytes.data(), bytes.size())) << seed.filename();
        ++valid;
    }
    EXPECT_GE(valid, 1);
}

TEST(FuzzSeedsTest, NmeaSeedsGivePositions) {
    for (const fs::path& seed : Seeds("nmea")) {
        SCOPED_TRACE(seed.filename().string());
        const Bytes bytes = ReadAll(seed);
        ASSERT_GT(bytes.size(), 1u);
        GpsState gps;
        const GpsDecodeContext context{bytes[0] % 4, (bytes[0] & 0x80) != 0};
        gps.DecodeRead(reinterpret_cast<const char*>(bytes.data() + 1), bytes.size() - 1, context);
        std::lock_guard<std::mutex> guard(gps.lock);
        EXPECT_NE(gps.latitudeText, "n/a");
    }
}

TEST(FuzzSeedsTest, SettingsSeedsNameHeads) {
    for (const fs::path& seed : Seeds("settings_file")) {
        const Bytes bytes = ReadAll(seed);
        const ProfileFile file = ProfileFile::FromText(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        EXPECT_NE(file.GetProfileString("Sonar L", "IP Address", ""), "") << seed.filename();
    }
}

TEST(FuzzSeedsTest, EventFileSeedsHoldWholeEvents) {
    for (const fs::path& seed : Seeds("event_file")) {
        const Bytes bytes = ReadAll(seed);
        const auto lines = std::count(bytes.begin(), bytes.end(), '\n');
        EXPECT_TRUE(lines > 0 && lines % 8 == 0) << seed.filename() << ": " << lines << " lines";
    }
}

// The fuzz run must let an input hold two of the longest records and every seed whole.
TEST(FuzzSeedsTest, FuzzRunTakesTwoRecordsAndEverySeed) {
    std::ifstream script(SourceDir() / "scripts" / "test");
    const std::string text((std::istreambuf_iterator<char>(script)), {});
    std::smatch match;
    ASSERT_TRUE(std::regex_search(text, match, std::regex(R"(fuzz_max_len=(\d+))")));
    const std::uintmax_t maxLen = std::stoull(match[1]);
    EXPECT_GE(maxLen, 2u * svx::kMaxRecordLength);
    for (const auto& entry : fs::recursive_directory_iterator(SourceDir() / "fuzz" / "seeds")) {
        if (!entry.is_regular_file() || entry.path().extension() == ".cpp") continue;
        EXPECT_LE(entry.file_size(), maxLen) << entry.path();
    }
    EXPECT_NE(text.find("fuzz/seeds/"), std::string::npos) << "the fuzz run takes no seeds";
}

}  // namespace
