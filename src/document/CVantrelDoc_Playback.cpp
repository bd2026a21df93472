// Playback: a data file is played record by record on timer 1030 through the same validation
// and StoreCycle() as a real-time cycle, in an endless loop with a separator at the seam.

#include <algorithm>
#include <array>
#include <cstring>

#include "datafiles/DataFileNames.h"
#include "datafiles/DataFileTexts.h"
#include "datafiles/DataRecordFormat.h"
#include "datafiles/RecordCodec.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "recordings/XtfRecordStream.h"

namespace text = datafiletext;

namespace {

// The files an open event dialog works on are going away: the dialog closes as Cancel would,
// without restarting the playback it held.
void DropEventDialog(CVantrelDoc& doc, DocumentObserver& observer) {
    EventState& events = doc.events;
    if (!events.dialog.visible && !doc.images.heldByEventDialog) return;
    if (events.dialog.mode == EventDialogState::Mode::NewEvent || events.dialog.editing) {
        events.eventMarkerPath = events.savedMarkerPath;
    }
    events.dialog.visible = false;
    events.dialog.editing = false;
    events.eventReviewShown = 0;
    doc.images.heldByEventDialog = 0;
    if (events.holdTakenByDialog) doc.images.held = 0;
    events.holdTakenByDialog = 0;
    observer.EventDialogChanged();
}

}  // namespace

void CVantrelDoc::OpenPlayback() {
    SaveSettings();
    // No record is played while the dialog is open.
    platform.StopTimer(kTimerPlayback);
    FileDialogRequest request;
    request.title = text::kOpenTitle;
    request.filter = text::kPlaybackFilter;
    request.directory = playback.readFileDir;
    const std::optional<std::string> chosen = platform.OpenFileDialog(request);
    if (chosen) {
        OpenPlaybackFile(*chosen);
    } else if (playbackMode && playback.playbackFile.IsOpen()) {
        platform.StartTimer(kTimerPlayback, playback.playbackPeriodMs);
    }
}

bool CVantrelDoc::OpenPlaybackFile(const std::string& path) {
    const bool xtfFile = HasXtfEnding(path);
    if (!HasSvxEnding(path) && !xtfFile) {
        platform.MessageBox(text::kUnknownType);
        return false;
    }
    // The files in use are closed under their own protection before the new file's is known:
    // the events of a file being played are saved even when the next file is protected.
    CloseAllFiles();
    recording.recordingOn = 0;
    playback.xtfDamage.clear();
    std::string notice;  // what the operator should know of an XTF file
    rec::PlayedHeads played;
    if (!(xtfFile ? OpenXtfPlaybackFile(path, notice, played) : OpenSvxPlaybackFile(path))) {
        playbackMode = 0;
        ResumeGpsInput();
        ShowNotPlaying();
        return false;
    }
    files.playbackFileLength = playback.playbackFile.Length();
    if (files.playbackFileLength < kMinPlaybackFileLength) {
        platform.MessageBox(text::kNoData);
        playback.playbackFile.Close();
        playbackMode = 0;
        ResumeGpsInput();
        ShowNotPlaying();
        return false;
    }
    playback.lastSliderPos = 0;
    files.playbackPosition = 0;
    // No record of this file has been read yet.
    files.recordLength = 0;
    playback.playbackFile.Seek(0);
    playbackMode = 1;

    ClearScreen();
    SuspendGpsInput();
    DisconnectAll();
    // Real time is left: nothing reconnects the heads until the operator chooses it again.
    realTimeActive = false;
    platform.StopTimer(kTimerReply);
    playback.index.Clear();
    playback.indexBuilt = false;
    playback.skipped.clear();
    playback.headsSeen.fill(false);
    observer->PlaybackMessage(notice);
    playback.sliderStep = files.playbackFileLength / kSliderMax;
    observer->PlaybackBarReset(playback.playSpeed);
    playback.playbackPath = path;
    playback.readFileDir = DirectoryOf(path);
    playback.readFilterIndex = 1;  // the settings keep the first filter (data files)

    OpenPlaybackEventFile(path);
    files.playbackEventNumber = 0;
    files.playbackEventFlag = 0;
    ResetEventSlots();
    LoadEventFile();

    playback.sliderHeld = 0;
    observer->AddRecentFile(path);
    // The history and the images start empty for the new file.
    ResetHistory();
    for (int slot = 0; slot < kSlotCount; ++slot) ResetSlot(slot);
    platform.StopTimer(kTimerGpsRead);
    platform.StartTimer(kTimerPlaybackDelay, kPlaybackStartDelayMs);
    files.captureFirstPing = 1;
    gps.trackRestart = 1;
    if (xtfFile) ShowPlayedHeads(played);
    SetWindowTitle(text::PlaybackTitle(path));
    FinishPlaybackCommand();
    return true;
}

