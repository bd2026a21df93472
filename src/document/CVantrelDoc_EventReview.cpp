// The events of a played file: the dialog shows the event of a marked record as it is played,
// pages through all events (NEXT, PREV), edits an annotation and deletes an event with its
// record's mark. Also the Events menu's switches.

#include "datafiles/EventTexts.h"
#include "document/CVantrelDoc.h"

namespace text = eventtext;

void CVantrelDoc::PlaybackEventHandOff() {
    if (!files.playbackEventFlag || !events.playbackEventFile.IsOpen()) return;
    // A copy takes every event of a marked record once, whatever the dialog does.
    if (recording.copyMode) AppendCopiedEvents(recording.pingNumber);
    // What the operator is typing is not replaced.
    if (events.dialog.visible &&
        (events.dialog.mode == EventDialogState::Mode::NewEvent || events.dialog.editing)) {
        return;
    }
    events.dialog.created = true;
    events.dialog.navigationShown = true;
    ShowEvent();
}

void CVantrelDoc::AppendCopiedEvents(std::int32_t ping) {
    bool added = false;
    const EventList& list = events.eventList;
    for (int i = 0; i < list.count; ++i) {
        const EventRecord& event = list.entries[static_cast<std::size_t>(i)];
        if (event.pingNumber != ping || events.copyEventList.Contains(event.number, ping)) continue;
        added = events.copyEventList.Append(event) || added;
    }
    if (added && events.recordEventFile.IsOpen()) {
        events.recordEventsUnsaved =
            SaveEventList(events.copyEventList, events.recordEventFile) ? 0 : 1;
    }
}

void CVantrelDoc::FillDialogFromEvent(const EventRecord& event) {
    EventDialogState& dialog = events.dialog;
    dialog.number = std::to_string(event.number);
    dialog.ping = std::to_string(event.pingNumber);
    dialog.date = std::string(WithoutLineEnd(event.date));
    dialog.time = std::string(WithoutLineEnd(event.time));
    dialog.latitude = std::string(WithoutLineEnd(event.latitude));
    dialog.longitude = std::string(WithoutLineEnd(event.longitude));
    dialog.annotation = std::string(WithoutLineEnd(event.annotation));
}

void CVantrelDoc::ShowEvent() {
    EventDialogState& dialog = events.dialog;
    dialog.mode = EventDialogState::Mode::Review;
    dialog.navigationShown = events.eventReviewShown != 0;
    dialog.deleteEnabled = !recording.copyMode;
    const int at = events.eventList.FindNumber(files.playbackEventNumber);
    if (at < 0) {
        observer->EventDialogChanged();
        return;
    }
    const EventRecord& event = events.eventList.entries[static_cast<std::size_t>(at)];
    FillDialogFromEvent(event);
    events.eventPing = event.pingNumber;
    if (!events.eventReviewShown) {
        DrawMarkersOfPing(event.pingNumber);
        observer->UpdateAllViews();
    }
    if (events.autoEventPopup) {
        dialog.visible = true;
        dialog.annotationEditable = false;
    }
    observer->EventDialogChanged();
}

void CVantrelDoc::ReviewEvents() {
    events.dialog.created = true;
    if (events.eventList.Empty()) {
        platform.MessageBox(text::kNoEventsFound);
        return;
    }
    if (events.eventReviewShown) {
        CloseEventDialog();
        return;
    }
    if (events.dialog.visible) CancelEvent();
    HoldForEventDialog();
    events.eventReviewShown = 1;
    EventDialogState& dialog = events.dialog;
    dialog.mode = EventDialogState::Mode::Review;
    dialog.visible = true;
    dialog.annotationEditable = false;
    dialog.editing = false;
    dialog.navigationShown = true;
    dialog.index = -1;
    NextEvent();
}

namespace {
enum class Step { Next, Previous };
}  // namespace

