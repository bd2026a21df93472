// Events on a played or recorded data file: adding one through the dialog, its mark in the
// record of its ping, the event file after every change, review, delete and the markers.

#include <clocale>
#include <cstdio>
#include <filesystem>

#include "EventsFixture.h"
#include "datafiles/DataFileTexts.h"
#include "datafiles/EventTexts.h"
#include "imaging/SideGeometry.h"
#include "models/EventCommands.h"

namespace {

class EventsTest : public EventsFixture {
protected:
    // A played file of 40 three-head records with the event input on.
    void PlayEventFile(int records = 40, int played = 30) {
        path = WriteFile("survey.svx", ThreeHeadRecords(records));
        PlayIntoComposite(path, played);
        DocumentBuilder(doc).EventInput(true);
    }
    std::vector<std::uint8_t> FileBytes() { return TempDir::ReadBytes(path); }

    // Records live cycles of three heads into survey.svx with the event input on.
    void RecordLive(int cycles) {
        MakeFourHeadState(false);
        DocumentBuilder(doc).Installed({1, 1, 1, 0}).CompositeMode(true);
        std::int32_t changed = 1;
        doc.SizeCompositeImage(kZoomFillScreen, 1000, changed);
        path = dir.File("survey.svx");
        ASSERT_TRUE(doc.StartRecordingTo(path));
        DocumentBuilder(doc).EventInput(true);
        for (int i = 0; i < cycles; ++i) StoreLiveCycle();
    }
    void StoreLiveCycle() {
        DocumentBuilder(doc).NoData(false);
        platform.tick += 100;
        doc.StoreCycle();
    }
    void StampRowPing(int row, int ping) {
        doc.images.slotStates[kCompositeSlot].rowInfo.Row(row).pingNumber = ping;
    }
    std::string path;
};

const std::string kOneEvent = "0\n5\n0.500000\nd\nt\nla\nlo\nolder\n";

TEST_F(EventsTest, NumbersRunFromZeroAndFollowTheLargestAfterADelete) {
    PlayEventFile();
    AddEventAt(10, 300, "first");
    AddEventAt(12, 400, "second");
    EXPECT_EQ(doc.events.eventList.entries[0].number, 0);
    EXPECT_EQ(doc.events.eventList.entries[1].number, 1);
    DocumentBuilder(doc).PlayedEventNumber(0);
    platform.yesNoAnswers = {true};
    doc.DeleteEvent();
    ASSERT_EQ(doc.events.eventList.count, 1);
    AddEventAt(14, 500, "third");
    EXPECT_EQ(doc.events.eventList.entries[1].number, 2);
    EXPECT_EQ(doc.events.eventList.entries[1].annotation, "third\n");
}

TEST_F(EventsTest, AcceptedEventHoldsThePingsTextsAndTheClickedFraction) {
    PlayEventFile();
    const int row = RowOf(20);
    ASSERT_TRUE(doc.BeginNewEvent(row, 750));
    EXPECT_TRUE(doc.events.dialog.visible);
    EXPECT_FALSE(doc.events.dialog.navigationShown);
    EXPECT_TRUE(doc.events.dialog.annotationEditable);
    EXPECT_EQ(doc.events.dialog.ping, "20");
    EXPECT_EQ(doc.events.dialog.time, "14:05:09");
    // The display is held while the event is typed in playback.
    EXPECT_EQ(doc.images.heldByEventDialog, 1);
    EXPECT_FALSE(platform.TimerRunning(1030));
    doc.AcceptEvent("");
    EXPECT_EQ(doc.images.heldByEventDialog, 0);
    EXPECT_EQ(doc.images.held, 0);
    const EventRecord& event = doc.events.eventList.entries[0];
    EXPECT_EQ(event.pingNumber, 20);
    EXPECT_DOUBLE_EQ(event.acrossFraction, 0.75);
    EXPECT_EQ(event.annotation, "n/a\n");
    EXPECT_EQ(event.time, "14:05:09\n");
    EXPECT_EQ(event.date, doc.events.dialog.date + "\n");
}

TEST_F(EventsTest, ClicksThatAddNoEvent) {
    PlayEventFile();
    const int row = RowOf(20);
    const int width = doc.images.CompositeImage().Width();
    const int rows = doc.images.CompositeImage().Rows();
    struct Case {
        int row, x;
        bool enabled;
        const char* why;
    };
    const Case cases[] = {
        {row, 300, false, "input switched off"},
        {-1, 300, true, "above the image"},
        {rows, 300, true, "below the image"},
        {row, -1, true, "left of the image"},
        {row, width, true, "right of the image"},
        {rows - 1, 300, true, "a row that no ping has reached"},
        {RowOf(1), 300, true, "ping 1"},
    };
    for (const Case& c : cases) {
        DocumentBuilder(doc).EventInput(c.enabled);
        EXPECT_FALSE(doc.BeginNewEvent(c.row, c.x)) << c.why;
        EXPECT_FALSE(doc.events.dialog.visible) << c.why;
        EXPECT_TRUE(doc.events.eventMarkerPath.empty()) << c.why;
    }
}

TEST_F(EventsTest, MarkGoesIntoTheRecordOfThePingAtItsByte) {
    // Equal records of 8432 bytes from ping 1: ping 57 has its mark at 56 * 8432 + 64.
    path = WriteFile("survey.svx", ThreeHeadRecords(60));
    const std::vector<std::uint8_t> before = FileBytes();
    ASSERT_EQ(before.size(), 60u * 8432u);
    StartPlayback(path);
    DocumentBuilder(doc).PendingEventMark(57, 7);
    doc.StampEventMark(true);
    std::vector<std::uint8_t> after = FileBytes();
    EXPECT_EQ(after[472256], 7);
    EXPECT_EQ(after[472257], 0x80);
    after[472256] = before[472256];
    after[472257] = before[472257];
    EXPECT_TRUE(after == before) << "bytes besides the mark changed";
}

TEST_F(EventsTest, MarkFindsItsRecordWhateverTheLengthsBeforeIt) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int ping;
    };
    std::vector<Case> cases;
    cases.push_back({"changing lengths", VaryingRecords(30), 17});
    cases.push_back({"first ping 500", ThreeHeadRecords(30, 500), 517});
    auto gap = ThreeHeadRecords(10);
    const auto later = ThreeHeadRecords(10, 20);  // pings 11..19 never written
    gap.insert(gap.end(), later.begin(), later.end());
    cases.push_back({"pings missing", gap, 24});
    for (const Case& c : cases) {
        path = WriteFile("survey.svx", c.bytes);
        StartPlayback(path);
        DocumentBuilder(doc).PendingEventMark(c.ping, 3);
        doc.StampEventMark(true);
        const std::vector<std::uint8_t> after = FileBytes();
        EXPECT_EQ(MarkOf(after, c.ping), 0x8003) << c.name;
        EXPECT_EQ(MarkOf(after, c.ping - 1), 0) << c.name;
        EXPECT_EQ(MarkOf(after, c.ping + 1), 0) << c.name;
        EXPECT_EQ(after.size(), c.bytes.size()) << c.name;
        doc.CloseAllFiles();
    }
}

