// Playback: opening a file, the timers, one record per tick, the endless loop with its
// separator, the end of playback at a damaged record and the settings-change alarm.

#include <sys/stat.h>

#include "DataFilesFixture.h"
#include "datafiles/DataFileTexts.h"
#include "models/DataFileCommands.h"

namespace {

class PlaybackTest : public DataFilesFixture {
protected:
    // A file of records with three heads and no system information: 8432 bytes each.
    std::string ThreeHeadFile(int records, int (*rangeOf)(int) = nullptr) {
        return WriteFile("survey.svx", ThreeHeadBytes(records, 1, rangeOf));
    }
    void Tick() { platform.FireTimer(1030); }
};

TEST_F(PlaybackTest, OnlySvxNamesAreOpenedWhateverTheirCase) {
    const std::string upper = ThreeHeadFile(2);
    const std::string renamed = dir.File("A.SVX");
    std::filesystem::rename(upper, renamed);
    EXPECT_TRUE(doc.OpenPlaybackFile(renamed));
    EXPECT_EQ(doc.playbackMode, 1);

    doc.CloseAllFiles();
    DocumentBuilder(doc).PlaybackFlag(false);
    platform.expectedMessages = {"ERROR: Application can not recognize this file type!"};
    TempDir::WriteBytes(dir.File("a.dat"), std::vector<std::uint8_t>(20000, 0));
    EXPECT_FALSE(doc.OpenPlaybackFile(dir.File("a.dat")));
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.playbackMode, 0);
    EXPECT_FALSE(doc.playback.playbackFile.IsOpen());
}

TEST_F(PlaybackTest, AFifoIsNeitherPlayedNorTakenAsTheEventFile) {
    // Read-only, the data file would be opened for reading alone: a FIFO without a writer
    // would hold the user-interface thread for ever.
    const std::string fifo = dir.File("pipe.svx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    DocumentBuilder(doc).MakeWritable([](const std::string&) { return false; });
    platform.expectedMessages = {datafiletext::OpenFailure(fifo)};
    EXPECT_FALSE(doc.OpenPlaybackFile(fifo));
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.playbackMode, 0);

    // A FIFO where the event file goes: the file plays without events, as when it cannot be
    // made, and the FIFO is left as it was.
    DocumentBuilder(doc).MakeWritable([](const std::string&) { return true; });
    const std::string path = ThreeHeadFile(2);
    ASSERT_EQ(::mkfifo(dir.File("survey.an").c_str(), 0600), 0);
    platform.expectedMessages = {datafiletext::OpenFailure(dir.File("survey.an"))};
    StartPlayback(path);
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_FALSE(doc.events.playbackEventFile.IsOpen());
    Tick();
    EXPECT_EQ(doc.files.playbackPosition, 8432u);
    doc.CloseAllFiles();
    struct stat info {};
    ASSERT_EQ(::stat(dir.File("survey.an").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(PlaybackTest, FileBelowOneThousandBytesHasNoData) {
    TempDir::WriteBytes(dir.File("short.svx"), std::vector<std::uint8_t>(999, 0));
    platform.expectedMessages = {"File has no data!"};
    platform.TakeCalls();
    EXPECT_FALSE(doc.OpenPlaybackFile(dir.File("short.svx")));
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(doc.playbackMode, 0);
    EXPECT_FALSE(doc.playback.playbackFile.IsOpen());
    EXPECT_FALSE(platform.TimerRunning(1010));

    // 1000 bytes are opened; without a record the first read ends playback, silently.
    TempDir::WriteBytes(dir.File("zeros.svx"), std::vector<std::uint8_t>(1000, 0));
    StartPlayback(dir.File("zeros.svx"));
    Tick();
    EXPECT_EQ(doc.playbackMode, 0);
    EXPECT_FALSE(doc.playback.playbackFile.IsOpen());
    EXPECT_FALSE(platform.TimerRunning(1030));
}

TEST_F(PlaybackTest, PlaybackCommandOpensTheChosenFileAndStartsAfterOneSecond) {
    const std::string path = ThreeHeadFile(3);
    DocumentBuilder(doc).ReadDirectory(dir.path + "/").PlaySpeed(7);
    doc.ApplyPlaySpeed();
    platform.fileDialogAnswers.push_back(path);
    platform.TakeCalls();
    doc.OpenPlayback();
    const auto calls = platform.TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "open dialog 'Open Data File:' 'Sonar Data File: (*.svx);;XTF Files (*.xtf)'");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "timer 1010 started at 1000 ms"), calls.end());
    EXPECT_EQ(doc.playbackMode, 1);
    EXPECT_EQ(doc.playback.playbackPath, path);
    EXPECT_EQ(doc.playback.readFileDir, dir.path + "/");
    EXPECT_EQ(doc.playback.sliderStep, 3u * 8432 / 100);
    EXPECT_EQ(doc.files.captureFirstPing, 1);
    EXPECT_EQ(doc.gps.trackRestart, 1);
    EXPECT_EQ(observer.barResets, std::vector<int>{7});
    EXPECT_EQ(observer.recentFiles, std::vector<std::string>{path});
    EXPECT_EQ(doc.recording.windowTitle, "Halvex Sonvara_RGB -- Playback (" + path + ")");
    EXPECT_TRUE(doc.events.playbackEventFile.IsOpen());
    EXPECT_EQ(doc.events.eventFileName, dir.File("survey.an"));

    platform.FireTimer(1010);
    EXPECT_FALSE(platform.TimerRunning(1010));
    EXPECT_EQ(platform.TimerPeriod(1030), 30);
    Tick();
    EXPECT_EQ(doc.recording.pingNumber, 1);
    EXPECT_EQ(doc.files.firstPingNumber, 1);
    EXPECT_EQ(doc.files.playbackPosition, 8432u);
    EXPECT_EQ(doc.history.writeIndex, 1);
    EXPECT_EQ(platform.TimerPeriod(1030), 30);
}

