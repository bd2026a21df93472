// Recording: the save dialog and its name, the titles, the event file, one record per stored
// cycle, the checks that keep a file whole, and copying during playback.

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "DataFilesFixture.h"
#include "datafiles/DataFileTexts.h"

namespace {

class RecordingTest : public DataFilesFixture {
protected:
    RecordingTest() {
        MakeFourHeadState(false);
        platform.now.year = 2025, platform.now.month = 7, platform.now.day = 3;
        platform.now.hour = 14, platform.now.minute = 5, platform.now.second = 9;
    }
    // One accepted real-time cycle.
    void Cycle() {
        DocumentBuilder(doc).NoData(false);
        doc.StoreCycle();
    }
    std::vector<std::uint32_t> PingNumbersIn(const std::string& path, std::size_t length) {
        const auto bytes = TempDir::ReadBytes(path);
        std::vector<std::uint32_t> pings;
        for (std::size_t at = 0; at + length <= bytes.size(); at += length) {
            pings.push_back(GetLe32(bytes.data() + at + 4));
        }
        return pings;
    }
    static std::optional<std::uint64_t> freeBytes;
};

std::optional<std::uint64_t> RecordingTest::freeBytes;

TEST_F(RecordingTest, SaveDialogProposesTheLocalTimeInTheWriteDirectory) {
    DocumentBuilder(doc).WriteDirectory(dir.path + "/");
    platform.TakeCalls();
    doc.StartRecording();  // cancelled
    const auto calls = platform.TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "save dialog 'Save data File:' '250703 14-05-09.svx'");
    EXPECT_EQ(doc.recording.recordingOn, 0);

    platform.fileDialogAnswers.push_back(dir.File("run2"));  // typed without an extension
    doc.StartRecording();
    EXPECT_EQ(doc.recording.recordingOn, 1);
    EXPECT_TRUE(FileExists(dir.File("run2.svx")));
    EXPECT_TRUE(FileExists(dir.File("run2.an")));
}

TEST_F(RecordingTest, RealTimeRecordingNumbersItsRecordsAndTitlesTheWindow) {
    DocumentBuilder(doc).PingNumber(77);
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("run.svx")));
    EXPECT_EQ(doc.recording.windowTitle,
              "Halvex Sonvara_RGB -- Real Time - Data Recording to (run.svx)");
    EXPECT_EQ(doc.recording.writeFileDir, dir.path + "/");
    EXPECT_EQ(doc.recording.copyMode, 0);
    EXPECT_EQ(doc.events.eventFileName, dir.File("run.an"));
    EXPECT_EQ(observer.recentFiles, std::vector<std::string>{dir.File("run.svx")});
    for (int i = 0; i < 3; ++i) Cycle();
    EXPECT_EQ(PingNumbersIn(dir.File("run.svx"), 10816), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(doc.recording.pingNumber, 4);
    EXPECT_EQ(observer.windowTexts.back(),
              "Halvex Sonvara_RGB -- Real Time - Data Recording to (run.svx)  Saved: 31 kBytes");

    doc.StopRecording();
    EXPECT_EQ(doc.recording.recordingOn, 0);
    EXPECT_FALSE(doc.recording.dataFile.IsOpen());
    EXPECT_EQ(doc.recording.windowTitle, "Halvex Sonvara_RGB -- Real Time ");
    Cycle();
    EXPECT_EQ(TempDir::ReadBytes(dir.File("run.svx")).size(), 3u * 10816);
}

TEST_F(RecordingTest, NameWithoutSvxIsShownWithItButCreatedAsTyped) {
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("run1.dat")));
    EXPECT_TRUE(FileExists(dir.File("run1.dat")));
    EXPECT_TRUE(FileExists(dir.File("run1.an")));
    EXPECT_EQ(doc.recording.recordFileTitle, "run1.dat.svx");
    EXPECT_EQ(doc.recording.windowTitle,
              "Halvex Sonvara_RGB -- Real Time - Data Recording to (run1.dat.svx)");
}

TEST_F(RecordingTest, SecondStartIsRefusedWhileRecording) {
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("a.svx")));
    platform.expectedMessages = {"Data is already being saved to file."};
    EXPECT_FALSE(doc.StartRecordingTo(dir.File("b.svx")));
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_FALSE(FileExists(dir.File("b.svx")));
    EXPECT_EQ(doc.recording.dataFile.Path(), dir.File("a.svx"));
}