TEST_F(EventsTest, PingWithoutARecordWritesNothingAndTellsTheOperator) {
    path = WriteFile("survey.svx", ThreeHeadRecords(10));
    const std::vector<std::uint8_t> before = FileBytes();
    StartPlayback(path);
    DocumentBuilder(doc).PendingEventMark(11, 1);
    platform.expectedMessages = {
        "No record of ping 11 was found in the data file: its event mark was not written."};
    doc.StampEventMark(true);
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_TRUE(FileBytes() == before);
}

TEST_F(EventsTest, EventFileIsWrittenAfterEveryChange) {
    PlayEventFile();
    AddEventAt(10, 250, "wreck");
    EXPECT_EQ(EventText(), "0\n10\n0.250000\n" + doc.events.eventList.entries[0].date +
                               "14:05:09\n" + doc.events.eventList.entries[0].latitude +
                               doc.events.eventList.entries[0].longitude + "wreck\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("survey.an.tmp")));

    // Edit in review: the new annotation is in the file at once.
    DocumentBuilder(doc).AutoEventPopup(true);
    doc.ReviewEvents();
    doc.EditEvent();
    EXPECT_TRUE(doc.events.dialog.annotationEditable);
    doc.AcceptEvent("wreck, upright");
    EXPECT_NE(EventText().find("wreck, upright\n"), std::string::npos);

    // Delete: the file is empty again.
    doc.ReviewEvents();
    platform.yesNoAnswers = {true};
    platform.expectedMessages = {"No more events in this file!"};
    doc.DeleteEvent();
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(EventText(), "");
    EXPECT_FALSE(doc.events.dialog.visible);
}

TEST_F(EventsTest, CancelTakesTheTemporaryMarkerAwayAndAddsNothing) {
    PlayEventFile();
    AddEventAt(10, 250, "kept");
    ASSERT_EQ(doc.events.eventMarkerPath.size(), 1u);
    ASSERT_TRUE(doc.BeginNewEvent(RowOf(12), 300));
    EXPECT_EQ(doc.events.eventMarkerPath.size(), 2u);
    doc.CancelEvent();
    EXPECT_EQ(doc.events.eventMarkerPath.size(), 1u);
    EXPECT_EQ(doc.events.eventList.count, 1);
    EXPECT_EQ(MarkOf(FileBytes(), 12), 0);
    EXPECT_EQ(doc.images.heldByEventDialog, 0);
}

TEST_F(EventsTest, DeletingInPlaybackClearsOrRenamesTheRecordsMark) {
    PlayEventFile();
    AddEventAt(10, 250, "a");  // 0
    AddEventAt(10, 260, "b");  // 1, after 0 at the same ping
    AddEventAt(15, 300, "c");  // 2
    EXPECT_EQ(MarkOf(FileBytes(), 10), 0x8001);
    EXPECT_EQ(MarkOf(FileBytes(), 15), 0x8002);
    struct Step {
        int number;
        int ping;
        int mark;  // of that ping's record afterwards
    };
    // Event 2 is the last entry of the list: nothing after it is read.
    const Step steps[] = {{2, 15, 0}, {1, 10, 0x8000}, {0, 10, 0}};
    for (const Step& step : steps) {
        DocumentBuilder(doc).PlayedEventNumber(step.number);
        platform.yesNoAnswers = {true};
        doc.DeleteEvent();
        EXPECT_EQ(MarkOf(FileBytes(), step.ping), step.mark) << step.number;
        EXPECT_EQ(doc.events.eventList.FindNumber(step.number), -1);
    }
    EXPECT_EQ(doc.events.eventList.count, 0);
    EXPECT_EQ(EventText(), "");
    EXPECT_TRUE(doc.events.eventMarkerPath.empty());
}

TEST_F(EventsTest, DeleteAskedNoOrOnAProtectedFileKeepsTheEvent) {
    PlayEventFile();
    AddEventAt(10, 250, "a");
    DocumentBuilder(doc).PlayedEventNumber(0);
    platform.yesNoAnswers = {false};
    doc.DeleteEvent();
    EXPECT_EQ(doc.events.eventList.count, 1);
    DocumentBuilder(doc).FileDenyWrite(true);
    platform.yesNoAnswers = {true};
    platform.expectedMessages = {"File Deny Write!", "File Deny write!"};
    doc.DeleteEvent();
    doc.EditEvent();
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.events.eventList.count, 1);
    EXPECT_EQ(MarkOf(FileBytes(), 10), 0x8000);
}