TEST_F(PlaybackTest, CancelledOpenDialogLetsPlaybackContinue) {
    StartPlayback(ThreeHeadFile(3));
    platform.TakeCalls();
    doc.OpenPlayback();
    const auto calls = platform.TakeCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "timer 1030 stopped");
    EXPECT_EQ(calls[1], "open dialog 'Open Data File:' 'Sonar Data File: (*.svx);;XTF Files (*.xtf)'");
    EXPECT_EQ(calls[2], "timer 1030 started at 50 ms");
    EXPECT_EQ(doc.playbackMode, 1);
}

TEST_F(PlaybackTest, PlaySpeedSetsTheTickPeriod) {
    const std::pair<int, int> cases[] = {{0, 100}, {5, 50}, {7, 30},   {9, 10},
                                         {10, 0},  {20, 0}, {-3, 100}, {25, 0}};
    for (const auto& [speed, period] : cases) {
        EXPECT_EQ(PlaybackPeriodForSpeed(speed), period) << speed;
    }
    StartPlayback(ThreeHeadFile(2));
    DocumentBuilder(doc).PlaySpeed(19);
    doc.StepPlaySpeed(+3);
    EXPECT_EQ(doc.playback.playSpeed, 20);
    EXPECT_EQ(platform.TimerPeriod(1030), 0);
    doc.StepPlaySpeed(-12);
    EXPECT_EQ(doc.playback.playSpeed, 8);
    EXPECT_EQ(platform.TimerPeriod(1030), 20);
    EXPECT_EQ(observer.playSpeeds, (std::vector<int>{20, 8}));
}

TEST_F(PlaybackTest, EndOfFileWrapsToTheStartWithASeparator) {
    StartPlayback(ThreeHeadFile(3));
    std::int32_t sizeChanged = 1;
    doc.SizeChannelImage(kHeadL, kZoomFillScreen, 400, sizeChanged);
    DocumentBuilder(doc).DisplayChannels(kHeadL, kHeadL);
    for (int i = 0; i < 3; ++i) Tick();
    EXPECT_EQ(doc.files.playbackPosition, 3u * 8432);
    DocumentBuilder(doc).GpsTrackRestart(false);
    Tick();
    EXPECT_EQ(doc.recording.pingNumber, 1);
    EXPECT_EQ(doc.files.playbackPosition, 8432u);
    EXPECT_EQ(doc.gps.trackRestart, 1);
    EXPECT_EQ(doc.history.Record(3).wrapSeparator, 1);
    EXPECT_EQ(doc.history.Record(2).wrapSeparator, 0);
    const std::uint8_t* row = doc.images.ChannelImage(kHeadL).Row(0);
    for (int x = 0; x < 400; ++x) ASSERT_EQ(row[x], 255) << x;
    Tick();
    EXPECT_EQ(doc.history.Record(4).wrapSeparator, 0);
    EXPECT_EQ(doc.playbackMode, 1);
}

