// What the tools check of the files they are given (real files, a FIFO, devices), the
// progress line of long work, and JSON of names that are not ASCII.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "FileChecks.h"
#include "InfoReport.h"
#include "JsonOutput.h"
#include "Progress.h"

namespace fs = std::filesystem;

namespace {

class ToolFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("sonvara-toolfiles-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "a.svx") << "bytes";
        ASSERT_EQ(::mkfifo((dir / "pipe.svx").c_str(), 0600), 0);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(ToolFilesTest, OnlyRegularFilesAreRead) {
    struct Case {
        std::string path;
        std::string problem;  // empty: accepted
    };
    const Case cases[] = {
        {Path("a.svx"), ""},
        {Path("missing.svx"), "cannot open " + Path("missing.svx") + ": No such file or directory"},
        {dir.string(), dir.string() + " is a directory, not a data file"},
        // A FIFO without a writer: refused at once instead of blocking in open().
        {Path("pipe.svx"), Path("pipe.svx") + " is not a regular file"},
        {"/dev/null", "/dev/null is not a regular file"},
    };
    for (const Case& c : cases) EXPECT_EQ(cli::CheckInputFile(c.path), c.problem) << c.path;
}

TEST_F(ToolFilesTest, RecordingGoesToNewOrRegularFilesOnly) {
    EXPECT_EQ(cli::CheckRecordFile(Path("new.svx")), "");
    EXPECT_EQ(cli::CheckRecordFile(Path("a.svx")), "");
    EXPECT_EQ(cli::CheckRecordFile("/dev/full"), "cannot record to /dev/full: not a regular file");
    EXPECT_EQ(cli::CheckRecordFile(Path("pipe.svx")),
              "cannot record to " + Path("pipe.svx") + ": not a regular file");
    EXPECT_EQ(cli::CheckRecordFile(dir.string()),
              "cannot record to " + dir.string() + ": it is a directory");
}

TEST_F(ToolFilesTest, OutputDirectoriesAreCreatedOrTheReasonGiven) {
    EXPECT_EQ(cli::MakeOutputDirectory(Path("out/deeper")), "");
    EXPECT_TRUE(fs::is_directory(dir / "out" / "deeper"));
    EXPECT_EQ(cli::MakeOutputDirectory(Path("out")), "") << "an existing directory is fine";
    const std::string under = Path("a.svx") + "/images";
    EXPECT_EQ(cli::MakeOutputDirectory(under),
              "cannot create the directory " + under + ": Not a directory");
}

TEST(ToolMessagesTest, MessageBoxTextsBecomeOneLine) {
    EXPECT_EQ(cli::OneLine("Failed to open document:\n/x.svx\n"),
              "Failed to open document: /x.svx");
    EXPECT_EQ(cli::OneLine("WARNING! The disk is full!!\r\nSaving process will stop!"),
              "WARNING! The disk is full!! Saving process will stop!");
}

TEST(ProgressTest, ALineAfterASecondThenAFewTimesASecond) {
    cli::ProgressMeter meter("render");
    EXPECT_FALSE(meter.Update(500, 4000, 0.5));
    EXPECT_FALSE(meter.Shown()) << "short work shows nothing";
    EXPECT_EQ(meter.Update(1000, 4000, 1.0), "render: 1000/4000 records, 1000 records/s");
    EXPECT_FALSE(meter.Update(1100, 4000, 1.1));
    EXPECT_EQ(meter.Update(1300, 4000, 1.3), "render: 1300/4000 records, 1000 records/s");
    EXPECT_TRUE(meter.Shown());
}

TEST(ProgressTest, TheTotalIsEstimatedFromTheBytesARecordTakes) {
    EXPECT_EQ(cli::EstimateTotal(10, 110720, 11072 * 4000), 4000);
    EXPECT_EQ(cli::EstimateTotal(0, 0, 5000), 0);
    EXPECT_EQ(cli::EstimateTotal(10, 110720, 1000), 10) << "never fewer than done";
}

TEST(JsonOutputTest, NonAsciiFileNamesSurviveTheRoundTrip) {
    const std::string name =
        "/data/\xC3\x9C"
        "berfahrt-\xC3\xB8-\xE6\xB5\xB7.svx";  // Ü, ø, 海
    const std::string json = cli::FormatInfoJson(name, DataFileSummary{});
    EXPECT_TRUE(std::all_of(json.begin(), json.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    EXPECT_NE(json.find("\\u00dc"), std::string::npos) << json;
    EXPECT_EQ(nlohmann::json::parse(json)["file"].get<std::string>(), name);
    // A name that is not UTF-8 (Latin-1 bytes) is kept as Latin-1, not dropped.
    EXPECT_EQ(cli::JsonText("caf\xE9"), "caf\xC3\xA9");
}

}  // namespace

namespace {

TEST(ToolMessagesTest, TheOpenFailureOfTheApplicationNamesTheFile) {
    EXPECT_EQ(cli::ToolLine("Failed to open document:\n/x/run.an"), "cannot open /x/run.an");
    EXPECT_EQ(cli::ToolLine("Error Creating Annotation File!"), "Error Creating Annotation File!");
}

}  // namespace
