#pragma once
// No record is played while a dialog is open: the playback tick (timer 1030) stops for the
// lifetime of this guard, and playback goes on after a short delay when it ends.

class CVantrelDoc;

class PlaybackPause {
public:
    explicit PlaybackPause(CVantrelDoc& doc);
    ~PlaybackPause();
    PlaybackPause(const PlaybackPause&) = delete;
    PlaybackPause& operator=(const PlaybackPause&) = delete;

private:
    CVantrelDoc& doc;
};