TEST_F(PlaybackTest, SeparatorInTheCompositeCoversTheStarboardHalf) {
    StartPlayback(ThreeHeadFile(2));
    DocumentBuilder(doc).CompositeMode(true);
    std::int32_t sizeChanged = 1;
    doc.SizeCompositeImage(kZoomFillScreen, 400, sizeChanged);
    for (int i = 0; i < 3; ++i) Tick();
    ASSERT_EQ(doc.history.Record(2).wrapSeparator, 1);
    const std::uint8_t* rgb = doc.images.CompositeImage().Row(0);
    for (int x = 200; x < 400; ++x) {
        ASSERT_EQ(rgb[3 * x], 255) << x;
        ASSERT_EQ(rgb[3 * x + 1], 255) << x;
        ASSERT_EQ(rgb[3 * x + 2], 0) << x;
        ASSERT_EQ(doc.images.CompositePlane(1).Row(0)[x], 255) << x;
    }
    EXPECT_NE(doc.images.CompositePlane(0).Row(0)[100], 255);
}

TEST_F(PlaybackTest, SliderReleaseMovesToTheRecordAtThatShare) {
    StartPlayback(ThreeHeadFile(100));  // 843200 bytes
    Tick();                             // one record read: the record length is known
    struct Case {
        int position;
        std::uint64_t resumesAt;
    };
    const Case cases[] = {{50, 421600}, {100, 0}, {120, 0}, {0, 0}, {1, 8432}, {99, 834768}};
    for (const Case& c : cases) {
        doc.PlaybackSliderPressed();
        EXPECT_EQ(doc.playback.sliderHeld, 1);
        doc.PlaybackSliderReleased(c.position);
        EXPECT_EQ(doc.files.playbackPosition, c.resumesAt) << c.position;
        EXPECT_EQ(doc.playback.sliderHeld, 0);
    }
    doc.PlaybackSliderReleased(50);
    Tick();
    EXPECT_EQ(doc.recording.pingNumber, 51);
}

TEST_F(PlaybackTest, SliderFollowsThePlaybackUnlessHeld) {
    StartPlayback(ThreeHeadFile(100));
    for (int i = 0; i < 3; ++i) Tick();
    EXPECT_EQ(observer.sliderPositions, (std::vector<int>{1, 2}));
    doc.PlaybackSliderPressed();
    Tick();
    EXPECT_EQ(observer.sliderPositions.size(), 2u);
    doc.PlaybackSliderReleased(10);
    Tick();
    EXPECT_EQ(observer.sliderPositions.back(), 10);
}

TEST_F(PlaybackTest, ResynchroniseRoundsUpToTheRecordLengthBeforeScanning) {
    const std::string path = ThreeHeadFile(4);
    // A whole record header planted inside the first record's echo line at byte 6000.
    auto bytes = TempDir::ReadBytes(path);
    std::copy(bytes.begin(), bytes.begin() + 256, bytes.begin() + 6000);
    TempDir::WriteBytes(path, bytes);
    StartPlayback(path);

    // No record read yet: no length to round with, the scan starts at the position itself.
    doc.Resynchronise(5000);
    EXPECT_EQ(doc.files.playbackPosition, 6000u);
    DocumentBuilder(doc).PlaybackPosition(0);
    Tick();
    ASSERT_EQ(doc.files.recordLength, 8432);
    doc.Resynchronise(5000);
    EXPECT_EQ(doc.files.playbackPosition, 8432u);
    // Nothing found after the position: it stays.
    doc.Resynchronise(4 * 8432 - 100);
    EXPECT_EQ(doc.files.playbackPosition, 8432u);
}

