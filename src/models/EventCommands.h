#pragma once
// The enabled and checked states of the Events menu, for the main window's command table.
// The commands themselves are document operations (ToggleEventInput, ToggleHoldWhenAdding,
// ToggleEventMarkers, ToggleAutoEventPopup, ReviewEvents).

class CVantrelDoc;

struct EventCommandState {
    bool enabled = false;
    bool checked = false;
};

// "&Enable Event Input" (32846): in playback or while recording in real time, never while
// copying; checked while on.
EventCommandState EnableEventInputState(const CVantrelDoc& doc);
// "&Hold When Adding Events" (32867): in playback or while recording; checked while on.
EventCommandState HoldWhenAddingState(const CVantrelDoc& doc);
// "Hide Event &Marker" (32844): in playback or while recording; checked while hidden.
EventCommandState HideEventMarkerState(const CVantrelDoc& doc);
// "&Auto Event Info PopUp" (32847): in playback only; checked while on.
EventCommandState AutoEventPopupState(const CVantrelDoc& doc);
// "Event &Review/Edit" (32848): in playback and not copying.
EventCommandState EventReviewState(const CVantrelDoc& doc);
