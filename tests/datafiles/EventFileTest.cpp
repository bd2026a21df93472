// The event file beside a data file: its text, and that playback keeps a file it could not
// read to the end.

#include "DataFilesFixture.h"
#include "datafiles/DataFileNames.h"

namespace {

EventRecord Event(int number, int ping, double fraction, const std::string& note) {
    EventRecord event;
    event.number = number;
    event.pingNumber = ping;
    event.acrossFraction = fraction;
    event.date = "03-JUL-2025\n";
    event.time = "14:05:09\n";
    event.latitude = "4807.038 N\n";
    event.longitude = "01131.000 E\n";
    event.annotation = note + "\n";
    return event;
}

TEST(EventFileText, ListIsWrittenAndReadBackLineByLine) {
    EventList list;
    list.entries[0] = Event(0, 12, 0.25, "rock");
    list.entries[1] = Event(5, 40, 0.875, "n/a");
    list.count = 2;
    const std::string text = FormatEventList(list);
    EXPECT_EQ(text.substr(0, 16), "0\n12\n0.250000\n03");
    EventList back;
    ASSERT_EQ(ParseEventList(text, back), EventParse::Complete);
    ASSERT_EQ(back.count, 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(back.entries[i].number, list.entries[i].number);
        EXPECT_EQ(back.entries[i].pingNumber, list.entries[i].pingNumber);
        EXPECT_DOUBLE_EQ(back.entries[i].acrossFraction, list.entries[i].acrossFraction);
        EXPECT_EQ(back.entries[i].date, list.entries[i].date);
        EXPECT_EQ(back.entries[i].longitude, list.entries[i].longitude);
        EXPECT_EQ(back.entries[i].annotation, list.entries[i].annotation);
    }
    EXPECT_EQ(FormatEventList(EventList{}), "");
}

TEST(EventFileText, BadEventNumberStopsTheReading) {
    const std::string good = "1\n2\n0.5\nd\nt\nla\nlo\nan\n";
    struct Case {
        std::string text;
        EventParse result;
        int count;
    };
    const Case cases[] = {
        {good + "100\n3\n0.5\nd\nt\nla\nlo\nan\n", EventParse::Damaged, 1},
        {"-1\n", EventParse::Damaged, 0},
        {"wreck\n", EventParse::Damaged, 0},
        {good + "\n", EventParse::Damaged, 1},
        {good + "99\n3\n0.5\nd\nt\nla\nlo\nan", EventParse::Complete, 2},
    };
    for (const Case& c : cases) {
        EventList list;
        EXPECT_EQ(ParseEventList(c.text, list), c.result) << c.text;
        EXPECT_EQ(list.count, c.count) << c.text;
    }
}

TEST(EventFileText, ListHoldsAtMostOneHundredEvents) {
    std::string text;
    for (int i = 0; i < 101; ++i) text += std::to_string(i % 100) + "\n1\n0.5\nd\nt\nla\nlo\nan\n";
    EventList list;
    EXPECT_EQ(ParseEventList(text, list), EventParse::Full);
    EXPECT_EQ(list.count, 100);
}

TEST(EventFileText, OverlongLineIsCutWithoutShiftingTheNextLines) {
    const std::string text = "1\n2\n0.5\nd\nt\nla\nlo\n" + std::string(600, 'x') + "\n";
    EventList list;
    ASSERT_EQ(ParseEventList(text, list), EventParse::Complete);
    EXPECT_EQ(list.entries[0].annotation.size(), kMaxEventLine);
}

TEST(DataFileNames, NamesOfDataFilesAndTheirEventFiles) {
    EXPECT_EQ(EventFileNameFor("/d/x.svx"), "/d/x.an");
    EXPECT_EQ(EventFileNameFor("run1.dat"), "run1.an");
    EXPECT_EQ(EventFileNameFor("ab"), "an");
    const std::pair<const char*, bool> endings[] = {
        {"a.svx", true}, {"a.SVX", true}, {"a.Svx", true},     {"asvx", true},
        {"a.sv", false}, {"vx", false},   {"a.svx.bak", false}};
    for (const auto& [name, svx] : endings) EXPECT_EQ(HasSvxEnding(name), svx) << name;
    EXPECT_EQ(WithDefaultExtension("/d/run2"), "/d/run2.svx");
    EXPECT_EQ(WithDefaultExtension("/d.x/run1.dat"), "/d.x/run1.dat");
    EXPECT_EQ(WithDefaultExtension("/d.x/run"), "/d.x/run.svx");
    LocalTime t;
    t.year = 2009, t.month = 1, t.day = 5, t.hour = 7, t.minute = 0, t.second = 59;
    EXPECT_EQ(ProposedRecordingName(t), "090105 07-00-59.svx");
}

class EventFilePlaybackTest : public DataFilesFixture {};

TEST_F(EventFilePlaybackTest, DamagedEventFileIsReportedAndKeptAsItWas) {
    MakeFourHeadState(false);
    const std::string path = WriteFile("survey.svx", MakeFile(2));
    const std::string events = "4\n7\n0.5\nd\nt\nla\nlo\nan\n100\n8\n0.5\nd\nt\nla\nlo\nan\n";
    TempDir::WriteText(dir.File("survey.an"), events);
    platform.expectedMessages = {"Event Info File Damaged!"};
    StartPlayback(path);
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.events.eventList.count, 1);
    doc.CloseAllFiles();
    EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), events);
}

TEST_F(EventFilePlaybackTest, ReadableEventFileIsWrittenBackFromTheList) {
    MakeFourHeadState(false);
    const std::string path = WriteFile("survey.svx", MakeFile(2));
    TempDir::WriteText(dir.File("survey.an"), "4\n7\n0.5\nd\nt\nla\nlo\nan\n");
    StartPlayback(path);
    ASSERT_EQ(doc.events.eventList.count, 1);
    doc.events.eventList.entries[0].annotation = "changed\n";
    doc.CloseAllFiles();
    EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), "4\n7\n0.500000\nd\nt\nla\nlo\nchanged\n");
}

}  // namespace
