// Adding an event: the double-click on the composite image opens the dialog for a new event,
// OK puts it into the event list, stamps its record and saves the event file, Cancel takes the
// temporary marker away again. Also the event markers of the composite image and the hold the
// dialog keeps on the display while it is open.

#include <algorithm>

#include "common/ByteOrder.h"
#include "datafiles/DataRecordFormat.h"
#include "datafiles/EventTexts.h"
#include "document/CVantrelDoc.h"
#include "imaging/SideGeometry.h"

namespace text = eventtext;

namespace {

// Writes the two mark bytes into the record of `ping` after checking its header; false when
// the file holds no such record.
bool StampRecord(DataFile& file, const svx::RecordIndex& index, std::int32_t ping,
                 std::uint16_t mark) {
    if (!file.IsOpen() || ping < 0) return false;
    const svx::IndexedRecord* record = index.FindPing(static_cast<std::uint32_t>(ping));
    if (!record) return false;
    std::uint8_t header[svx::kPingNumber + 4];
    if (file.ReadAt(record->offset, header, sizeof header) != sizeof header) return false;
    if (!svx::HasMagic(header) || GetLe32(header + svx::kPingNumber) != record->ping) return false;
    std::uint8_t bytes[2];
    PutLe16(bytes, mark);
    return file.Seek(record->offset + svx::kEventMark) && file.Write(bytes, sizeof bytes);
}

std::string TextWithLineEnd(std::string_view text) {
    return std::string(text) + "\n";
}

}  // namespace

bool CVantrelDoc::BeginNewEvent(int row, int x) {
    if (!events.eventInputEnabled) return false;
    const RingImage& image = images.CompositeImage();
    // A double click outside the image names no row.
    if (!image.Exists() || row < 0 || row >= image.Rows() || x < 0 || x >= image.Width()) {
        return false;
    }
    // The clicked row's ping, time and position are taken now, before anything (a hold given
    // up, a redraw) can put another ping on that row.
    const RowInfo stamp = images.RowStamp(kCompositeSlot, row);
    if (stamp.pingNumber <= 1) return false;
    if (!events.recordEventFile.IsOpen() && !events.playbackEventFile.IsOpen()) return false;
    if (NewEventRefused(stamp.pingNumber)) return false;
    // A review or a pop-up shown (nothing typed) gives way to the new event; the hold it
    // keeps stays, so the rows do not move.
    events.eventReviewShown = 0;
    events.dialog.created = true;
    if (playbackMode || events.holdWhenAdding) HoldForEventDialog();
    events.eventPing = stamp.pingNumber;
    events.eventMarkerX = x;
    events.eventMarkerRow = row;
    files.eventMarkNumber = events.eventList.LargestNumber() + 1;
    FillNewEventDialog(stamp);
    events.savedMarkerPath = events.eventMarkerPath;
    AddMarkerAt(files.eventMarkNumber, events.eventPing, x, row);
    observer->EventDialogChanged();
    observer->UpdateAllViews();
    return true;
}

bool CVantrelDoc::NewEventRefused(std::int32_t ping) {
    // An event being typed, or an annotation being edited, is kept: the operator finishes or
    // cancels it before another event is begun (the window brings the dialog to the front).
    if (events.dialog.visible &&
        (events.dialog.mode == EventDialogState::Mode::NewEvent || events.dialog.editing)) {
        return true;
    }
    if (playbackMode && !recording.recordingOn && recording.fileDenyWrite) {
        platform.MessageBox(text::kDenyWriteOnDelete);
        return true;
    }
    if (RefuseChangeOfDamagedEventFile()) return true;
    if (events.eventList.Full() || events.eventList.LargestNumber() + 1 > kMaxEventNumber) {
        platform.MessageBox(text::kListFull);
        return true;
    }
    // Rows left on screen from another recording may carry pings this file does not have.
    if (!PingHasRecord(ping)) {
        platform.MessageBox(text::NoRecordForEvent(ping));
        return true;
    }
    return false;
}