bool CVantrelDoc::OpenSvxPlaybackFile(const std::string& path) {
    // A file this process cannot write is played read-only and its events stay as they are.
    recording.fileDenyWrite = files.fileSystem.makeWritable(path) ? 0 : 1;
    const DataFile::Mode mode =
        recording.fileDenyWrite ? DataFile::Mode::Read : DataFile::Mode::ReadWrite;
    if (playback.playbackFile.Open(path, mode)) return true;
    platform.MessageBox(text::OpenFailure(path));
    return false;
}

// An XTF file plays as records made from its pings; the file is only read, its event marks
// are kept in memory and its events in the event file beside it.
bool CVantrelDoc::OpenXtfPlaybackFile(const std::string& path, std::string& notice,
                                      rec::PlayedHeads& played) {
    std::string error;
    std::unique_ptr<rec::XtfRecordStream> stream = rec::XtfRecordStream::Open(path, error);
    if (!stream) {
        platform.MessageBox(error);
        return false;
    }
    playback.xtfDamage = stream->Damage();
    if (!stream->Damage().empty()) {
        notice = std::to_string(stream->Damage().size()) + " damaged stretch(es) stepped over, " +
                 xtf::DamageLine(stream->Damage().front());
    }
    for (const std::string& note : stream->Notes()) notice += (notice.empty() ? "" : "; ") + note;
    recording.fileDenyWrite = 0;
    played = stream->Heads();
    playback.playbackFile.OpenSource(path, std::move(stream));
    return true;
}

// A file of another system has its own heads: the installation's would show empty windows
// and hide the file's channels. Real time sets the installation's again from the heads'
// system information.
void CVantrelDoc::ShowPlayedHeads(const rec::PlayedHeads& played) {
    int present[kHeadCount] = {};
    for (int h = 0; h < rec::kSideScanSlots; ++h) {
        present[h] = played.present[static_cast<std::size_t>(h)] ? 1 : 0;
        heads[h].available = present[h];
        if (present[h]) heads[h].frequencyHz = played.frequencyHz[static_cast<std::size_t>(h)];
    }
    heads[kHeadES].available = 0;
    ConfigureHeads(present);
    observer->ApplyConfiguration();
}

void CVantrelDoc::OpenPlaybackEventFile(const std::string& dataPath) {
    const std::string name = EventFileNameFor(dataPath);
    DataFile& file = events.playbackEventFile;
    bool opened = true;
    if (FileExists(name)) {
        if (recording.fileDenyWrite) {
            opened = file.Open(name, DataFile::Mode::Read);
        } else {
            files.fileSystem.makeWritable(name);
            opened = file.Open(name, DataFile::Mode::ReadWrite);
        }
    } else if (!recording.fileDenyWrite) {
        opened = file.Open(name, DataFile::Mode::CreateUpdate);
    }
    // Playback goes on without events when the file cannot be had.
    if (!opened) platform.MessageBox(text::OpenFailure(name));
    events.eventFileName = name;
}