TEST_F(EventsTest, AddingToAProtectedFileIsRefused) {
    path = WriteFile("survey.svx", ThreeHeadRecords(40));
    TempDir::WriteText(dir.File("survey.an"), "");
    DocumentBuilder(doc).MakeWritable([](const std::string&) { return false; });
    PlayIntoComposite(path, 30);
    DocumentBuilder(doc).EventInput(true);
    ASSERT_EQ(doc.recording.fileDenyWrite, 1);
    platform.expectedMessages = {"File Deny Write!"};
    EXPECT_FALSE(doc.BeginNewEvent(RowOf(10), 250));
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_FALSE(doc.events.dialog.visible);
}

TEST_F(EventsTest, EditWithoutAShownEventAsksForOne) {
    PlayEventFile();
    DocumentBuilder(doc).PlayedEventFlag(false);
    platform.expectedMessages = {"Please use 'PREV' or 'NEXT' commands to select an event!"};
    doc.EditEvent();
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_FALSE(doc.events.dialog.editing);
}

TEST_F(EventsTest, TheEventListHoldsOneHundredEventsNumberedUpTo99) {
    PlayEventFile();
    struct Case {
        int count;
        int largest;
        bool accepted;
    };
    const Case cases[] = {{99, 98, true}, {100, 99, false}, {1, 99, false}, {5, 50, true}};
    for (const Case& c : cases) {
        doc.ResetEventSlots();
        for (int i = 0; i < c.count; ++i) {
            EventRecord event;
            event.number = i == c.count - 1 ? c.largest : i;
            event.pingNumber = 2;
            doc.events.eventList.Append(event);
        }
        if (!c.accepted) platform.expectedMessages = {"The event list is full (100 events)."};
        EXPECT_EQ(doc.BeginNewEvent(RowOf(10), 250), c.accepted) << c.count << " " << c.largest;
        EXPECT_TRUE(platform.expectedMessages.empty());
        doc.CancelEvent();
    }
}

TEST_F(EventsTest, ReviewPagesThroughTheEventsAndShowsEveryEventOfAPing) {
    PlayEventFile();
    AddEventAt(10, 250, "a");
    AddEventAt(10, 500, "b");
    AddEventAt(20, 750, "c");
    doc.events.eventMarkerPath.clear();
    // Shown by the playback: both events of ping 10 are drawn.
    DocumentBuilder(doc).PlayedEventNumber(1).PlayedEventFlag(true);
    doc.ShowEvent();
    EXPECT_EQ(doc.events.eventMarkerPath.size(), 2u);
    EXPECT_EQ(doc.events.dialog.annotation, "b");

    doc.ReviewEvents();
    EXPECT_TRUE(doc.events.dialog.visible);
    EXPECT_TRUE(doc.events.dialog.navigationShown);
    EXPECT_FALSE(doc.events.dialog.annotationEditable);
    EXPECT_EQ(doc.events.dialog.annotation, "a");
    const char* expected[] = {"b", "c", "c", "b", "a", "a"};
    for (int i = 0; i < 6; ++i) {
        if (i < 3) {
            doc.NextEvent();
        } else {
            doc.PreviousEvent();
        }
        EXPECT_EQ(doc.events.dialog.annotation, expected[i]) << i;
    }
    doc.ReviewEvents();  // toggles the review off
    EXPECT_FALSE(doc.events.dialog.visible);
    EXPECT_EQ(doc.images.heldByEventDialog, 0);
}

