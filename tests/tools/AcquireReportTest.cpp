#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>

#include "AcquireReport.h"
#include "SimReplies.h"
#include "document/CVantrelDoc.h"
#include "support/FakePlatform.h"

namespace {

cli::AcquireParse Parse(std::vector<std::string> args) {
    return cli::ParseAcquireArguments(args);
}

TEST(AcquireOptionsTest, ValidCommandLines) {
    struct Case {
        std::vector<std::string> args;
        int cycles;
        double seconds;
        bool json;
        int range;  // -1: not given
        int gain;
    };
    const Case cases[] = {
        {{"--connect", "127.0.0.2"}, 0, 10, false, -1, -1},  // ten seconds by default
        {{"--connect", "127.0.0.2", "--cycles", "20"}, 20, 0, false, -1, -1},
        {{"--cycles", "3", "--seconds", "2.5", "--json", "--connect", "127.0.0.2"},
         3,
         2.5,
         true,
         -1,
         -1},
        {{"--connect", "127.0.0.2", "--range", "10", "--gain", "0"}, 0, 10, false, 10, 0},
        {{"--connect", "127.0.0.2", "--range", "500", "--gain", "40"}, 0, 10, false, 500, 40},
    };
    for (const Case& c : cases) {
        const auto parsed = Parse(c.args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(parsed.options->address, "127.0.0.2");
        EXPECT_EQ(parsed.options->cycles, c.cycles);
        EXPECT_DOUBLE_EQ(parsed.options->seconds, c.seconds);
        EXPECT_EQ(parsed.options->json, c.json);
        EXPECT_EQ(parsed.options->range.value_or(-1), c.range);
        EXPECT_EQ(parsed.options->gainDb.value_or(-1), c.gain);
    }
}

TEST(AcquireOptionsTest, BadCommandLinesAreRefused) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "--connect ADDRESS is required"},
        {{"--connect"}, "needs a value"},
        {{"--connect", "127.0.0.2", "--cycles", "0"}, "--cycles"},
        {{"--connect", "127.0.0.2", "--cycles", "2x"}, "--cycles"},
        {{"--connect", "127.0.0.2", "--seconds", "0"}, "--seconds"},
        {{"--connect", "127.0.0.2", "--seconds", "-1"}, "--seconds"},
        {{"--connect", "127.0.0.2", "--range", "45"}, "--range"},
        {{"--connect", "127.0.0.2", "--range", "5"}, "--range"},  // below the selectable ranges
        {{"--connect", "127.0.0.2", "--gain", "41"}, "--gain"},
        {{"--connect", "127.0.0.2", "--replay", "x.svx"}, "unknown option"},
        {{"--connect", "127.0.0.2", "--width", "9"}, "--width"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto parsed = Parse(c.args);
        EXPECT_FALSE(parsed.options);
        EXPECT_NE(parsed.error.find(c.message), std::string::npos) << parsed.error;
    }
    EXPECT_TRUE(Parse({"--connect", "127.0.0.2", "--help"}).help);
}

TEST(AcquireReportTest, SuccessNeedsTheTargetOrWithoutOneAnyCycle) {
    EXPECT_TRUE(cli::Succeeded(20, 20));
    EXPECT_TRUE(cli::Succeeded(21, 20));
    EXPECT_FALSE(cli::Succeeded(19, 20));
    EXPECT_TRUE(cli::Succeeded(1, 0));
    EXPECT_FALSE(cli::Succeeded(0, 0));
}

TEST(AcquireReportTest, JsonStringsAreEscaped) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"SV2026", "\"SV2026\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {std::string("\x01\n\x7F", 3), "\"\\u0001\\u000a\\u007f\""},
        {"\xE9", "\"\\u00e9\""},  // a byte of a serial number is not UTF-8
        {std::string("A\0B", 3), "\"A\\u0000B\""},
    };
    // The library may choose another escape of the same character ("\n" for "\u000a"): the
    // literal must decode to the same text.
    for (const Case& c : cases) {
        const std::string literal = cli::JsonString(c.in);
        EXPECT_EQ(nlohmann::json::parse(literal), nlohmann::json::parse(c.out)) << literal;
        EXPECT_TRUE(std::all_of(literal.begin(), literal.end(), [](char ch) {
            return static_cast<unsigned char>(ch) < 0x80;
        })) << literal;
    }
}