void CVantrelDoc::FillNewEventDialog(const RowInfo& stamp) {
    EventDialogState& dialog = events.dialog;
    dialog.mode = EventDialogState::Mode::NewEvent;
    dialog.navigationShown = false;
    dialog.editing = false;
    dialog.annotationEditable = true;
    dialog.number = std::to_string(files.eventMarkNumber);
    dialog.ping = std::to_string(stamp.pingNumber);
    dialog.time = std::string(stamp.Time().substr(0, 8));
    const auto& date = cycleTime.cycleDateText;
    dialog.date = dialog.time.empty() ? std::string()
                                      : std::string(date.data(), strnlen(date.data(), date.size()));
    dialog.latitude = std::string(stamp.texts[kNavLatitude].View());
    dialog.longitude = std::string(stamp.texts[kNavLongitude].View());
    dialog.annotation.clear();
    dialog.visible = true;
}

void CVantrelDoc::AcceptEvent(const std::string& typedAnnotation) {
    EventDialogState& dialog = events.dialog;
    if (!dialog.visible) return;
    const std::string annotation = StoredAnnotation(typedAnnotation);
    if (dialog.editing) {
        const int at = events.eventList.FindNumber(files.playbackEventNumber);
        if (at >= 0 && !RefuseChangeOfDamagedEventFile()) {
            events.eventList.entries[static_cast<std::size_t>(at)].annotation = annotation;
            SaveEventFiles();
        }
    } else if (dialog.mode == EventDialogState::Mode::NewEvent && !AddTypedEvent(annotation)) {
        // Nothing was kept: the temporary marker goes too.
        events.eventMarkerPath = events.savedMarkerPath;
    }
    CloseEventDialog();
}

bool CVantrelDoc::AddTypedEvent(const std::string& annotation) {
    const EventDialogState& dialog = events.dialog;
    if (events.eventList.Full() || RefuseChangeOfDamagedEventFile()) return false;
    EventRecord event;
    event.number = files.eventMarkNumber;
    event.pingNumber = events.eventPing;
    event.acrossFraction =
        AcrossFraction(events.eventMarkerX, images.CompositeImage().Width(), images.sideMode);
    event.date = TextWithLineEnd(dialog.date);
    event.time = TextWithLineEnd(dialog.time);
    event.latitude = TextWithLineEnd(dialog.latitude);
    event.longitude = TextWithLineEnd(dialog.longitude);
    event.annotation = annotation;
    // The event is kept only when its record carries its mark.
    files.eventMarkPending = 1;
    const bool stamped = StampEventMark(true);
    files.eventMarkPending = 0;
    if (!stamped) return false;
    events.eventList.InsertByPing(event);
    SaveEventFiles();
    return true;
}

bool CVantrelDoc::PingHasRecord(std::int32_t ping) {
    if (ping < 0) return false;
    const auto has = [ping](const svx::RecordIndex& index) {
        return index.FindPing(static_cast<std::uint32_t>(ping)) != nullptr;
    };
    if (playback.playbackFile.IsOpen()) return has(PlaybackIndex());
    return recording.dataFile.IsOpen() && has(recording.index);
}

void CVantrelDoc::CancelEvent() {
    if (events.dialog.mode == EventDialogState::Mode::NewEvent || events.dialog.editing) {
        events.eventMarkerPath = events.savedMarkerPath;
    }
    CloseEventDialog();
}

void CVantrelDoc::CloseEventDialog() {
    events.dialog.visible = false;
    events.dialog.editing = false;
    events.dialog.annotationEditable = false;
    events.eventReviewShown = 0;
    ReleaseEventDialogHold();
    observer->EventDialogChanged();
    observer->UpdateAllViews();
}

bool CVantrelDoc::StampEventMark(bool playbackToo) {
    std::uint16_t mark = static_cast<std::uint16_t>(files.eventMarkNumber & 0xFF);
    if (files.eventMarkPending) mark |= svx::kEventFlag;
    bool stamped = false;
    bool tried = false;
    if (playbackToo && playback.playbackFile.IsOpen()) {
        tried = true;
        stamped = StampRecord(playback.playbackFile, PlaybackIndex(), events.eventPing, mark);
    }
    if (recording.dataFile.IsOpen()) {
        tried = true;
        stamped =
            StampRecord(recording.dataFile, recording.index, events.eventPing, mark) || stamped;
        // Recording goes on at the end of the file.
        recording.dataFile.SeekToEnd();
    }
    if (tried && !stamped) platform.MessageBox(text::NoRecordForMark(events.eventPing));
    return stamped;
}

