// The main window's side of the events: the Events menu and the "Event Information" dialog,
// which follows the document's dialog state.

#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "models/EventCommands.h"
#include "shell/CommandIds.h"
#include "ui/datafiles/CAnnotation.h"

namespace {

CommandState StateOf(const EventCommandState& state) {
    return CommandState{state.enabled, state.checked, {}};
}

}  // namespace

void CMainFrame::RegisterEventCommands() {
    commands.Add(
        kCmdEnableEventInput, [this] { doc.ToggleEventInput(); },
        [this] { return StateOf(EnableEventInputState(doc)); });
    commands.Add(
        kCmdHoldWhenAdding, [this] { doc.ToggleHoldWhenAdding(); },
        [this] { return StateOf(HoldWhenAddingState(doc)); });
    commands.Add(
        kCmdHideEventMarker, [this] { doc.ToggleEventMarkers(); },
        [this] { return StateOf(HideEventMarkerState(doc)); });
    commands.Add(
        kCmdAutoEventPopup, [this] { doc.ToggleAutoEventPopup(); },
        [this] { return StateOf(AutoEventPopupState(doc)); });
    commands.Add(
        kCmdEventReview, [this] { doc.ReviewEvents(); },
        [this] { return StateOf(EventReviewState(doc)); });
}

void CMainFrame::BeginNewEvent(int row, int x) {
    // A dialog kept open for an event being typed comes to the front instead.
    if (!doc.BeginNewEvent(row, x) && eventDialog && doc.events.dialog.visible) {
        eventDialog->raise();
        eventDialog->activateWindow();
    }
    RefreshNow();
}

void CMainFrame::EventDialogChanged() {
    if (!doc.events.dialog.created) return;
    if (!eventDialog) {
        eventDialog = new CAnnotation(doc, this);
        // The main window's keys stay with a review (its accelerators are its actions).
        eventDialog->SetReviewActions(actions());
    }
    eventDialog->ShowState(doc.events.dialog);
    ScheduleRefresh(true);
}