TEST(AcquireReportTest, SnapshotAndTotalsFollowTheDocument) {
    FakePlatform platform;
    platform.connectAddress = "127.0.0.2";
    CVantrelDoc doc(platform);
    doc.ConnectToSonarHead();
    EXPECT_EQ(cli::TakeSnapshot(doc, 0).state, "Discovering");
    platform.Socket(0).CompleteConnect();
    sim::SimSystemInfo info;
    info.presence = 0x0B;  // L, M and ES
    info.serialNumber = "XY0042";
    for (int h = 0; h < 4; ++h) info.heads[h] = {100, 50, 600, "127.0.0." + std::to_string(h + 2)};
    platform.Socket(0).Arrive(sim::BuildSystemInfoReply(info));
    platform.Socket(0).CompleteConnect();
    platform.Socket(1).CompleteConnect();

    const cli::AcquireSnapshot s = cli::TakeSnapshot(doc, 2.5);
    EXPECT_EQ(s.state, "Connecting");
    EXPECT_EQ(s.headStates, (std::vector<std::string>{"L:up", "M:up", "H:off", "ES:down"}));
    EXPECT_EQ(cli::FormatProgress(s, 0),
              "2.5 s  accepted 0 (+0)  rejected 0  reconnects 0  Connecting L:up M:up H:off "
              "ES:down");

    cli::AcquireTotals totals;
    totals.last = s;
    totals.last.accepted = 10;
    totals.last.rejected = 2;
    totals.last.reconnects = 1;
    totals.address = "127.0.0.2";
    totals.target = 20;
    totals.succeeded = false;
    // The same keys in the same order with the same values (the library writes 2.5 for 2.500).
    const std::string json = cli::FormatTotalsJson(totals);
    EXPECT_EQ(json.back(), '\n');
    EXPECT_EQ(nlohmann::ordered_json::parse(json),
              nlohmann::ordered_json::parse(
                  "{\"accepted\":10,\"rejected\":2,\"reconnects\":1,\"seconds\":2.500,"
                  "\"cycles_per_second\":4.00,\"target\":20,\"reached\":false,"
                  "\"address\":\"127.0.0.2\",\"serial\":\"XY0042\",\"heads\":[\"L\",\"M\","
                  "\"ES\"]}\n"));
    EXPECT_EQ(cli::FormatTotalsText(totals),
              "accepted 10, rejected 2, reconnects 1 in 2.50 s (4.0 cycles/s) - target not "
              "reached\n");
}

TEST(AcquireReportTest, RecordingTotalsSayWhatWasWrittenAndWhyItStopped) {
    cli::AcquireTotals totals;
    totals.recording = true;
    totals.recorded = 3;
    totals.recordingStopped = "the data file could not be written: File too large";
    auto json = nlohmann::ordered_json::parse(cli::FormatTotalsJson(totals));
    EXPECT_EQ(json["recorded"], 3);
    EXPECT_EQ(json["recording_stopped"], "the data file could not be written: File too large");
    totals.recordingStopped.clear();
    json = nlohmann::ordered_json::parse(cli::FormatTotalsJson(totals));
    EXPECT_TRUE(json["recording_stopped"].is_null());
    totals.recording = false;
    json = nlohmann::ordered_json::parse(cli::FormatTotalsJson(totals));
    EXPECT_FALSE(json.contains("recorded"));
}

TEST(AcquireReportTest, GpsTotalsCountTheRecordsWrittenWhileTheGpsWasLost) {
    cli::AcquireTotals totals;
    totals.gps = true;
    totals.gpsReads = 40;
    totals.latitude = "48.07.038 N";
    totals.longitude = "011.31.000 E";
    totals.recording = true;
    totals.recordedWithoutGps = 12;
    auto json = nlohmann::ordered_json::parse(cli::FormatTotalsJson(totals));
    EXPECT_EQ(json["recorded_without_gps"], 12);
    const std::string text = cli::FormatTotalsText(totals);
    EXPECT_EQ(text.substr(text.find("GPS:")),
              "GPS: 40 reads, last position 48.07.038 N 011.31.000 E, 12 records written while "
              "it was lost\n");
    totals.recordedWithoutGps = 0;
    EXPECT_EQ(cli::FormatTotalsText(totals).find("lost"), std::string::npos);
    totals.recording = false;
    json = nlohmann::ordered_json::parse(cli::FormatTotalsJson(totals));
    EXPECT_FALSE(json.contains("recorded_without_gps"));
}

TEST(AcquireReportTest, NoHeadsAreListedBeforeTheInstallationAnswered) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    cli::AcquireTotals totals;
    totals.last = cli::TakeSnapshot(doc, 1.0);
    const std::string json = cli::FormatTotalsJson(totals);
    EXPECT_NE(json.find("\"heads\":[]"), std::string::npos) << json;
    // A rate of 0 (the library writes 0.0 where the hand-made text had 0.00).
    const auto parsed = nlohmann::json::parse(json);
    EXPECT_TRUE(parsed["cycles_per_second"].is_number_float()) << json;
    EXPECT_EQ(parsed["cycles_per_second"].get<double>(), 0.0) << json;
}

}  // namespace