TEST_F(EventsTest, ReviewOfAFileWithoutEvents) {
    PlayEventFile();
    platform.expectedMessages = {"No events found in this file!"};
    doc.ReviewEvents();
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_FALSE(doc.events.dialog.visible);
}

TEST_F(EventsTest, MarkedRecordPopsItsEventUpWhilePlaying) {
    path = WriteFile("survey.svx", ThreeHeadRecords(40));
    TempDir::WriteText(dir.File("survey.an"), "4\n12\n0.500000\nd\nt\nla\nlo\nboulder\n");
    // Mark the record of ping 12 as event 4.
    std::vector<std::uint8_t> bytes = FileBytes();
    bytes[11 * 8432 + 64] = 4;
    bytes[11 * 8432 + 65] = 0x80;
    TempDir::WriteBytes(path, bytes);
    DocumentBuilder(doc).AutoEventPopup(true);
    PlayIntoComposite(path, 11);
    EXPECT_FALSE(doc.events.dialog.visible);
    platform.FireTimer(1030);
    EXPECT_TRUE(doc.events.dialog.visible);
    EXPECT_EQ(doc.events.dialog.annotation, "boulder");
    EXPECT_EQ(doc.events.dialog.mode, EventDialogState::Mode::Review);
    ASSERT_EQ(doc.events.eventMarkerPath.size(), 1u);
    EXPECT_EQ(doc.events.eventMarkerPath[0].x, 500);
    // Switching the pop-up off hides it.
    doc.ToggleAutoEventPopup();
    EXPECT_FALSE(doc.events.dialog.visible);
}

TEST_F(EventsTest, CopyTakesEveryEventOfAMarkedPingOnce) {
    path = WriteFile("survey.svx", ThreeHeadRecords(30));
    TempDir::WriteText(dir.File("survey.an"),
                       "0\n12\n0.500000\nd\nt\nla\nlo\none\n"
                       "1\n12\n0.600000\nd\nt\nla\nlo\ntwo\n"
                       "2\n20\n0.700000\nd\nt\nla\nlo\nthree\n");
    std::vector<std::uint8_t> bytes = FileBytes();
    bytes[11 * 8432 + 64] = 1;
    bytes[11 * 8432 + 65] = 0x80;
    TempDir::WriteBytes(path, bytes);
    PlayIntoComposite(path, 0);
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("copy.svx")));
    EXPECT_FALSE(EnableEventInputState(doc).enabled);
    for (int i = 0; i < 20; ++i) {
        platform.FireTimer(1030);
        // Paging does not add anything to the copy.
        doc.NextEvent();
        doc.PreviousEvent();
    }
    EXPECT_FALSE(doc.events.dialog.deleteEnabled);
    ASSERT_EQ(doc.events.copyEventList.count, 2);
    EXPECT_EQ(doc.events.copyEventList.entries[0].annotation, "one\n");
    EXPECT_EQ(doc.events.copyEventList.entries[1].annotation, "two\n");
    // The copy's event file has them already, before the copy ends.
    EXPECT_EQ(TempDir::ReadText(dir.File("copy.an")),
              "0\n12\n0.500000\nd\nt\nla\nlo\none\n1\n12\n0.600000\nd\nt\nla\nlo\ntwo\n");
}

TEST_F(EventsTest, OneMarkerPerEventAlsoForAPingMergedIntoTheRowAbove) {
    PlayEventFile();
    AddEventAt(10, 250, "a");
    const int row = RowOf(10);
    EventRecord merged;
    merged.number = 5;
    merged.pingNumber = 11;
    merged.acrossFraction = 0.5;
    doc.events.eventList.InsertByPing(merged);
    // Ping 11 left no row of its own: its line went into the row of ping 12.
    for (int r = 0; r < doc.images.CompositeImage().Rows(); ++r) {
        RowInfo& stamp = doc.images.slotStates[kCompositeSlot].rowInfo.Row(r);
        if (stamp.pingNumber == 11) stamp.pingNumber = 12;
    }
    doc.RebuildEventMarkers();
    ASSERT_EQ(doc.events.eventMarkerPath.size(), 2u);
    const int counter = doc.images.compositeRowCounter;
    EXPECT_EQ(doc.events.eventMarkerPath[0].number, 0);
    EXPECT_EQ(doc.events.eventMarkerPath[0].row + counter, row);
    EXPECT_EQ(doc.events.eventMarkerPath[0].x, 250);
    EXPECT_EQ(doc.events.eventMarkerPath[1].number, 5);
    // The lowest row of ping 12, right above the rows of ping 10.
    EXPECT_EQ(doc.events.eventMarkerPath[1].row + counter, row - 1);
    EXPECT_EQ(doc.events.eventMarkerPath[1].x, 500);
}

