// The event file beside a data file: its text, and that playback keeps a file it could not
// read to the end.

#include <clocale>
#include <filesystem>

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

// Numbers that cannot be are refused with their line named; the events before them stay.
TEST(EventFileText, ImpossibleNumbersStopTheReadingAtTheirLine) {
    const std::string good = "1\n2\n0.5\nd\nt\nla\nlo\nan\n";
    const auto second = [](const std::string& ping, const std::string& fraction) {
        return "2\n" + ping + "\n" + fraction + "\nd\nt\nla\nlo\nan\n";
    };
    struct Case {
        std::string text;
        EventParse result;
        int count, line;
        const char* reasonHas;
    };
    const Case cases[] = {
        {good + second("99999999999999999999", "0.5"), EventParse::Damaged, 1, 10,
         "ping number \"99999999999999999999\""},
        {good + second("2147483648", "0.5"), EventParse::Damaged, 1, 10, "2147483648"},
        {good + second("-3", "0.5"), EventParse::Damaged, 1, 10, "-3"},
        {good + second("12 wreck", "0.5"), EventParse::Damaged, 1, 10, "12 wreck"},
        {good + second("", "0.5"), EventParse::Damaged, 1, 10, "ping number"},
        {good + second("7", "1e308"), EventParse::Damaged, 1, 11, "across-track fraction"},
        {good + second("7", "inf"), EventParse::Damaged, 1, 11, "\"inf\""},
        {good + second("7", "nan"), EventParse::Damaged, 1, 11, "\"nan\""},
        {good + second("7", "-0.000001"), EventParse::Damaged, 1, 11, "-0.000001"},
        {good + second("7", "1.000001"), EventParse::Damaged, 1, 11, "1.000001"},
        {good + second("7", "1e400"), EventParse::Damaged, 1, 11, "1e400"},
        {"-1\n", EventParse::Damaged, 0, 1, "event number \"-1\""},
        {good + "1" + std::string(30, '0') + "\n", EventParse::Damaged, 1, 9, "event number"},
        // The largest that can be, and the edges of the fraction.
        {good + second("2147483647", "1.000000"), EventParse::Complete, 2, 0, ""},
        {good + second("0", "0.000000"), EventParse::Complete, 2, 0, ""},
        {good + second(" 7 ", " 0.25\r"), EventParse::Complete, 2, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EventList list;
        const EventFileReading reading = ReadEventText(c.text, list);
        EXPECT_EQ(reading.status, c.result);
        EXPECT_EQ(list.count, c.count);
        EXPECT_EQ(reading.line, c.line);
        EXPECT_NE(reading.reason.find(c.reasonHas), std::string::npos) << reading.reason;
        if (c.count > 0) {
            EXPECT_EQ(list.entries[0].annotation, "an\n");
        }
        // Nothing is taken from the refused event.
        EXPECT_EQ(list.entries[static_cast<std::size_t>(c.count)].number, -1);
    }
}

// How far a file was read: a cut-off event is not taken for an overlong file, and a long line
// does not cost the events after it.
TEST(EventFileText, CutOffOverlongAndFullFilesAreToldApart) {
    const std::string good = "1\n2\n0.5\nd\nt\nla\nlo\nan\n";
    std::string hundredAndOne;
    for (int i = 0; i < 101; ++i)
        hundredAndOne += std::to_string(i % 100) + "\n5\n0.5\nd\nt\nla\nlo\nan\n";
    struct Case {
        const char* name;
        std::string text;
        EventParse result;
        int count, line;
    };
    const Case cases[] = {
        {"one whole, one cut off", good + "2\n3\n0.5\nd\n", EventParse::CutOff, 1, 9},
        {"a 1 MB first annotation",
         "1\n2\n0.5\nd\nt\nla\nlo\n" + std::string(1 << 20, 'x') + "\n" + good,
         EventParse::Complete, 2, 0},
        {"a 1 MB annotation in CR LF",
         "1\r\n2\r\n0.5\r\nd\r\nt\r\nla\r\nlo\r\n" + std::string(1 << 20, 'y') + "\r\n" + good,
         EventParse::Complete, 2, 0},
        {"101 events", hundredAndOne, EventParse::Full, 100, 801},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EventList list;
        const EventFileReading reading = ReadEventText(c.text, list);
        EXPECT_EQ(reading.status, c.result);
        EXPECT_EQ(list.count, c.count);
        EXPECT_EQ(reading.line, c.line);
        EXPECT_EQ(list.entries[0].annotation.size() <= kMaxEventLine, true);
        EXPECT_EQ(list.entries[0].annotation.back(), '\n');
    }
}

// A file is read a piece at a time: a line split between pieces reads as a whole line.
TEST(EventFileText, TextReadInPiecesReadsAsAWhole) {
    const std::string text = "3\r\n9\r\n0.125000\r\nd\r\nt\r\nla\r\nlo\r\n" +
                             std::string(700, 'n') + "\r\n4\n10\n0.5\nd\nt\nla\nlo\nlast";
    EventList whole;
    ASSERT_EQ(ReadEventText(text, whole).status, EventParse::Complete);
    for (std::size_t piece : {1u, 2u, 7u, 518u, 519u, 520u}) {
        EventList list;
        const EventFileReading reading = ReadEventText(TextInPieces(text, piece), list);
        EXPECT_EQ(reading.status, EventParse::Complete) << piece;
        ASSERT_EQ(list.count, 2) << piece;
        EXPECT_EQ(FormatEventList(list), FormatEventList(whole)) << piece;
    }
    EXPECT_EQ(whole.entries[0].annotation, std::string(kMaxEventLine - 1, 'n') + "\n");
    EXPECT_EQ(whole.entries[1].annotation, "last\n");
}

// What a save writes of the events read reads back the same: CRs before a line end are line
// end, not text, also on a line cut to its first 518 characters.
TEST(EventFileText, ASavedListReadsBackAsItWas) {
    const std::string head = "1\n2\n0.5\nd\nt\nla\nlo\n";
    const std::pair<std::string, std::string> cases[] = {
        {head + "note\r\r\n", "note\n"},
        {head + "a\rb\r\n", "a\rb\n"},
        {head + std::string(517, 'x') + "\r\r\r\n", std::string(517, 'x') + "\n"},
        {head + "\r\n", "\n"},
    };
    for (const auto& [text, annotation] : cases) {
        EventList read, again;
        ASSERT_EQ(ReadEventText(text, read).status, EventParse::Complete) << text;
        EXPECT_EQ(read.entries[0].annotation, annotation);
        const std::string saved = FormatEventList(read);
        ASSERT_EQ(ReadEventText(saved, again).status, EventParse::Complete);
        EXPECT_EQ(FormatEventList(again), saved);
    }
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
    platform.expectedMessages = {"Event Info File Damaged!\n" + dir.File("survey.an") +
                                 ", line 9: event number \"100\" is not a whole number from 0 "
                                 "to 99.\nThe 1 event before it is shown; the file is kept as it "
                                 "is."};
    StartPlayback(path);
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.events.eventList.count, 1);
    doc.CloseAllFiles();
    EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), events);
}

