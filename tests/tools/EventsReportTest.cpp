// `sonvara-cli events`: its command line, the exports of an event file, the column of an
// event in each side mode and when and where each chip is cut.

#include <gtest/gtest.h>

#include "EventsReport.h"
#include "imaging/ImageSet.h"

namespace {

// Three events as the application writes them: texts with their line ends, one without a
// position.
constexpr const char* kEventFile =
    "0\n57\n0.750000\n09-DEC-2026\n10:15:00\n54.19.2000 N\n010.09.0000 E\nwreck, upright\n"
    "1\n60\n0.250000\n09-DEC-2026\n10:15:02\nn/a\nn/a\nn/a\n"
    "4\n75\n0.500000\n09-DEC-2026\n10:15:09\n33.07.5000 S\n070.30.0000 W\n\"Anna\" <boat>\n";

EventList Events() {
    EventList events;
    EXPECT_EQ(ParseEventList(kEventFile, events), EventParse::Complete);
    return events;
}

TEST(EventsReportTest, CommandLines) {
    struct Case {
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {{"a.svx", "--csv", "e.csv"}, nullptr},
        {{"a.svx", "--kml", "e.kml", "--chips", "chips", "--chip-size", "64"}, nullptr},
        {{"a.svx", "--chips", "chips"}, "give one of --csv OUT, --gpx OUT or --kml OUT"},
        {{"--gpx", "e.gpx"}, "a data file (FILE.svx) is required"},
        {{"a.svx", "--gpx", "e.gpx", "--chip-size", "8"},
         "--chip-size: wants 16 .. 1000 pixels, not '8'"},
        {{"a.svx", "--gpx", "e.gpx", "--side", "left"}, "--side: wants port|stbd|both, not 'left'"},
    };
    for (const Case& c : cases) {
        const cli::EventsParse parsed = cli::ParseEventsArguments(c.args);
        if (!c.error) {
            EXPECT_TRUE(parsed.options) << parsed.error;
        } else {
            EXPECT_FALSE(parsed.options);
            EXPECT_EQ(parsed.error, c.error);
        }
    }
    const cli::EventsParse chips =
        cli::ParseEventsArguments({"a.svx", "--csv", "e.csv", "--chips", "d", "--chip-size", "64"});
    ASSERT_TRUE(chips.options);
    EXPECT_EQ(chips.options->chipsDir, "d");
    EXPECT_EQ(chips.options->chipSize, 64);
    EXPECT_EQ(cli::ParseEventsArguments({"a.svx", "--csv", "e.csv"}).options->chipSize, 256);
}

TEST(EventsReportTest, CsvHasEveryEventWithItsSignedPosition) {
    int leftOut = -1;
    const std::string csv = svx::EventsExport(Events(), cli::GeoFormat::Csv, "s", leftOut);
    EXPECT_EQ(csv,
              "number,ping,date,time,latitude,longitude,across,annotation\n"
              "0,57,09-DEC-2026,10:15:00,54.32000000,10.15000000,0.750000,\"wreck, upright\"\n"
              "1,60,09-DEC-2026,10:15:02,,,0.250000,n/a\n"
              "4,75,09-DEC-2026,10:15:09,-33.12500000,-70.50000000,0.500000,"
              "\"\"\"Anna\"\" <boat>\"\n");
    EXPECT_EQ(leftOut, 0);
}

TEST(EventsReportTest, GpxAndKmlLeaveOutEventsWithoutAPosition) {
    int leftOut = 0;
    const std::string gpx = svx::EventsExport(Events(), cli::GeoFormat::Gpx, "s", leftOut);
    EXPECT_EQ(leftOut, 1);
    EXPECT_NE(gpx.find("<wpt lat=\"54.32000000\" lon=\"10.15000000\"><name>Event 0</name>"
                       "<desc>wreck, upright</desc></wpt>"),
              std::string::npos);
    EXPECT_NE(gpx.find("<name>Event 4</name><desc>&quot;Anna&quot; &lt;boat&gt;</desc>"),
              std::string::npos);
    EXPECT_EQ(gpx.find("Event 1"), std::string::npos);
    const std::string kml = svx::EventsExport(Events(), cli::GeoFormat::Kml, "s", leftOut);
    EXPECT_EQ(leftOut, 1);
    EXPECT_NE(kml.find("<coordinates>-70.50000000,-33.12500000</coordinates>"), std::string::npos);
}

TEST(EventsReportTest, ChipNames) {
    EXPECT_EQ(cli::ChipFileName(0), "event-00.png");
    EXPECT_EQ(cli::ChipFileName(7), "event-07.png");
    EXPECT_EQ(cli::ChipFileName(99), "event-99.png");
}

TEST(EventsReportTest, EventColumnsInTheThreeSideModes) {
    struct Case {
        double fraction;
        int sideMode;
        int column;
    };
    const Case cases[] = {
        {0.75, 3, 750},
        {0.0, 3, 0},
        {0.25, 1, 500},
        {0.75, 2, 500},
        {0.75, 1, 1500},  // a starboard event with only the port side shown:
                          // outside
        {0.25, 2, -500},  // and the other way round
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cli::EventColumn(c.fraction, 1000, c.sideMode), c.column)
            << c.fraction << " side " << c.sideMode;
    }
    EXPECT_LT(cli::EventColumn(-4000.0, 1000, 3), 0);  // the fraction of an empty slot
}

