#include "models/EventCommands.h"

#include "document/CVantrelDoc.h"

namespace {

bool PlayingOrRecording(const CVantrelDoc& doc) {
    return doc.playbackMode != 0 || doc.recording.recordingOn != 0;
}

}  // namespace

EventCommandState EnableEventInputState(const CVantrelDoc& doc) {
    return {PlayingOrRecording(doc) && !doc.recording.copyMode, doc.events.eventInputEnabled != 0};
}

EventCommandState HoldWhenAddingState(const CVantrelDoc& doc) {
    return {PlayingOrRecording(doc), doc.events.holdWhenAdding != 0};
}

EventCommandState HideEventMarkerState(const CVantrelDoc& doc) {
    return {PlayingOrRecording(doc), doc.events.showEventMarkers == 0};
}

EventCommandState AutoEventPopupState(const CVantrelDoc& doc) {
    return {doc.playbackMode != 0, doc.events.autoEventPopup != 0};
}

EventCommandState EventReviewState(const CVantrelDoc& doc) {
    return {doc.playbackMode != 0 && !doc.recording.copyMode, false};
}