TEST_F(RecordingTest, FileThatCannotBeCreatedDoesNotStartARecording) {
    const std::string path = dir.File("missing/run.svx");
    platform.expectedMessages = {"Failed to open document:\n" + path, "Error Opening File!"};
    EXPECT_FALSE(doc.StartRecordingTo(path));
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.recording.recordingOn, 0);
    EXPECT_EQ(doc.recording.fileDenyWrite, 1);
    EXPECT_TRUE(doc.recording.recordFileTitle.empty());
    EXPECT_TRUE(observer.windowTexts.empty());
}

TEST_F(RecordingTest, EventFileThatCannotBeCreatedLeavesTheRecordingGoing) {
    std::filesystem::create_directory(dir.File("run.an"));
    platform.expectedMessages = {"Failed to open document:\n" + dir.File("run.an"),
                                 "Error Creating Annotation File!"};
    EXPECT_TRUE(doc.StartRecordingTo(dir.File("run.svx")));
    EXPECT_TRUE(platform.expectedMessages.empty());
    Cycle();
    EXPECT_EQ(TempDir::ReadBytes(dir.File("run.svx")).size(), 10816u);
}

TEST_F(RecordingTest, RecordIsWrittenOnlyWhenItFitsWhole) {
    struct Case {
        std::uint64_t available;
        bool recorded;
    };
    const Case cases[] = {{10815, false}, {10816, true}, {999, false}};
    for (const Case& c : cases) {
        freeBytes = c.available;
        DocumentBuilder(doc).FreeSpace([](const std::string&) { return freeBytes; });
        ASSERT_TRUE(doc.StartRecordingTo(dir.File("space.svx")));
        if (!c.recorded) {
            platform.expectedMessages = {"WARNING! The disk is full!!\nSaving process will stop!"};
        }
        Cycle();
        EXPECT_TRUE(platform.expectedMessages.empty());
        EXPECT_EQ(doc.recording.recordingOn, c.recorded ? 1 : 0) << c.available;
        EXPECT_EQ(TempDir::ReadBytes(dir.File("space.svx")).size(), c.recorded ? 10816u : 0u);
        doc.StopRecording();
    }
    // A failed query does not stop the recording.
    DocumentBuilder(doc).FreeSpace([](const std::string&) -> std::optional<std::uint64_t> {
        return std::nullopt;
    });
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("space.svx")));
    Cycle();
    EXPECT_EQ(doc.recording.recordingOn, 1);
}

// Runs the body with a limit on the size of files this process writes; writes past it fail.
template <typename Body>
void WithFileSizeLimit(rlim_t limit, Body body) {
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit next = old;
    next.rlim_cur = limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &next), 0);
    body();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

TEST_F(RecordingTest, FailedWriteStopsTheRecordingOnAWholeRecord) {
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("limit.svx")));
    WithFileSizeLimit(2 * 10816 + 5000, [&] {
        Cycle();
        Cycle();
        platform.expectedMessages = {
            "WARNING! The data file could not be written!\nSaving process will stop!"};
        Cycle();  // only part of this record would fit
    });
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.recording.recordingOn, 0);
    EXPECT_EQ(TempDir::ReadBytes(dir.File("limit.svx")).size(), 2u * 10816);
    EXPECT_EQ(PingNumbersIn(dir.File("limit.svx"), 10816), (std::vector<std::uint32_t>{1, 2}));
}

TEST_F(RecordingTest, CycleWithoutDataIsCountedButNotWritten) {
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("run.svx")));
    Cycle();
    DocumentBuilder(doc).NoData(true);
    doc.StoreCycle();
    EXPECT_EQ(TempDir::ReadBytes(dir.File("run.svx")).size(), 10816u);
    EXPECT_EQ(doc.recording.pingNumber, 3);
    EXPECT_EQ(observer.windowTexts.size(), 3u);  // title, then "Saved" after each cycle
}

TEST_F(RecordingTest, RecordCarriesTheMeasuredIntervalInRealTime) {
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("run.svx")));
    DocumentBuilder(doc).PingInterval(280);
    Cycle();
    const auto bytes = TempDir::ReadBytes(dir.File("run.svx"));
    EXPECT_EQ(GetLe16(bytes.data() + 70), 280);
}