// A double click while an event is being typed keeps that event, its ping and its text: with
// "Hold When Adding" giving up the first dialog would release the hold, redraw the rows and
// put another ping on the clicked row.
TEST_F(EventsTest, ASecondDoubleClickKeepsTheEventBeingTyped) {
    RecordLive(20);
    DocumentBuilder(doc).HoldWhenAdding(true);
    ASSERT_TRUE(doc.BeginNewEvent(RowOf(15), 100));
    ASSERT_EQ(doc.images.held, 1);
    for (int i = 0; i < 5; ++i) StoreLiveCycle();  // recorded while the display is held
    const int rowOf12 = RowOf(12);
    EXPECT_FALSE(doc.BeginNewEvent(rowOf12, 300));
    EXPECT_TRUE(doc.events.dialog.visible);
    EXPECT_EQ(doc.events.dialog.ping, "15");
    EXPECT_EQ(doc.events.dialog.mode, EventDialogState::Mode::NewEvent);
    EXPECT_EQ(doc.images.held, 1);
    EXPECT_EQ(RowOf(12), rowOf12) << "the rows moved";
    doc.AcceptEvent("first");
    ASSERT_EQ(doc.events.eventList.count, 1);
    EXPECT_EQ(doc.events.eventList.entries[0].pingNumber, 15);
    EXPECT_EQ(doc.events.eventList.entries[0].annotation, "first\n");
    ASSERT_EQ(doc.events.eventMarkerPath.size(), 1u);
    EXPECT_EQ(doc.events.eventMarkerPath[0].x, 100);
    doc.StopRecording();
    const std::vector<std::uint8_t> bytes = FileBytes();
    EXPECT_EQ(MarkOf(bytes, 15), 0x8000);
    for (int ping : {12, 17, 20}) EXPECT_EQ(MarkOf(bytes, ping), 0) << ping;
}

// In playback the same holds for an annotation being edited; a review only shown (nothing
// typed) gives way to the new event, keeping its hold so that the clicked row stays the same.
TEST_F(EventsTest, ADoubleClickOverAReviewTakesThePingOfTheClickedRow) {
    PlayEventFile();
    AddEventAt(10, 250, "a");
    doc.ReviewEvents();
    doc.EditEvent();
    ASSERT_TRUE(doc.events.dialog.editing);
    EXPECT_FALSE(doc.BeginNewEvent(RowOf(20), 500));
    EXPECT_TRUE(doc.events.dialog.editing);
    doc.CancelEvent();
    doc.ReviewEvents();
    ASSERT_EQ(doc.images.heldByEventDialog, 1);
    const int row = RowOf(20);
    ASSERT_TRUE(doc.BeginNewEvent(row, 500));
    EXPECT_EQ(doc.events.dialog.ping, "20");
    EXPECT_EQ(doc.events.eventReviewShown, 0);
    EXPECT_EQ(doc.images.heldByEventDialog, 1);
    EXPECT_EQ(RowOf(20), row);
    doc.AcceptEvent("b");
    ASSERT_EQ(doc.events.eventList.count, 2);
    EXPECT_EQ(doc.events.eventList.entries[1].pingNumber, 20);
    EXPECT_EQ(MarkOf(FileBytes(), 20), 0x8001);
    EXPECT_EQ(doc.images.held, 0);
}

// An event is kept only with the mark in its record: a row whose ping the data file does not
// have (left on screen from another recording) adds nothing, in playback and live.
TEST_F(EventsTest, APingWithoutARecordKeepsNothing) {
    for (const bool live : {false, true}) {
        SCOPED_TRACE(live ? "recording" : "playback");
        if (live) {
            RecordLive(20);
        } else {
            PlayEventFile();
        }
        const std::vector<std::uint8_t> before = FileBytes();
        const int row = live ? RowOf(3) : RowOf(10);
        StampRowPing(row, 500);
        platform.expectedMessages = {eventtext::NoRecordForEvent(500)};
        EXPECT_FALSE(doc.BeginNewEvent(row, 300));
        EXPECT_TRUE(platform.expectedMessages.empty());
        EXPECT_FALSE(doc.events.dialog.visible);
        EXPECT_EQ(doc.images.heldByEventDialog, 0);
        EXPECT_EQ(doc.events.eventList.count, 0);
        EXPECT_TRUE(doc.events.eventMarkerPath.empty());
        EXPECT_EQ(EventText(), "");
        EXPECT_TRUE(FileBytes() == before);
        doc.CloseAllFiles();
        DocumentBuilder(doc).PlaybackFlag(false);
    }
}