TEST_F(PlaybackTest, ResynchroniseFindsAMagicRightAfterAnS) {
    const std::string path = ThreeHeadFile(3);
    auto bytes = TempDir::ReadBytes(path);
    bytes[8432 - 1] = 's';  // "ssvx": the record start must not be stepped over
    TempDir::WriteBytes(path, bytes);
    StartPlayback(path);
    doc.Resynchronise(8432 - 1);
    EXPECT_EQ(doc.files.playbackPosition, 8432u);
}

TEST_F(PlaybackTest, DamagedRecordInTheMiddleIsSteppedOverAndToldOnce) {
    struct Case {
        int offset;
        std::uint8_t value;
    };
    // A wrong magic, a zero length (which would replay the record for ever), a short length,
    // a head count of 255, and a head block without "Sonar".
    const Case cases[] = {{0, 'X'}, {8, 0}, {9, 0}, {46, 255}, {256 + 2384, 'X'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        const std::string path = ThreeHeadFile(5);
        auto bytes = TempDir::ReadBytes(path);
        bytes[2 * 8432 + c.offset] = c.value;
        if (c.offset == 8) bytes[2 * 8432 + 9] = 0;
        TempDir::WriteBytes(path, bytes);
        observer.messages.clear();
        StartPlayback(path);
        Tick();
        Tick();
        EXPECT_EQ(doc.playbackMode, 1);
        EXPECT_TRUE(observer.messages.empty() || observer.messages.back().empty());
        // The third tick meets the damage, steps over it and plays the record after it.
        Tick();
        EXPECT_EQ(doc.playbackMode, 1);
        EXPECT_EQ(doc.recording.pingNumber, 4);
        Tick();
        EXPECT_EQ(doc.recording.pingNumber, 5);
        EXPECT_EQ(doc.files.playbackPosition, 5u * 8432);
        // Every record after the damage is stored.
        ASSERT_EQ(doc.history.writeIndex, 4);
        const std::int32_t stored[] = {1, 2, 4, 5};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(doc.history.Record(i).pingNumber, stored[i]);
        ASSERT_EQ(doc.playback.skipped.size(), 1u);
        EXPECT_EQ(doc.playback.skipped[0].offset, 2u * 8432);
        EXPECT_EQ(doc.playback.skipped[0].bytes, 8432u);
        ASSERT_FALSE(observer.messages.empty());
        EXPECT_EQ(observer.messages.back(), "Damaged record skipped at offset 16864 (8432 bytes)");
        // Around the loop again: the damage is stepped over without telling it again.
        const std::size_t told = observer.messages.size();
        for (int i = 0; i < 4; ++i) Tick();  // 1, 2, 4, 5
        EXPECT_EQ(doc.recording.pingNumber, 5);
        EXPECT_EQ(observer.messages.size(), told);
        EXPECT_EQ(doc.playback.skipped.size(), 1u);
        doc.CloseAllFiles();
    }
}

TEST_F(PlaybackTest, FileWithoutAReadableRecordEndsPlaybackAndSaysSoInTheTitle) {
    // Bytes without any record, and records that are all damaged.
    std::vector<std::uint8_t> noise(20000);
    for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
    const std::string damaged = ThreeHeadFile(3);
    auto bytes = TempDir::ReadBytes(damaged);
    for (int r = 0; r < 3; ++r) bytes[r * 8432 + 256] = 'X';
    for (const auto& file : {noise, bytes}) {
        StartPlayback(WriteFile("bad.svx", file));
        EXPECT_EQ(doc.recording.windowTitle.rfind("Halvex Sonvara_RGB -- Playback (", 0), 0u);
        Tick();
        EXPECT_EQ(doc.playbackMode, 0);
        EXPECT_FALSE(doc.playback.playbackFile.IsOpen());
        EXPECT_FALSE(platform.TimerRunning(1030));
        EXPECT_EQ(doc.recording.windowTitle, "Halvex Sonvara_RGB");
        EXPECT_EQ(observer.windowTexts.back(), "Halvex Sonvara_RGB");
    }
}

TEST_F(PlaybackTest, FileWithoutDataWhilePlayingLeavesTheTitleOfWhatIsLeft) {
    StartPlayback(ThreeHeadFile(2));
    TempDir::WriteBytes(dir.File("short.svx"), std::vector<std::uint8_t>(999, 0));
    platform.expectedMessages = {"File has no data!"};
    EXPECT_FALSE(doc.OpenPlaybackFile(dir.File("short.svx")));
    EXPECT_EQ(doc.playbackMode, 0);
    // The file that was playing is closed: the title no longer names it.
    EXPECT_EQ(doc.recording.windowTitle, "Halvex Sonvara_RGB");
}

TEST_F(PlaybackTest, OneRecordFileLoopsOnItsRecordWithASeparatorEveryTime) {
    // Playing in an endless loop with a separator at the seam makes every ping of a
    // one-record file a seam; that is the loop as it is meant to be, not a fault.
    StartPlayback(ThreeHeadFile(1));
    for (int i = 0; i < 4; ++i) Tick();
    EXPECT_EQ(doc.playbackMode, 1);
    EXPECT_EQ(doc.history.writeIndex, 4);
    EXPECT_EQ(doc.history.Record(0).wrapSeparator, 0);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(doc.history.Record(i).wrapSeparator, 1) << i;
    EXPECT_TRUE(doc.playback.skipped.empty());
}

TEST_F(PlaybackTest, CutOffLastRecordWrapsInsteadOfEnding) {
    const std::string path = ThreeHeadFile(3);
    std::filesystem::resize_file(path, 3 * 8432 - 500);
    StartPlayback(path);
    for (int i = 0; i < 3; ++i) Tick();
    EXPECT_EQ(doc.recording.pingNumber, 2);  // the cut-off record is not shown
    Tick();
    EXPECT_EQ(doc.playbackMode, 1);
    EXPECT_EQ(doc.recording.pingNumber, 1);
}

int RangeStep(int i) {
    return i < 2 ? 50 : 100;
}

TEST_F(PlaybackTest, RangeChangeRingsTheAlarmOnceWhenItIsOn) {
    for (const int alarm : {1, 0}) {
        StartPlayback(ThreeHeadFile(5, RangeStep));
        DocumentBuilder(doc).SettingsChangeAlarm(alarm);
        int rings = 0;
        for (int i = 0; i < 5; ++i) {
            platform.TakeCalls();
            Tick();
            for (const auto& call : platform.TakeCalls()) {
                if (call.rfind("sound '", 0) != 0) continue;
                ++rings;
                EXPECT_EQ(i, 2);
                EXPECT_NE(call.find("ding.wav"), std::string::npos);
            }
        }
        EXPECT_EQ(rings, alarm);
        EXPECT_EQ(doc.files.settingsChangeAlarm, alarm);
        doc.CloseAllFiles();
    }
}

TEST_F(PlaybackTest, HeldDisplayReadsNothingButKeepsTheTimer) {
    StartPlayback(ThreeHeadFile(3));
    DocumentBuilder(doc).HeldByEventDialog(true);
    Tick();
    EXPECT_EQ(doc.files.playbackPosition, 0u);
    EXPECT_TRUE(platform.TimerRunning(1030));
    DocumentBuilder(doc).HeldByEventDialog(false);
    Tick();
    EXPECT_EQ(doc.files.playbackPosition, 8432u);
}

TEST_F(PlaybackTest, ProtectedFileIsPlayedReadOnlyAndItsEventsAreKept) {
    const std::string path = ThreeHeadFile(2);
    TempDir::WriteText(dir.File("survey.an"), "3\n5\n0.250000\nd\nt\nla\nlo\nan\n");
    DocumentBuilder(doc).MakeWritable([](const std::string&) { return false; });
    StartPlayback(path);
    EXPECT_EQ(doc.recording.fileDenyWrite, 1);
    EXPECT_EQ(doc.events.eventList.count, 1);
    EXPECT_EQ(doc.events.eventList.entries[0].number, 3);
    EventList emptied = doc.events.eventList;
    emptied.count = 0;
    DocumentBuilder(doc).EventList(emptied);  // even an emptied list does not touch the file
    doc.CloseAllFiles();
    EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), "3\n5\n0.250000\nd\nt\nla\nlo\nan\n");
}