// Closing saves nothing when nothing changed: a file written by hand (CR LF, short fractions)
// keeps its bytes, and a file that could not be read is not touched at all.
TEST_F(EventFilePlaybackTest, CloseLeavesAnUnchangedEventFileAsItIs) {
    MakeFourHeadState(false);
    const std::string path = WriteFile("survey.svx", MakeFile(2));
    const std::string events = "4\r\n7\r\n0.5\r\nd\r\nt\r\nla\r\nlo\r\nan\r\n";
    TempDir::WriteText(dir.File("survey.an"), events);
    const auto before = std::filesystem::last_write_time(dir.File("survey.an"));
    StartPlayback(path);
    ASSERT_EQ(doc.events.eventList.count, 1);
    doc.CloseAllFiles();
    EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), events);
    EXPECT_EQ(std::filesystem::last_write_time(dir.File("survey.an")), before);
}

TEST(EventFileText, CrLfLinesAndACutOffLastEvent) {
    const std::string crlf = "3\r\n9\r\n0.125000\r\nd\r\nt\r\nla\r\nlo\r\nnote\r\n";
    struct Case {
        const char* name;
        std::string text;
        EventParse result;
        int count;
    };
    const Case cases[] = {
        {"CR LF", crlf + crlf, EventParse::Complete, 2},
        {"cut after four lines", crlf + "4\n10\n0.5\nd\n", EventParse::CutOff, 1},
        {"cut after the number", crlf + "4\n", EventParse::CutOff, 1},
        {"first number 100", "100\n1\n0.5\nd\nt\nla\nlo\nan\n", EventParse::Damaged, 0},
    };
    for (const Case& c : cases) {
        EventList list;
        EXPECT_EQ(ParseEventList(c.text, list), c.result) << c.name;
        ASSERT_EQ(list.count, c.count) << c.name;
        EXPECT_EQ(list.entries[0].pingNumber, c.count ? 9 : -1) << c.name;
        if (c.count) {
            EXPECT_DOUBLE_EQ(list.entries[0].acrossFraction, 0.125) << c.name;
            EXPECT_EQ(list.entries[0].date, "d\n") << c.name;
            EXPECT_EQ(list.entries[0].annotation, "note\n") << c.name;
        }
        // Nothing is taken from past the last complete event.
        EXPECT_EQ(list.entries[c.count].number, -1) << c.name;
    }
    // A written list has plain line feeds and every text on its own line.
    EventList list;
    ParseEventList(crlf, list);
    EXPECT_EQ(FormatEventList(list), "3\n9\n0.125000\nd\nt\nla\nlo\nnote\n");
}