void CVantrelDoc::ResetEventSlots() {
    events.eventList.ResetSlots();
    events.copyEventList.ResetSlots();
}

void CVantrelDoc::SaveEventFiles() {
    // A damaged event file is never rewritten with the part of it that could be read.
    if (events.playbackEventFile.IsOpen() && !recording.fileDenyWrite && !events.eventFileDamaged) {
        events.playbackEventsUnsaved =
            SaveEventList(events.eventList, events.playbackEventFile) ? 0 : 1;
    }
    if (events.recordEventFile.IsOpen()) {
        events.recordEventsUnsaved =
            SaveEventList(recording.copyMode ? events.copyEventList : events.eventList,
                          events.recordEventFile)
                ? 0
                : 1;
    }
}

bool CVantrelDoc::SaveEventList(const EventList& list, DataFile& file) {
    const std::string path = file.Path();
    if (!ReplaceFileContents(path, FormatEventList(list))) {
        platform.MessageBox(text::EventFileNotSaved(path));
        return false;
    }
    // The open file is the one renamed over; the new one takes its place.
    file.Open(path, DataFile::Mode::ReadWrite);
    file.SeekToEnd();
    return true;
}

void CVantrelDoc::CloseEventFile(DataFile& file, const EventList& list, std::int32_t& unsaved) {
    // Every change was saved when it was made (through a temporary file renamed over the old
    // one); only a change whose saving failed is tried again, the same way.
    if (file.IsOpen() && unsaved && SaveEventList(list, file)) unsaved = 0;
    file.Close();
}

void CVantrelDoc::HoldForEventDialog() {
    if (images.heldByEventDialog) return;
    if (!images.held) {
        ToggleHold();
        events.holdTakenByDialog = 1;
    }
    images.heldByEventDialog = 1;
}

void CVantrelDoc::ReleaseEventDialogHold() {
    if (!images.heldByEventDialog) return;
    images.heldByEventDialog = 0;
    if (events.holdTakenByDialog) {
        events.holdTakenByDialog = 0;
        if (images.held) ToggleHold();
    }
}

// --- Markers -------------------------------------------------------------------------------

int CVantrelDoc::MarkerRowCounter() const {
    return images.held && !playbackMode ? images.heldRowCounter : images.compositeRowCounter;
}

void CVantrelDoc::AddMarkerAt(int number, std::int32_t ping, int x, int imageRow) {
    // One marker per event: drawn again (on a later pass of a looping playback, after a
    // redraw) it moves to where its ping is now, so the path never grows past the events.
    std::erase_if(events.eventMarkerPath, [number, ping](const EventMarker& known) {
        return known.number == number && known.ping == ping;
    });
    events.eventMarkerPath.push_back(EventMarker{number, x, imageRow - MarkerRowCounter(), ping});
}

void CVantrelDoc::DrawMarkersOfPing(std::int32_t ping) {
    const int row = images.CompositeRowOfPing(ping);
    if (row < 0) return;
    const int width = images.CompositeImage().Width();
    const EventList& list = events.eventList;
    for (int i = 0; i < list.count; ++i) {
        const EventRecord& event = list.entries[static_cast<std::size_t>(i)];
        if (event.pingNumber != ping) continue;
        const int x = AcrossColumn(event.acrossFraction, width, images.sideMode);
        if (x >= 0 && x < width) AddMarkerAt(event.number, ping, x, row);
    }
}

void CVantrelDoc::ClearEventMarkers() {
    events.eventMarkerPath.clear();
}

void CVantrelDoc::RebuildEventMarkers() {
    events.eventMarkerPath.clear();
    std::vector<std::int32_t> pings;
    for (int i = 0; i < events.eventList.count; ++i) {
        pings.push_back(events.eventList.entries[static_cast<std::size_t>(i)].pingNumber);
    }
    pings.erase(std::unique(pings.begin(), pings.end()), pings.end());
    for (const std::int32_t ping : pings) DrawMarkersOfPing(ping);
    observer->UpdateAllViews();
}