// The record gone while the event was typed (the file cut short by another program): OK
// keeps nothing either.
TEST_F(EventsTest, ARecordLostWhileTypingKeepsNothing) {
    PlayEventFile(40, 38);
    ASSERT_TRUE(doc.BeginNewEvent(RowOf(35), 300));
    std::filesystem::resize_file(path, 30u * 8432u);
    platform.expectedMessages = {eventtext::NoRecordForMark(35)};
    doc.AcceptEvent("gone");
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.events.eventList.count, 0);
    EXPECT_TRUE(doc.events.eventMarkerPath.empty());
    EXPECT_FALSE(doc.events.dialog.visible);
    EXPECT_EQ(EventText(), "");
}

// An event file that could not be read to its end is never rewritten: adding, editing and
// deleting are refused with the file and the line named, and closing leaves it as it was.
TEST_F(EventsTest, ADamagedEventFileIsNotShortenedByAChange) {
    const std::string good = "0\n10\n0.250000\nd\nt\nla\nlo\nkept\n";
    std::string full;
    for (int i = 0; i < 101; ++i) full += std::to_string(i % 100) + "\n10\n0.5\nd\nt\nla\nlo\nn\n";
    struct Case {
        const char* name;
        std::string text;
        std::string where;
        int read;
    };
    const Case cases[] = {
        {"event number 100", good + "100\n12\n0.5\nd\nt\nla\nlo\nlost\n" + good,
         "line 9: event number \"100\" is not a whole number from 0 to 99", 1},
        {"negative ping", good + "1\n-5\n0.5\nd\nt\nla\nlo\nlost\n" + good,
         "line 10: ping number \"-5\" is not a whole number from 0 to 2147483647", 1},
        {"fraction 1e308", good + "1\n12\n1e308\nd\nt\nla\nlo\nlost\n",
         "line 11: across-track fraction \"1e308\" is not a number from 0 to 1", 1},
        {"cut off", good + "1\n12\n0.5\n",
         "line 9: the event that starts here ends before its eighth line", 1},
        {"101 events", full, "line 801: more than 100 events: the 101st starts here", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string eventFile = dir.File("survey.an");
        TempDir::WriteText(eventFile, c.text);
        platform.expectedMessages = {datafiletext::EventFileDamaged(eventFile, c.where, c.read)};
        PlayEventFile();
        ASSERT_TRUE(platform.expectedMessages.empty());
        ASSERT_EQ(doc.events.eventList.count, c.read);
        const std::string refusal = datafiletext::DamagedEventFileKept(eventFile, c.where);
        EXPECT_NE(refusal.find(eventFile), std::string::npos);
        EXPECT_NE(refusal.find(c.where.substr(0, c.where.find(':'))), std::string::npos);

        platform.expectedMessages = {refusal, refusal, refusal};
        EXPECT_FALSE(doc.BeginNewEvent(RowOf(12), 300));  // add
        DocumentBuilder(doc).PlayedEventNumber(0).PlayedEventFlag(true);
        doc.DeleteEvent();  // refused before the question
        doc.EditEvent();
        EXPECT_FALSE(doc.events.dialog.editing);
        EXPECT_TRUE(platform.expectedMessages.empty());
        EXPECT_FALSE(doc.events.dialog.visible);
        EXPECT_EQ(MarkOf(FileBytes(), 12), 0);
        doc.CloseAllFiles();
        EXPECT_EQ(TempDir::ReadText(eventFile), c.text);
    }
}

// A copy must not empty the event file of the file it copies: x.SVX and x.dat have the event
// file of x.svx, and x.svx under another name is the played file itself.
TEST_F(EventsTest, CopyModeRefusesANameWhoseEventFileIsThePlayedOne) {
    path = WriteFile("survey.svx", ThreeHeadRecords(30));
    TempDir::WriteText(dir.File("survey.an"), kOneEvent);
    std::filesystem::create_hard_link(path, dir.File("linked.svx"));
    std::filesystem::create_directory(dir.File("sub"));
    PlayIntoComposite(path, 5);
    const std::vector<std::uint8_t> data = FileBytes();
    const std::string ofPlayback =
        "its event file " + dir.File("survey.an") + " is the event file of the file being played";
    const std::pair<std::string, std::string> refused[] = {
        {dir.File("survey.SVX"), ofPlayback},
        {dir.File("survey.dat"), ofPlayback},
        {dir.File("sub/../survey.xyz"), "its event file " + dir.File("sub/../survey.an") +
                                            " is the event file of the file being played"},
        {dir.File("survey.an"), "it is the event file of the file being played"},
        {dir.File("./survey.svx"), ""},
        {dir.File("linked.svx"), ""},
    };
    for (const auto& [target, clash] : refused) {
        SCOPED_TRACE(target);
        platform.expectedMessages = {clash.empty()
                                         ? std::string(datafiletext::kUsedAsPlayback)
                                         : datafiletext::RecordingOverPlayback(target, clash)};
        EXPECT_FALSE(doc.StartRecordingTo(target));
        EXPECT_TRUE(platform.expectedMessages.empty());
        EXPECT_EQ(doc.recording.recordingOn, 0);
        EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), kOneEvent);
        EXPECT_TRUE(FileBytes() == data);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("survey.SVX")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("survey.dat")));
    // Another name is copied to.
    EXPECT_TRUE(doc.StartRecordingTo(dir.File("copy.svx")));
    doc.StopRecording();
    EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), kOneEvent);
}