TEST(EventFileText, OverlongLineKeepsItsLineEnd) {
    const std::string text = "1\n2\n0.5\nd\nt\nla\nlo\n" + std::string(600, 'x') + "\n" +
                             "2\n3\n0.5\nd\nt\nla\nlo\nan\n";
    EventList list;
    ASSERT_EQ(ParseEventList(text, list), EventParse::Complete);
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.entries[0].annotation.back(), '\n');
    EventList again;
    ASSERT_EQ(ParseEventList(FormatEventList(list), again), EventParse::Complete);
    EXPECT_EQ(again.count, 2);
}

TEST(EventFileText, NumbersAreTheSameInEveryLocale) {
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"};
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* chosen = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_NUMERIC, name)) {
            chosen = name;
            break;
        }
    }
    if (!chosen) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EventList list;
    list.entries[0] = Event(1, 2, 0.75, "x");
    list.count = 1;
    const std::string text = FormatEventList(list);
    EventList back;
    ParseEventList(text, back);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(text.substr(0, 13), "1\n2\n0.750000\n") << chosen;
    EXPECT_DOUBLE_EQ(back.entries[0].acrossFraction, 0.75) << chosen;
}

TEST(EventFileText, AnnotationIsStoredAsOneLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "n/a\n"},
        {"wreck", "wreck\n"},
        {"two\nlines", "two lines\n"},
        {"dos\r\nline", "dos line\n"},
        {"old\rmac", "old mac\n"},
        {std::string(600, 'a'), std::string(512, 'a') + "\n"},
    };
    for (const auto& [typed, stored] : cases) EXPECT_EQ(StoredAnnotation(typed), stored) << typed;
}

TEST(EventFileText, ListOperationsKeepThePingOrder) {
    EventList list;
    const std::pair<int, int> added[] = {{0, 20}, {1, 10}, {2, 20}, {3, 5}};
    for (const auto& [number, ping] : added) list.InsertByPing(Event(number, ping, 0.5, "n"));
    const int order[] = {3, 1, 0, 2};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(list.entries[i].number, order[i]) << i;
    EXPECT_EQ(list.LargestNumber(), 3);
    EXPECT_EQ(list.CountAtPing(20), 2);
    list.RemoveAt(3);
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.entries[3].number, -1);
    for (int i = 0; i < 97; ++i) list.Append(Event(4, 30, 0.5, "n"));
    EXPECT_TRUE(list.Full());
    EXPECT_EQ(list.InsertByPing(Event(5, 1, 0.5, "n")), -1);
    EXPECT_FALSE(list.Append(Event(5, 1, 0.5, "n")));
}

TEST_F(EventFilePlaybackTest, EventsAreSortedByPingWhenLoaded) {
    MakeFourHeadState(false);
    const std::string path = WriteFile("survey.svx", MakeFile(2));
    TempDir::WriteText(dir.File("survey.an"),
                       "4\n9\n0.5\nd\nt\nla\nlo\nan\n"
                       "5\n3\n0.5\nd\nt\nla\nlo\nan\n"
                       "6\n9\n0.5\nd\nt\nla\nlo\nan\n");
    StartPlayback(path);
    ASSERT_EQ(doc.events.eventList.count, 3);
    EXPECT_EQ(doc.events.eventList.entries[0].number, 5);
    EXPECT_EQ(doc.events.eventList.entries[1].number, 4);
    EXPECT_EQ(doc.events.eventList.entries[2].number, 6);
}

}  // namespace