TEST_F(PlaybackTest, EventsOfThePlayedFileAreSavedWhenAProtectedFileIsOpenedNext) {
    const std::string first = ThreeHeadFile(2);
    const std::string second = dir.File("protected.svx");
    std::filesystem::copy_file(first, second);
    StartPlayback(first);
    EventList list = doc.events.eventList;
    list.entries[0].number = 1;
    list.entries[0].pingNumber = 2;
    list.entries[0].acrossFraction = 0.5;
    list.count = 1;
    // A change whose saving failed: the close saves it.
    DocumentBuilder(doc).UnsavedEvents(list, true).MakeWritable([](const std::string& path) {
        return path.find("protected") == std::string::npos;
    });
    ASSERT_TRUE(doc.OpenPlaybackFile(second));
    EXPECT_EQ(doc.recording.fileDenyWrite, 1);
    EXPECT_EQ(TempDir::ReadText(dir.File("survey.an")), "1\n2\n0.500000\n");
    EXPECT_FALSE(FileExists(dir.File("protected.an")));  // not created for a protected file
}

TEST_F(PlaybackTest, MenuStateFollowsPlaybackAndRecording) {
    EXPECT_TRUE(RecordDataEnabled(doc));
    EXPECT_FALSE(StopRecordingEnabled(doc));
    EXPECT_FALSE(SettingsChangeAlarmEnabled(doc));
    EXPECT_FALSE(FilePlaybackBarEnabled(doc));
    DocumentBuilder(doc).ThreeFrequencySystem(true);
    EXPECT_STREQ(RecordDataText(doc), "Record Data ...");
    EXPECT_STREQ(StopRecordingText(doc), "Stop Recording ...");
    StartPlayback(ThreeHeadFile(2));
    EXPECT_TRUE(SettingsChangeAlarmEnabled(doc));
    EXPECT_TRUE(FilePlaybackBarEnabled(doc));
    EXPECT_STREQ(RecordDataText(doc), "Copy Start ...");
    EXPECT_STREQ(StopRecordingText(doc), "Copy Stop ...");
    EXPECT_FALSE(SettingsChangeAlarmChecked(doc));
    doc.ToggleSettingsChangeAlarm();
    EXPECT_TRUE(SettingsChangeAlarmChecked(doc));
    DocumentBuilder(doc).SettingsChangeAlarmLevel(2);
    doc.ToggleSettingsChangeAlarm();
    EXPECT_EQ(doc.files.settingsChangeAlarm, 0);
    DocumentBuilder(doc).ThreeFrequencySystem(false);
    EXPECT_EQ(RecordDataText(doc), nullptr);
    EXPECT_FALSE(ReversePlaybackEnabled());
}

