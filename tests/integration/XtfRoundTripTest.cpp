// A recording of the simulator written as XTF by sonvara-cli xtf and read back by the other
// tools: render gives the very PNGs of the recording, track the very track, events the
// positions of the file's navigation, and xtf refuses an XTF file as its input.

#include <QString>

#include <cmath>
#include <filesystem>
#include <map>

#include "../support/TempDir.h"
#include "ProcessSupport.h"
#include "SimGps.h"
#include "SimRecording.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Every file of a directory by name, with its bytes.
std::map<std::string, std::vector<std::uint8_t>> FilesIn(const std::string& dir) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        files[entry.path().filename().string()] = TempDir::ReadBytes(entry.path().string());
    }
    return files;
}

struct Plan {
    const char* name;
    sim::RecordingPlan plan;
};

void PrintTo(const Plan& p, std::ostream* os) {
    *os << p.name;
}

class XtfRoundTrip : public ::testing::TestWithParam<Plan> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim::WriteSimulatedRecording(svx, GetParam().plan, error)) << error;
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"xtf", Q(svx), Q(xtf)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    TempDir dir;
    const std::string svx = dir.File("line.svx");
    const std::string xtf = dir.File("line.xtf");
};

TEST_P(XtfRoundTrip, RendersTheRecordingsImages) {
    for (const auto& [input, out] : {std::pair{svx, "svx"}, std::pair{xtf, "xtf"}}) {
        const ProgramRun run =
            RunProgram(SONVARA_CLI_PATH, {"render", Q(input), "--out", Q(dir.File(out))});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    const auto recorded = FilesIn(dir.File("svx"));
    const auto exported = FilesIn(dir.File("xtf"));
    ASSERT_GE(recorded.size(), 4u);  // L, M, H and the composite at least
    ASSERT_EQ(recorded.size(), exported.size());
    for (const auto& [name, bytes] : recorded) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(exported.count(name));
        EXPECT_TRUE(bytes == exported.at(name)) << "the images differ";
    }
}

