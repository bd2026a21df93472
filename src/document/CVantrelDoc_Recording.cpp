// Recording: "Record Data..." opens a new data file and its event file, every stored cycle is
// appended through RecordCycle(), "Stop Recording..." closes them. Started during playback,
// the same code copies the played records to the new file.

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "datafiles/DataFileNames.h"
#include "datafiles/DataFileTexts.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"

namespace text = datafiletext;

namespace {

// The save and open dialogs offer one filter, so the index they return is always its own.
constexpr std::int32_t kOnlyFilterIndex = 1;

}  // namespace

void CVantrelDoc::StartRecording() {
    // No record is read while the dialog is open.
    platform.StopTimer(kTimerPlayback);
    FileDialogRequest request;
    request.title = text::kSaveTitle;
    request.filter = text::kSvxFilter;
    request.directory = recording.writeFileDir;
    request.fileName = ProposedRecordingName(platform.Now());
    const std::optional<std::string> chosen = platform.SaveFileDialog(request);
    if (!chosen) {
        FinishRecordingCommand();
        return;
    }
    StartRecordingTo(WithDefaultExtension(*chosen));
}

bool CVantrelDoc::StartRecordingTo(const std::string& path) {
    std::string title = FileNameOf(path);
    if (!HasSvxEnding(title)) title += ".svx";
    recording.recordFileTitle = title;
    if (recording.recordingOn) {
        platform.MessageBox(text::kAlreadySaving);
        return false;
    }
    if ((playbackMode && RefuseRecordingOverPlayback(path)) || RefuseEventFileOfAnotherRecording(path)) {
        recording.recordFileTitle.clear();
        return false;
    }
    // Read as well as written: an event mark is stamped only into a record whose header is
    // checked first.
    if (!recording.dataFile.Open(path, DataFile::Mode::CreateUpdate)) {
        // Nothing could be written: the recording does not start, so that no title or menu
        // claims a recording that is not there.
        platform.MessageBox(text::OpenFailure(path));
        recording.fileDenyWrite = 1;
        platform.MessageBox(text::kErrorOpening);
        recording.recordFileTitle.clear();
        FinishRecordingCommand();
        return false;
    }
    recording.recordingOn = 1;
    recording.recordsWritten = 0;
    recording.recordsWithoutGps = 0;
    recording.stopReason.clear();
    recording.index.Clear();
    if (playbackMode) {
        recording.copyMode = 1;
        events.eventInputEnabled = 0;
        SetWindowTitle(text::CopyTitle(playback.playbackPath, title));
    } else {
        recording.copyMode = 0;
        events.eventList.count = 0;
        SetWindowTitle(text::RecordingTitle(title));
    }
    recording.writeFileDir = DirectoryOf(path);
    recording.writeFilterIndex = kOnlyFilterIndex;
    CreateRecordEventFile(path);
    ResetEventMarksForRecording();
    observer->AddRecentFile(path);
    FinishRecordingCommand();
    return true;
}

bool CVantrelDoc::RefuseRecordingOverPlayback(const std::string& path) {
    const std::string& played = playback.playbackPath;
    if (SameFilePath(path, played)) {
        platform.MessageBox(text::kUsedAsPlayback);
        return true;
    }
    // x.svx and x.SVX (or x.dat) have the same event file: creating the copy's would empty
    // the one of the file being played. Nor may the copy's data file be that event file.
    const std::string eventFile = EventFileNameFor(path);
    const std::string playedEvents = EventFileNameFor(played);
    std::string clash;
    if (SameFilePath(eventFile, playedEvents)) {
        clash = "its event file " + eventFile + " is the event file of the file being played";
    } else if (SameFilePath(path, playedEvents)) {
        clash = "it is the event file of the file being played";
    } else if (SameFilePath(eventFile, played)) {
        clash = "its event file " + eventFile + " is the file being played";
    }
    if (clash.empty()) return false;
    platform.MessageBox(text::RecordingOverPlayback(path, clash));
    return true;
}