// Every pass of the looping playback shows the marked records again: each event keeps one
// marker, at the newest place of its ping.
TEST_F(EventsTest, LoopingPlaybackKeepsOneMarkerPerEvent) {
    path = WriteFile("survey.svx", ThreeHeadRecords(30));
    TempDir::WriteText(dir.File("survey.an"),
                       "0\n12\n0.500000\nd\nt\nla\nlo\none\n"
                       "1\n20\n0.250000\nd\nt\nla\nlo\ntwo\n");
    std::vector<std::uint8_t> bytes = FileBytes();
    bytes[11 * 8432 + 64] = 0;
    bytes[11 * 8432 + 65] = 0x80;
    bytes[19 * 8432 + 64] = 1;
    bytes[19 * 8432 + 65] = 0x80;
    TempDir::WriteBytes(path, bytes);
    PlayIntoComposite(path, 30);
    ASSERT_EQ(doc.events.eventMarkerPath.size(), 2u);
    for (int pass = 2; pass <= 6; ++pass) {
        for (int i = 0; i < 30; ++i) platform.FireTimer(1030);
        SCOPED_TRACE(pass);
        ASSERT_EQ(doc.events.eventMarkerPath.size(), 2u);
        const int counter = doc.images.compositeRowCounter;
        for (const EventMarker& marker : doc.events.eventMarkerPath) {
            const int ping = marker.number == 0 ? 12 : 20;
            EXPECT_EQ(marker.ping, ping);
            EXPECT_EQ(marker.row + counter, doc.images.CompositeRowOfPing(ping));
        }
    }
}

// Each change is saved at once through a temporary file. When that fails the operator is
// told and the old file stays whole; closing tries again the same way, and only then.
TEST_F(EventsTest, CloseSavesOnlyAChangeNotYetSavedAndNeverTruncates) {
    const std::string eventFile = dir.File("survey.an");
    const std::string obstacle = eventFile + ".tmp";
    for (const bool freedBeforeClose : {false, true}) {
        SCOPED_TRACE(freedBeforeClose ? "freed" : "still blocked");
        TempDir::WriteText(eventFile, kOneEvent);
        std::filesystem::create_directory(obstacle);  // the temporary file cannot be made
        PlayEventFile();
        platform.expectedMessages = {eventtext::EventFileNotSaved(eventFile)};
        AddEventAt(10, 250, "new");
        EXPECT_TRUE(platform.expectedMessages.empty());
        EXPECT_EQ(TempDir::ReadText(eventFile), kOneEvent);
        EXPECT_EQ(MarkOf(FileBytes(), 10), 0x8001);
        if (freedBeforeClose) {
            std::filesystem::remove(obstacle);
        } else {
            platform.expectedMessages = {eventtext::EventFileNotSaved(eventFile)};
        }
        doc.CloseAllFiles();
        EXPECT_TRUE(platform.expectedMessages.empty());
        const std::string saved = freedBeforeClose
                                      ? kOneEvent + "1\n10\n0.250000\n" +
                                            doc.events.eventList.entries[1].date + "14:05:09\n" +
                                            doc.events.eventList.entries[1].latitude +
                                            doc.events.eventList.entries[1].longitude + "new\n"
                                      : kOneEvent;
        EXPECT_EQ(TempDir::ReadText(eventFile), saved);
        std::filesystem::remove_all(obstacle);
        DocumentBuilder(doc).PlaybackFlag(false);
    }
}

