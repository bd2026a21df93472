#include "models/DataFileCommands.h"

#include "document/CVantrelDoc.h"

bool RecordDataEnabled(const CVantrelDoc& doc) {
    return doc.recording.recordingOn == 0;
}

bool StopRecordingEnabled(const CVantrelDoc& doc) {
    return doc.recording.recordingOn != 0;
}

const char* RecordDataText(const CVantrelDoc& doc) {
    if (!doc.threeFrequencySystem) return nullptr;
    return doc.playbackMode ? "Copy Start ..." : "Record Data ...";
}

const char* StopRecordingText(const CVantrelDoc& doc) {
    if (!doc.threeFrequencySystem) return nullptr;
    return doc.playbackMode ? "Copy Stop ..." : "Stop Recording ...";
}

bool SettingsChangeAlarmEnabled(const CVantrelDoc& doc) {
    return doc.playbackMode != 0;
}

bool SettingsChangeAlarmChecked(const CVantrelDoc& doc) {
    return doc.files.settingsChangeAlarm != 0;
}

bool FilePlaybackBarEnabled(const CVantrelDoc& doc) {
    return doc.playbackMode != 0;
}