class ChipPlannerTest : public ::testing::Test {
protected:
    void SetUp() override { images.AllocateComposite(200, 400); }
    // The newest rows show ping `newest`, four rows a ping, older pings below.
    void Draw(int newest) {
        for (int row = 0; row < 400; ++row) {
            images.slotStates[kCompositeSlot].rowInfo.Row(row).pingNumber = newest - row / 4;
        }
    }
    ImageSet images;
};

TEST_F(ChipPlannerTest, AChipIsCutOnceItsEventHasHalfAChipOfNewerRowsAbove) {
    EventList events = Events();
    cli::ChipPlanner planner(events, 64, 3);
    Draw(57);
    EXPECT_TRUE(planner.Due(images, 57).empty());  // event 0 at the top row
    Draw(64);
    EXPECT_TRUE(planner.Due(images, 64).empty());  // row 28: not yet half a chip down
    Draw(65);
    const std::vector<cli::ChipCut> due = planner.Due(images, 65);  // row 32
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].number, 0);
    EXPECT_EQ(due[0].size, 64);
    EXPECT_EQ(due[0].left, 150 - 32);
    EXPECT_EQ(due[0].top, 0);
    Draw(66);
    EXPECT_TRUE(planner.Due(images, 66).empty());  // cut once only
}

TEST_F(ChipPlannerTest, APingMergedIntoALaterRowIsCutAroundThatRow) {
    EventList events = Events();
    cli::ChipPlanner planner(events, 64, 3);
    // No row is stamped with ping 57: ping 58 added no row of its own, merged its line into
    // 57's row and stamped it. The chip is cut around the oldest row of ping 58.
    for (int ping = 57; ping <= 70; ++ping) {
        Draw(ping);
        for (int row = 0; row < 400; ++row) {
            RowInfo& stamp = images.slotStates[kCompositeSlot].rowInfo.Row(row);
            if (stamp.pingNumber == 57) stamp.pingNumber = 56;
        }
        for (const cli::ChipCut& cut : planner.Due(images, ping)) {
            if (cut.number != 0) continue;
            EXPECT_EQ(ping, 66);
            EXPECT_EQ(cut.top, (ping - 58) * 4 + 3 - 32);
        }
    }
    EXPECT_EQ(planner.Remaining(images).size(), 0u);
    EXPECT_EQ(planner.Missed(), (std::vector<int>{4}));  // ping 75 was never played
}

TEST_F(ChipPlannerTest, AtTheEndChipsStayInsideTheImage) {
    EventList events = Events();
    cli::ChipPlanner planner(events, 64, 3);
    for (int ping = 55; ping <= 75; ++ping) {
        Draw(ping);
        planner.Due(images, ping);
    }
    // Events 0 and 1 were cut on the way; event 4 is in the top row at the end of the file.
    const std::vector<cli::ChipCut> rest = planner.Remaining(images);
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].number, 4);
    EXPECT_EQ(rest[0].top, 0);
    EXPECT_EQ(rest[0].left, 100 - 32);
    EXPECT_TRUE(planner.Missed().empty());
}

TEST_F(ChipPlannerTest, EventsThatCannotBeCutAreMissed) {
    EventList events = Events();
    // Port side only: event 0 (three quarters across) is on the side not shown.
    cli::ChipPlanner planner(events, 64, 1);
    for (int ping = 55; ping <= 70; ++ping) {
        Draw(ping);
        planner.Due(images, ping);
    }
    planner.Remaining(images);
    // Event 4's ping (75) was never played.
    EXPECT_EQ(planner.Missed(), (std::vector<int>{0, 4}));
}

TEST_F(ChipPlannerTest, AChipLargerThanTheImageIsNeverCut) {
    EventList events = Events();
    cli::ChipPlanner planner(events, 256, 3);  // wider than the 200-pixel image
    for (int ping = 55; ping <= 80; ++ping) {
        Draw(ping);
        planner.Due(images, ping);
    }
    EXPECT_TRUE(planner.Remaining(images).empty());
    EXPECT_EQ(planner.Missed().size(), 3u);
}

}  // namespace