void CVantrelDoc::FinishPlaybackCommand() {
    observer->ApplyConfiguration();
    observer->UpdateAllViews();
    observer->DataFileStateChanged();
}

void CVantrelDoc::PausePlayback() {
    playbackClock.Pause();
}

void CVantrelDoc::ResumePlayback() {
    playbackClock.Resume(playbackMode && !images.held);
}

void CVantrelDoc::PlaybackDelayExpired() {
    platform.StopTimer(kTimerPlaybackDelay);
    if (playbackMode) platform.StartTimer(kTimerPlayback, playback.playbackPeriodMs);
}

void CVantrelDoc::PlaybackTick() {
    platform.StopTimer(kTimerPlayback);
    if (!images.held && !images.heldByEventDialog) {
        UpdatePlaybackSlider();
        if (files.playbackPosition >= files.playbackFileLength) WrapPlaybackToStart();
        if (PlayNextRecord() == RecordRead::Damaged) {
            // The file holds no record that can be played; the views keep what they show.
            CloseAllFiles();
            playbackMode = 0;
            ShowNotPlaying();
            return;
        }
    }
    if (files.settingsChangeAlarm > 1) {
        platform.PlaySound(playback.alarmSoundPath);
        --files.settingsChangeAlarm;
    }
    if (playbackMode) platform.StartTimer(kTimerPlayback, playback.playbackPeriodMs);
}

RecordRead CVantrelDoc::PlayNextRecord() {
    playback.playbackFile.Seek(files.playbackPosition);
    std::uint64_t at = files.playbackPosition;
    RecordRead read = readWriteFiles.ReadRecord();
    // Every step moves past the damage, so this ends at the latest at the end of the file.
    while (read == RecordRead::Damaged) {
        if (!StepOverDamage()) return RecordRead::Damaged;
        if (files.playbackPosition >= files.playbackFileLength) return RecordRead::Truncated;
        at = files.playbackPosition;
        read = readWriteFiles.ReadRecord();
    }
    if (read == RecordRead::Truncated) {
        NoteSkipped({at, files.playbackFileLength - at, svx::RecordDamage::CutOff});
        return read;
    }
    // The record's event mark goes to the writer before the cycle is stored, so that a copy
    // carries each mark on the record it belongs to.
    if (recording.copyMode) files.eventMarkNumber = files.playbackEventNumber;
    files.eventMarkPending = files.playbackEventFlag;
    RunGpsPlaybackSequence();
    noDataFlag = 0;
    if (ValidateCycle()) {
        StoreCycle();
        PlaybackEventHandOff();
    } else {
        ++rejectedCycleCount;
    }
    return read;
}

void CVantrelDoc::UpdatePlaybackSlider() {
    if (playback.sliderStep == 0) return;
    const std::int64_t position = static_cast<std::int64_t>(
        std::min<std::uint64_t>(files.playbackPosition / playback.sliderStep, kSliderMax));
    if (position == playback.lastSliderPos || playback.sliderHeld) return;
    observer->PlaybackSliderMoved(static_cast<int>(position));
    playback.lastSliderPos = position;
}

void CVantrelDoc::WrapPlaybackToStart() {
    files.playbackPosition = 0;
    // The next stored record carries the separator: the live path draws it, and a re-draw
    // from the history finds it again.
    history.separatorPending = 1;
    gps.trackRestart = 1;
    RestartGpsAge();
    // A copy ends at the end of the file.
    if (recording.copyMode) StopRecording();
}

void CVantrelDoc::CloseAllFiles() {
    DropEventDialog(*this, *observer);
    playback.playbackFile.Close();
    // A recording whose file is closed records nothing any more.
    if (recording.dataFile.IsOpen()) recording.recordingOn = 0;
    recording.dataFile.Close();
    // A damaged event file or one of a protected data file never has changes to save.
    CloseEventFile(events.playbackEventFile, events.eventList, events.playbackEventsUnsaved);
    CloseEventFile(events.recordEventFile,
                   recording.copyMode ? events.copyEventList : events.eventList,
                   events.recordEventsUnsaved);
    recording.copyMode = 0;
    playback.playbackPath.clear();
    recording.recordFileTitle.clear();
}