TEST_F(PlaybackTest, ConnectDialogNoPlaysAFileAndYesLeavesPlayback) {
    const std::string path = ThreeHeadFile(3);
    platform.connectAnswer = false;
    platform.fileDialogAnswers.push_back(path);
    doc.ConnectToSonarHead();
    EXPECT_EQ(doc.playbackMode, 1);
    EXPECT_TRUE(platform.TimerRunning(1030));
    Tick();
    EXPECT_EQ(doc.history.writeIndex, 1);

    platform.connectAnswer = true;
    doc.ConnectToSonarHead();
    EXPECT_EQ(doc.playbackMode, 0);
    EXPECT_FALSE(doc.playback.playbackFile.IsOpen());
    EXPECT_FALSE(doc.events.playbackEventFile.IsOpen());
    EXPECT_FALSE(platform.TimerRunning(1030));
    EXPECT_FALSE(platform.TimerRunning(1010));
    EXPECT_EQ(doc.files.playbackPosition, 0u);
    EXPECT_EQ(doc.history.writeIndex, 0);
    EXPECT_TRUE(doc.realTimeActive);
}

TEST_F(PlaybackTest, DocumentCloseClosesEveryFile) {
    StartPlayback(ThreeHeadFile(2));
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("copy.svx")));
    doc.CloseDocument();
    EXPECT_FALSE(doc.playback.playbackFile.IsOpen());
    EXPECT_FALSE(doc.recording.dataFile.IsOpen());
    EXPECT_FALSE(doc.events.playbackEventFile.IsOpen());
    EXPECT_FALSE(doc.events.recordEventFile.IsOpen());
    EXPECT_EQ(doc.recording.recordingOn, 0);
    EXPECT_FALSE(platform.TimerRunning(1030));
}

}  // namespace