static void StepEvent(CVantrelDoc& doc, Step step) {
    EventDialogState& dialog = doc.events.dialog;
    if (!doc.playback.playbackFile.IsOpen() || dialog.mode != EventDialogState::Mode::Review) {
        return;
    }
    const EventList& list = doc.events.eventList;
    if (list.Empty()) {
        doc.GetPlatform().MessageBox(text::kNoMoreEvents);
        doc.CancelEvent();
        return;
    }
    dialog.index = step == Step::Next ? std::min(dialog.index + 1, list.count - 1)
                                      : std::max(dialog.index - 1, 0);
    doc.files.playbackEventNumber = list.entries[static_cast<std::size_t>(dialog.index)].number;
    doc.files.playbackEventFlag = 1;
    doc.ShowEvent();
}

void CVantrelDoc::NextEvent() {
    StepEvent(*this, Step::Next);
}

void CVantrelDoc::PreviousEvent() {
    StepEvent(*this, Step::Previous);
}

void CVantrelDoc::DeleteEvent() {
    EventList& list = events.eventList;
    const int at = list.FindNumber(files.playbackEventNumber);
    // The events met by a copy are taken as they are.
    if (at < 0 || recording.copyMode) return;
    if (RefuseChangeOfDamagedEventFile()) return;
    if (!platform.YesNoBox(text::kReallyDelete)) return;
    if (recording.fileDenyWrite) {
        platform.MessageBox(text::kDenyWriteOnDelete);
        return;
    }
    events.eventPing = list.entries[static_cast<std::size_t>(at)].pingNumber;
    const bool wasLast = at == list.count - 1;
    list.RemoveAt(at);
    // The record's mark names the last event of its ping, or nothing when none is left.
    if (list.CountAtPing(events.eventPing) == 0) {
        files.eventMarkNumber = 0;
        files.eventMarkPending = 0;
        StampEventMark(true);
    } else if (at >= list.count ||
               list.entries[static_cast<std::size_t>(at)].pingNumber != events.eventPing) {
        files.eventMarkNumber = list.entries[static_cast<std::size_t>(at - 1)].number;
        files.eventMarkPending = 1;
        StampEventMark(true);
        files.eventMarkPending = 0;
    }
    SaveEventFiles();
    if (events.dialog.mode == EventDialogState::Mode::Review) {
        if (list.Empty()) {
            platform.MessageBox(text::kNoMoreEvents);
            CloseEventDialog();
        } else {
            events.dialog.index = wasLast ? -1 : events.dialog.index - 1;
            NextEvent();
        }
    }
    RebuildEventMarkers();
    observer->UpdateAllViews();
}

void CVantrelDoc::EditEvent() {
    events.savedMarkerPath = events.eventMarkerPath;
    if (recording.fileDenyWrite) {
        platform.MessageBox(text::kDenyWriteOnEdit);
    } else if (files.playbackEventFlag && RefuseChangeOfDamagedEventFile()) {
        // The annotation stays read-only.
    } else if (files.playbackEventFlag) {
        events.dialog.annotationEditable = true;
        events.dialog.editing = true;
    } else {
        platform.MessageBox(text::kSelectAnEvent);
    }
    observer->EventDialogChanged();
}

void CVantrelDoc::ToggleEventInput() {
    events.eventInputEnabled = events.eventInputEnabled ? 0 : 1;
}

void CVantrelDoc::ToggleHoldWhenAdding() {
    events.holdWhenAdding = events.holdWhenAdding ? 0 : 1;
}

void CVantrelDoc::ToggleEventMarkers() {
    events.showEventMarkers = events.showEventMarkers ? 0 : 1;
    observer->UpdateAllViews();
}

void CVantrelDoc::ToggleAutoEventPopup() {
    events.autoEventPopup = events.autoEventPopup ? 0 : 1;
    if (!events.autoEventPopup && events.dialog.visible) {
        events.dialog.visible = false;
        if (events.eventReviewShown || events.dialog.mode == EventDialogState::Mode::NewEvent) {
            CancelEvent();
        } else {
            observer->EventDialogChanged();
        }
    }
}