void CVantrelDoc::LeavePlayback() {
    platform.StopTimer(kTimerPlaybackDelay);
    platform.StopTimer(kTimerPlayback);
    CloseAllFiles();
    files.playbackPosition = 0;
    ResetHistory();
    for (int slot = 0; slot < kSlotCount; ++slot) ResetSlot(slot);
    observer->UpdateAllViews();
}

void CVantrelDoc::Resynchronise(std::uint64_t position) {
    if (!playbackMode) return;
    // Round up to a whole number of the last record length; before any record has been read
    // there is no length and the scan starts at the position itself.
    const std::uint64_t length = files.recordLength > 0 ? files.recordLength : 0;
    const std::uint64_t candidate = length ? (position + length - 1) / length * length : position;
    SeekRecordStart(candidate);
}

// The scan of Resynchronise without its rounding: playbackPosition moves to the first record
// start at or after `from` (it stays where it is when there is none).
bool CVantrelDoc::SeekRecordStart(std::uint64_t from) {
    svx::FileBytes bytes(playback.playbackFile, files.playbackFileLength);
    const std::optional<std::uint64_t> found =
        svx::FindRecordStart(bytes, from, readWriteFiles.Geometry());
    if (found) files.playbackPosition = *found;
    playback.playbackFile.Seek(files.playbackPosition);
    if (events.playbackEventFile.IsOpen()) events.playbackEventFile.Seek(0);
    return found.has_value();
}

// Steps over the damaged record at playbackPosition to the next record start, or to the end
// of the file when none follows. The scan starts right after the damaged byte, not at a
// multiple of the last record length: records of other lengths may follow the damage, and
// rounding would step over them. False when the file holds no readable record at all, so
// that a file of damage is not looped through for ever (a file that has played a record has
// one; only before the first the index is asked).
bool CVantrelDoc::StepOverDamage() {
    const std::uint64_t at = files.playbackPosition;
    const svx::RecordDamage damage = files.lastDamage;
    if (files.captureFirstPing && PlaybackIndex().Records().empty()) return false;
    if (!SeekRecordStart(at + 1)) files.playbackPosition = files.playbackFileLength;
    NoteSkipped({at, files.playbackPosition - at, damage});
    return true;
}

void CVantrelDoc::NoteSkipped(const svx::DamagedStretch& stretch) {
    std::vector<svx::DamagedStretch>& skipped = playback.skipped;
    // The file plays in a loop: damage met again has been told already.
    for (const svx::DamagedStretch& known : skipped) {
        if (stretch.offset >= known.offset && stretch.offset < known.offset + known.bytes) return;
    }
    if (!skipped.empty() && skipped.back().offset + skipped.back().bytes == stretch.offset) {
        skipped.back().bytes += stretch.bytes;
    } else {
        skipped.push_back(stretch);
    }
    observer->PlaybackMessage(
        text::DamageSkipped(skipped.size(), skipped.front().offset, skipped.front().bytes));
}

const svx::RecordIndex& CVantrelDoc::PlaybackIndex() {
    if (!playback.indexBuilt && playback.playbackFile.IsOpen()) {
        svx::FileBytes bytes(playback.playbackFile, files.playbackFileLength);
        playback.index = svx::IndexRecords(bytes, readWriteFiles.Geometry());
        playback.indexBuilt = true;
    }
    return playback.index;
}

void CVantrelDoc::ShowNotPlaying() {
    SetWindowTitle(text::NotPlayingTitle(State() != EngineState::Idle));
    FinishPlaybackCommand();
}