TEST_F(RecordingTest, StopWritesTheEventListIntoTheEventFile) {
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("run.svx")));
    EventList list = doc.events.eventList;
    EventRecord& event = list.entries[0];
    event.number = 0;
    event.pingNumber = 57;
    event.acrossFraction = 0.5;
    event.date = "03-JUL-2025\n";
    event.time = "14:05:09\n";
    event.latitude = "n/a\n";
    event.longitude = "n/a\n";
    event.annotation = "wreck\n";
    list.count = 1;
    // A change whose saving failed: the stop saves it.
    DocumentBuilder(doc).UnsavedEvents(list, false);
    doc.StopRecording();
    EXPECT_EQ(TempDir::ReadText(dir.File("run.an")),
              "0\n57\n0.500000\n03-JUL-2025\n14:05:09\nn/a\nn/a\nwreck\n");
}

TEST_F(RecordingTest, CopyDuringPlaybackKeepsTheSourceAndEndsAtItsEnd) {
    const std::string source = WriteFile("source.svx", MakeFile(4, 500));
    StartPlayback(source);
    platform.TakeCalls();
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("copy.svx")));
    EXPECT_EQ(doc.recording.copyMode, 1);
    EXPECT_EQ(doc.recording.windowTitle,
              "Halvex Sonvara_RGB -- Playback (" + source + ") - Copy Data to (copy.svx)");
    EXPECT_TRUE(platform.TimerRunning(1030));
    for (int i = 0; i < 4; ++i) platform.FireTimer(1030);
    EXPECT_EQ(doc.recording.recordingOn, 1);
    platform.FireTimer(1030);  // wraps: the copy ends
    EXPECT_EQ(doc.recording.recordingOn, 0);
    EXPECT_EQ(doc.playbackMode, 1);
    EXPECT_EQ(doc.recording.windowTitle, "Halvex Sonvara_RGB -- Playback (" + source + ") ");
    EXPECT_EQ(TempDir::ReadBytes(dir.File("copy.svx")), TempDir::ReadBytes(source));
}

TEST_F(RecordingTest, TheFileBeingPlayedCannotBeTheCopy) {
    const std::string source = WriteFile("source.svx", MakeFile(2));
    StartPlayback(source);
    const auto before = TempDir::ReadBytes(source);
    platform.expectedMessages = {"Can't write in this file ...\nThis file is used as playback."};
    platform.fileDialogAnswers.push_back(source);
    doc.StartRecording();
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.recording.recordingOn, 0);
    EXPECT_TRUE(doc.recording.recordFileTitle.empty());
    EXPECT_EQ(TempDir::ReadBytes(source), before);
    EXPECT_FALSE(platform.TimerRunning(1030));
}

TEST_F(RecordingTest, CancelledSaveDialogLetsPlaybackContinue) {
    StartPlayback(WriteFile("source.svx", MakeFile(2)));
    doc.StartRecording();
    EXPECT_TRUE(platform.TimerRunning(1030));
    EXPECT_EQ(doc.recording.recordingOn, 0);
}

}  // namespace

// A live recording to x.dat or x.SVX would create the event file of x.svx afresh and empty the
// events of a recording that is not being replaced; the same name ending in svx, or any name
// while no other recording has that event file, records as before.
TEST_F(RecordingTest, ARecordingThatWouldEmptyTheEventsOfAnotherIsRefused) {
    const std::string events = "0\n12\n0.500000\nd\nt\nla\nlo\none\n";
    TempDir::WriteText(dir.File("survey.svx"), "recorded before");
    TempDir::WriteText(dir.File("survey.an"), events);
    const std::string owner = dir.File("survey.svx");
    for (const char* name : {"survey.dat", "survey.SVX", "survey.abc"}) {
        SCOPED_TRACE(name);
        const std::string target = dir.File(name);
        platform.expectedMessages = {datafiletext::RecordingOverPlayback(
            target, "its event file " + dir.File("survey.an") + " holds the events of " + owner)};
        EXPECT_FALSE(doc.StartRecordingTo(target));
        EXPECT_TRUE(platform.expectedMessages.empty());
        EXPECT_EQ(doc.recording.recordingOn, 0);
        EXPECT_FALSE(FileExists(target));
        EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), events);
    }
    const std::string accepted[] = {dir.File("survey.svx"), dir.File("other.dat")};
    for (const std::string& target : accepted) {
        SCOPED_TRACE(target);
        ASSERT_TRUE(doc.StartRecordingTo(target));
        doc.StopRecording();
    }
    // Without the event file nothing is lost, and x.dat records.
    std::filesystem::remove(dir.File("survey.an"));
    TempDir::WriteText(dir.File("survey.svx"), "recorded before");
    EXPECT_TRUE(doc.StartRecordingTo(dir.File("survey.dat")));
    doc.StopRecording();
}