TEST_P(XtfRoundTrip, GivesTheRecordingsTrack) {
    for (const char* format : {"--csv", "--gpx", "--kml"}) {
        SCOPED_TRACE(format);
        std::map<std::string, std::string> tracks;
        for (const std::string& input : {svx, xtf}) {
            const std::string out = input + ".track";
            const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"track", Q(input), format, Q(out)});
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            tracks[input] = TempDir::ReadText(out);
        }
        EXPECT_GT(std::count(tracks[svx].begin(), tracks[svx].end(), '\n'), 10);
        // The names of GPX and KML tracks are the files' names: the same stem.
        EXPECT_EQ(tracks[svx], tracks[xtf]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Plans, XtfRoundTrip,
    ::testing::Values(Plan{"ThreeHeads", {.records = 120, .heads = {true, true, true, false}}},
                      // Ping times that are no whole hundredths of a second, a speed of more
                      // decimals than a float keeps exactly.
                      Plan{"OddIntervalAndSpeed",
                           {.records = 150,
                            .pingIntervalS = 0.333,
                            .speedKnots = 3.7,
                            .heads = {true, true, false, false}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The event file beside X.xtf is X.an: eight lines an event.
std::string EventText(int number, int ping, const std::string& latitude,
                      const std::string& longitude) {
    return std::to_string(number) + "\n" + std::to_string(ping) +
           "\n0.250000\n09-DEC-2026\n10:00:02\n" + latitude + "\n" + longitude + "\nmark\n";
}

TEST(XtfEvents, EventsWithoutAPositionTakeTheFilesNavigationAtTheirPing) {
    TempDir dir;
    const std::string svx = dir.File("line.svx"), xtf = dir.File("line.xtf");
    std::string error;
    ASSERT_TRUE(sim::WriteSimulatedRecording(svx, {.records = 60}, error)) << error;
    ASSERT_EQ(RunProgram(SONVARA_CLI_PATH, {"xtf", Q(svx), Q(xtf)}).exitCode, 0);
    TempDir::WriteText(dir.File("line.an"),
                       EventText(1, 41, "n/a", "n/a") + EventText(2, 9, "54.00.0000 N", "010.00.0000 E"));
    const std::string csv = dir.File("events.csv");
    const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"events", Q(xtf), "--csv", Q(csv)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QStringList lines = QString::fromStdString(TempDir::ReadText(csv)).split('\n');
    ASSERT_GE(lines.size(), 3);
    // Ping 41 is 20 s into the line: the fix of second 20.
    const QStringList first = lines[1].split(',');
    const sim::VesselFix fix = sim::VesselAt(20.0, 4.0);
    ASSERT_GE(first.size(), 6);
    EXPECT_EQ(first[1], "41");
    EXPECT_NEAR(first[4].toDouble(), fix.latitude, 2e-6);
    EXPECT_NEAR(first[5].toDouble(), fix.longitude, 2e-6);
    // A stored position is the event's own.
    const QStringList second = lines[2].split(',');
    ASSERT_GE(second.size(), 6);
    EXPECT_EQ(second[4].toStdString(), "54.00000000");
    EXPECT_EQ(second[5].toStdString(), "10.00000000");
}

// The chips of an XTF export are cut from the images the recording gives.
TEST(XtfEvents, ChipsAreThoseOfTheRecording) {
    TempDir dir;
    const std::string svx = dir.File("line.svx"), xtf = dir.File("line.xtf");
    std::string error;
    ASSERT_TRUE(sim::WriteSimulatedRecording(svx, {.records = 80, .heads = {true, true, true, false}},
                                             error))
        << error;
    ASSERT_EQ(RunProgram(SONVARA_CLI_PATH, {"xtf", Q(svx), Q(xtf)}).exitCode, 0);
    TempDir::WriteText(dir.File("line.an"), EventText(1, 30, "n/a", "n/a"));
    for (const char* out : {"svx", "xtf"}) {
        const std::string input = out == std::string("svx") ? svx : xtf;
        const ProgramRun run =
            RunProgram(SONVARA_CLI_PATH, {"events", Q(input), "--csv", Q(dir.File("e.csv")),
                                          "--chips", Q(dir.File(out)), "--chip-size", "128"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    const auto chip = TempDir::ReadBytes(dir.File("svx/event-01.png"));
    ASSERT_FALSE(chip.empty());
    EXPECT_TRUE(chip == TempDir::ReadBytes(dir.File("xtf/event-01.png")));
}

TEST(XtfExport, RefusesAnXtfFileAsInput) {
    TempDir dir;
    const std::string svx = dir.File("line.svx"), xtf = dir.File("line.xtf");
    std::string error;
    ASSERT_TRUE(sim::WriteSimulatedRecording(svx, {.records = 4}, error)) << error;
    ASSERT_EQ(RunProgram(SONVARA_CLI_PATH, {"xtf", Q(svx), Q(xtf)}).exitCode, 0);
    const auto before = TempDir::ReadBytes(xtf);
    // By its first byte whatever its name, and by its name.
    std::filesystem::copy_file(xtf, dir.File("renamed.dat"));
    for (const std::string& input : {xtf, dir.File("renamed.dat")}) {
        SCOPED_TRACE(input);
        const std::string out = dir.File("again.xtf");
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"xtf", Q(input), Q(out)});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.toStdString(),
                  "sonvara-cli: " + input +
                      " is an XTF file already: only a data file (.svx) is written as XTF\n");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    EXPECT_EQ(TempDir::ReadBytes(xtf), before);
    const ProgramRun help = RunProgram(SONVARA_CLI_PATH, {"xtf", "--help"});
    EXPECT_TRUE(help.out.contains("An XTF file as input is refused")) << help.out.toStdString();
}

}  // namespace
