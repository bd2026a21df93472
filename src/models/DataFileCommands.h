#pragma once
// The enabled, checked and text states of the data-file commands, for the main window's
// command table. The commands themselves are document operations (StartRecording,
// StopRecording, OpenPlayback, ToggleSettingsChangeAlarm).

class CVantrelDoc;

// "Record Data..." (32807) while nothing is recorded; "Stop Recording..." (32808) while it is.
bool RecordDataEnabled(const CVantrelDoc& doc);
bool StopRecordingEnabled(const CVantrelDoc& doc);
// Texts of the two items when the menu is rebuilt: in a three-frequency system
// "Copy Start ..." / "Copy Stop ..." in playback and "Record Data ..." / "Stop Recording ..."
// in real time; nullptr keeps the resource text.
const char* RecordDataText(const CVantrelDoc& doc);
const char* StopRecordingText(const CVantrelDoc& doc);
// "Settings Change &Alarm" (32854): enabled in playback, checked while on.
bool SettingsChangeAlarmEnabled(const CVantrelDoc& doc);
bool SettingsChangeAlarmChecked(const CVantrelDoc& doc);
// "&File Playback Bar" (32809): enabled in playback (checked while the bar is visible, which
// the main window knows).
bool FilePlaybackBarEnabled(const CVantrelDoc& doc);
// "Reverse Playback" (32863) has no command behind it.
constexpr bool ReversePlaybackEnabled() {
    return false;
}