// x.dat (or x.SVX) has the event file of x.svx: creating it would empty the events of a
// recording that is not being replaced.
bool CVantrelDoc::RefuseEventFileOfAnotherRecording(const std::string& path) {
    const std::string eventFile = EventFileNameFor(path);
    const std::string owner = OtherRecordingOfEventFile(path, eventFile);
    if (owner.empty()) return false;
    platform.MessageBox(
        text::RecordingOverPlayback(path, "its event file " + eventFile + " holds the events of " + owner));
    return true;
}

void CVantrelDoc::CreateRecordEventFile(const std::string& dataPath) {
    const std::string name = EventFileNameFor(dataPath);
    if (events.recordEventFile.Open(name, DataFile::Mode::CreateUpdate)) {
        events.eventFileName = name;
    } else {
        platform.MessageBox(text::OpenFailure(name));
        platform.MessageBox(text::kErrorCreatingEvents);
    }
}

void CVantrelDoc::ResetEventMarksForRecording() {
    files.eventMarkNumber = 0;
    files.eventMarkPending = 0;
    events.copyEventList.count = 0;
    recording.pingNumber = 1;
    events.eventPing = 1;
    if (playbackMode) return;
    // A new recording in real time starts with no events at all (the operator's choice to
    // hold while adding one stays, as the settings file keeps it).
    files.playbackEventFlag = 0;
    files.playbackEventNumber = 0;
    events.eventMarkerX = 0;
    events.eventMarkerRow = 0;
    images.compositeRowCounter = 0;
    images.heldRowCounter = 0;
    ResetEventSlots();
}

void CVantrelDoc::FinishRecordingCommand() {
    observer->UpdateAllViews();
    observer->DataFileStateChanged();
    if (playbackMode && playback.playbackFile.IsOpen()) {
        platform.StartTimer(kTimerPlayback, playback.playbackPeriodMs);
    }
}

void CVantrelDoc::RecordCycle() {
    if (!playbackMode) files.recordedPingIntervalMs = history.pingIntervalMs;
    DataFile& file = recording.dataFile;
    // The record must fit whole on the drive that holds the data file.
    const std::optional<std::uint64_t> available =
        files.fileSystem.freeSpace(DirectoryOf(file.Path()));
    if (available && *available < static_cast<std::uint64_t>(readWriteFiles.NextRecordLength())) {
        platform.MessageBox(text::kDiskFull);
        StopRecording();
        recording.stopReason = "the disk is full";
        return;
    }
    if (!noDataFlag) {
        errno = 0;
        if (!readWriteFiles.WriteRecord()) {
            const int error = errno;
            platform.MessageBox(text::kWriteFailed);
            StopRecording();
            recording.stopReason = std::string("the data file could not be written") +
                                   (error ? std::string(": ") + std::strerror(error) : "");
            return;
        }
        ++recording.recordsWritten;
    }
    char saved[48];
    std::snprintf(saved, sizeof saved, "Saved: %d kBytes", static_cast<int>(file.Length() / 1024));
    observer->WindowTextChanged(recording.windowTitle + "  " + saved);
    // In playback the ping number comes from the record read, so a copy keeps the source's.
    if (!playbackMode) ++recording.pingNumber;
}

void CVantrelDoc::StopRecording() {
    PausePlayback();
    recording.recordingOn = 0;
    recording.dataFile.Close();
    CloseEventFile(events.recordEventFile,
                   recording.copyMode ? events.copyEventList : events.eventList,
                   events.recordEventsUnsaved);
    SetWindowTitle(text::StoppedTitle(playbackMode != 0, playback.playbackPath));
    recording.copyMode = 0;
    observer->UpdateAllViews();
    observer->DataFileStateChanged();
    // Playback resumes a moment later (through the start delay timer).
    ResumePlayback();
}

void CVantrelDoc::SetWindowTitle(const std::string& title) {
    recording.windowTitle = title;
    observer->WindowTextChanged(title);
}