TEST(EventAcross, ClickAndRedrawInTheThreeSideModes) {
    struct Case {
        int mode, click;
        double fraction;
        int redrawn;
    };
    const Case cases[] = {
        {3, 750, 0.75, 750}, {1, 500, 0.25, 500},  {2, 500, 0.75, 500},
        {3, 0, 0.0, 0},      {1, 999, 0.499, 998}, {2, 0, 0.5, 0},
    };
    for (const Case& c : cases) {
        const double fraction = AcrossFraction(c.click, 1000, c.mode);
        EXPECT_DOUBLE_EQ(fraction, c.fraction) << c.mode << " " << c.click;
        EXPECT_EQ(AcrossColumn(fraction, 1000, c.mode), c.redrawn) << c.mode;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%f", AcrossFraction(750, 1000, 3));
    EXPECT_STREQ(text, "0.750000");
}

TEST_F(EventsTest, LiveRowsCarryThePingOfTheRecordStoredForThem) {
    RecordLive(0);
    for (int i = 0; i < 20; ++i) {
        StoreLiveCycle();
        ASSERT_EQ(static_cast<std::uint32_t>(doc.images.RowStamp(kCompositeSlot, 0).pingNumber),
                  doc.recording.index.Records().back().ping);
    }
    // An event added live marks the record of the clicked row, in the file being written.
    AddEventAt(15, 100, "live");
    DocumentBuilder(doc).NoData(false);
    doc.StoreCycle();  // recording goes on at the end of the file
    doc.StopRecording();
    const std::vector<std::uint8_t> bytes = TempDir::ReadBytes(dir.File("survey.svx"));
    EXPECT_EQ(bytes.size(), 21u * 8432u);
    EXPECT_EQ(MarkOf(bytes, 15), 0x8000);
    EXPECT_EQ(MarkOf(bytes, 16), 0);
    EXPECT_EQ(MarkOf(bytes, 21), 0);
    EXPECT_NE(EventText().find("live\n"), std::string::npos);
}

TEST_F(EventsTest, HoldWhenAddingHoldsTheLiveDisplayAndIsKeptInTheSettings) {
    DocumentBuilder(doc).SettingsFile(dir.File("Sonvara_RGB.ini"));
    doc.ToggleHoldWhenAdding();
    doc.SaveSettings();
    FakePlatform otherPlatform;
    CVantrelDoc other(otherPlatform);
    DocumentBuilder(other).SettingsFile(doc.iniPath);
    other.LoadSettings();
    EXPECT_EQ(other.events.holdWhenAdding, 1);
    // A new recording keeps the choice.
    MakeFourHeadState(false);
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("survey.svx")));
    EXPECT_EQ(doc.events.holdWhenAdding, 1);
}

TEST_F(EventsTest, EventsMenuStatesInEachMode) {
    struct Mode {
        const char* name;
        int playback, recording, copy;
        bool input, hold, marker, popup, review;
    };
    const Mode modes[] = {
        {"idle", 0, 0, 0, false, false, false, false, false},
        {"recording", 0, 1, 0, true, true, true, false, false},
        {"playback", 1, 0, 0, true, true, true, true, true},
        {"copying", 1, 1, 1, false, true, true, true, false},
    };
    for (const Mode& m : modes) {
        DocumentBuilder(doc).PlaybackFlag(m.playback).Recording(m.recording, m.copy);
        EXPECT_EQ(EnableEventInputState(doc).enabled, m.input) << m.name;
        EXPECT_EQ(HoldWhenAddingState(doc).enabled, m.hold) << m.name;
        EXPECT_EQ(HideEventMarkerState(doc).enabled, m.marker) << m.name;
        EXPECT_EQ(AutoEventPopupState(doc).enabled, m.popup) << m.name;
        EXPECT_EQ(EventReviewState(doc).enabled, m.review) << m.name;
    }
    DocumentBuilder(doc).PlaybackFlag(false).Recording(false, false);
    EXPECT_TRUE(HideEventMarkerState(doc).checked == false);
    doc.ToggleEventMarkers();
    EXPECT_TRUE(HideEventMarkerState(doc).checked);
    doc.ToggleEventInput();
    EXPECT_TRUE(EnableEventInputState(doc).checked);
    doc.ToggleAutoEventPopup();
    EXPECT_TRUE(AutoEventPopupState(doc).checked);
    EXPECT_FALSE(HoldWhenAddingState(doc).checked);
}

TEST_F(EventsTest, ClosingTheFilesClosesAnOpenDialog) {
    PlayEventFile();
    ASSERT_TRUE(doc.BeginNewEvent(RowOf(10), 250));
    ASSERT_EQ(doc.images.held, 1);
    const std::string other = WriteFile("other.svx", ThreeHeadRecords(5));
    StartPlayback(other);
    EXPECT_FALSE(doc.events.dialog.visible);
    EXPECT_EQ(doc.images.held, 0);
    EXPECT_EQ(doc.images.heldByEventDialog, 0);
    EXPECT_TRUE(doc.events.eventMarkerPath.empty());
    // OK of a dialog that is gone adds nothing.
    doc.AcceptEvent("late");
    EXPECT_EQ(doc.events.eventList.count, 0);
    EXPECT_EQ(MarkOf(TempDir::ReadBytes(path), 10), 0);
}

}  // namespace
