// The command lines of `sonvara-cli info` and `render` (and the image options `acquire`
// shares), and the text and JSON that `info` prints.

#include <gtest/gtest.h>

#include "AcquireReport.h"
#include "ImageOptions.h"
#include "InfoReport.h"

namespace {

TEST(RenderOptionsTest, ValidCommandLines) {
    const auto parsed =
        cli::ParseRenderArguments({"a.svx", "--out", "img", "--width", "640", "--zoom", "200",
                                   "--side", "stbd", "--color-table", "0", "--every", "50"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const cli::RenderOptions& o = *parsed.options;
    EXPECT_EQ(o.file, "a.svx");
    EXPECT_EQ(o.outDir, "img");
    EXPECT_EQ(o.images.width, 640);
    EXPECT_EQ(o.images.zoomMode, 2);
    EXPECT_EQ(o.images.sideMode, 2);
    EXPECT_EQ(o.images.colourTable, 0);
    EXPECT_EQ(o.every, 50);

    const auto defaults =
        cli::ParseRenderArguments({"--out", "img", "b.svx", "--palette", "p.pal"});
    ASSERT_TRUE(defaults.options) << defaults.error;
    EXPECT_EQ(defaults.options->images.width, 1000);
    EXPECT_EQ(defaults.options->images.zoomMode, 0);
    EXPECT_EQ(defaults.options->images.sideMode, 3);
    EXPECT_FALSE(defaults.options->images.colourTable);
    EXPECT_EQ(defaults.options->images.paletteFile, "p.pal");
    EXPECT_EQ(defaults.options->every, 0);
    EXPECT_TRUE(cli::ParseRenderArguments({"--help"}).help);
}

TEST(RenderOptionsTest, BadCommandLinesAreRefused) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--out", "img"}, "a data file"},
        {{"a.svx"}, "--out DIR is required"},
        {{"a.svx", "b.svx", "--out", "img"}, "only one"},
        {{"a.svx", "--out", "img", "--width", "15"}, "--width"},
        {{"a.svx", "--out", "img", "--width", "4097"}, "--width"},
        {{"a.svx", "--out", "img", "--zoom", "300"}, "--zoom"},
        {{"a.svx", "--out", "img", "--side", "left"}, "--side"},
        {{"a.svx", "--out", "img", "--color-table", "10"}, "--color-table"},
        {{"a.svx", "--out", "img", "--every", "0"}, "--every"},
        {{"a.svx", "--out"}, "needs a value"},
        {{"a.svx", "--out", "img", "--fast"}, "unknown option"},
    };
    for (const Case& c : cases) {
        const auto parsed = cli::ParseRenderArguments(c.args);
        EXPECT_FALSE(parsed.options) << c.message;
        EXPECT_NE(parsed.error.find(c.message), std::string::npos) << parsed.error;
    }
}

TEST(RenderOptionsTest, ImageNamesAreNumberedWithEvery) {
    EXPECT_EQ(cli::ImageFileName("L", 200, false), "L.png");
    EXPECT_EQ(cli::ImageFileName("composite", 200, true), "composite-000200.png");
}

TEST(AcquireRecordOptionsTest, RecordAndImagesOptions) {
    const auto parsed =
        cli::ParseAcquireArguments({"--connect", "127.0.0.2", "--record", "run.svx", "--images",
                                    "live", "--width", "800", "--side", "port"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->recordPath, "run.svx");
    EXPECT_EQ(parsed.options->imagesDir, "live");
    EXPECT_EQ(parsed.options->images.width, 800);
    EXPECT_EQ(parsed.options->images.sideMode, 1);
    EXPECT_FALSE(cli::ParseAcquireArguments({"--connect", "127.0.0.2", "--record"}).options);
    EXPECT_NE(cli::AcquireUsage().find("--record FILE"), std::string::npos);
}

TEST(InfoOptionsTest, CommandLines) {
    const auto parsed = cli::ParseInfoArguments({"--records", "a.svx", "--json"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->file, "a.svx");
    EXPECT_TRUE(parsed.options->json);
    EXPECT_TRUE(parsed.options->records);
    EXPECT_FALSE(cli::ParseInfoArguments({}).options);
    EXPECT_FALSE(cli::ParseInfoArguments({"a.svx", "b.svx"}).options);
    EXPECT_FALSE(cli::ParseInfoArguments({"a.svx", "--all"}).options);
}

DataFileSummary TwoRecords() {
    DataFileSummary summary;
    summary.bytes = 11072 + 3664 + 100;
    RecordSummary a;
    a.ping = 7;
    a.length = 11072;
    a.heads = {true, true, true, true};
    a.systemInfo = true;
    a.range = 50;
    a.esRange = 30;
    a.event = 3;
    a.date = "03-JUL-2025";
    a.time = "14:05:09.007";
    a.intervalMs = 250;
    a.gps = true;
    RecordSummary b;
    b.offset = 11072;
    b.ping = 8;
    b.length = 3664;
    b.heads = {false, false, false, true};
    b.esRange = 30;
    b.date = "03-JUL-2025";
    b.time = "14:05:09.257";
    summary.records = {a, b};
    summary.damagedOffset = 14736;
    summary.damagedBytes = 100;
    return summary;
}

TEST(InfoReportTest, JsonHasTheCountsAndOneItemPerRecord) {
    EXPECT_EQ(cli::FormatInfoJson("x.svx", TwoRecords()),
              "{\"file\":\"x.svx\",\"records\":2,\"bytes\":14836,\"damaged_offset\":14736,"
              "\"damaged_bytes\":100,\"first_ping\":7,\"last_ping\":8,\"events\":1,\"without_gps\":1,"
              "\"items\":["
              "{\"offset\":0,\"ping\":7,\"length\":11072,\"heads\":[\"L\",\"M\",\"H\",\"ES\"],"
              "\"range\":50,\"es_range\":30,\"event\":3,\"time\":\"03-JUL-2025 14:05:09.007\","
              "\"interval_ms\":250,\"system_info\":true,\"gps\":true},"
              "{\"offset\":11072,\"ping\":8,\"length\":3664,\"heads\":[\"ES\"],\"range\":null,"
              "\"es_range\":30,\"event\":null,\"time\":\"03-JUL-2025 14:05:09.257\","
              "\"interval_ms\":0,\"system_info\":false,\"gps\":false}]}\n");
    EXPECT_EQ(cli::FormatInfoJson("e.svx", DataFileSummary{}),
              "{\"file\":\"e.svx\",\"records\":0,\"bytes\":0,\"damaged_offset\":null,"
              "\"damaged_bytes\":0,\"first_ping\":null,\"last_ping\":null,\"events\":0,"
              "\"without_gps\":0,\"items\":[]}\n");
}

TEST(InfoReportTest, TextSummarisesAndListsRecordsOnRequest) {
    const std::string summary = cli::FormatInfoText("x.svx", TwoRecords(), false);
    EXPECT_EQ(summary,
              "x.svx: 2 records, 14836 bytes\n"
              "pings 7 .. 8, 03-JUL-2025 14:05:09.007 .. 03-JUL-2025 14:05:09.257\n"
              "heads L M H ES, range 50 m, echo-sounder range 30 m, record length 11072\n"
              "events 1\n"
              "1 record carries no GPS sentence: ping 8\n"
              "damaged at offset 14736 (100 bytes stepped over)\n");
    const std::string listed = cli::FormatInfoText("x.svx", TwoRecords(), true);
    EXPECT_EQ(listed.substr(summary.size()),
              "offset ping length heads range es_range time event\n"
              "0 7 11072 L,M,H,ES 50 30 03-JUL-2025 14:05:09.007 3\n"
              "11072 8 3664 ES - 30 03-JUL-2025 14:05:09.257 -\n");
}

}  // namespace

namespace {

TEST(RenderOptionsTest, SensorTableAndSettingsFile) {
    const cli::RenderParse parsed = cli::ParseRenderArguments(
        {"a.svx", "--out", "img", "--sensors", "s.csv", "--settings", "x.ini"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->sensorsFile, "s.csv");
    EXPECT_EQ(parsed.options->settingsFile, "x.ini");
    EXPECT_EQ(cli::ParseRenderArguments({"a.svx", "--out", "img", "--sensors"}).error,
              "--sensors needs a value");
    EXPECT_TRUE(cli::ParseRenderArguments({"a.svx", "--out", "img"}).options->sensorsFile.empty());
}

}  // namespace
