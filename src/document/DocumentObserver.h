#pragma once
// What the document tells the windows. The application's main frame implements it; headless
// tools and tests keep the no-op defaults.

#include <string>

#include "shell/WindowLayout.h"

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // Rebuild menus and frames for the head configuration.
    virtual void ApplyConfiguration() {}
    // Refresh the window titles.
    virtual void UpdateTitles() {}
    // Refresh the diagnostics dialog when it is visible.
    virtual void RefreshDiagnostics() {}
    // The link state of a head changed, or the connections were rebuilt: refresh the panes
    // that show them.
    virtual void HeadLinksChanged() {}
    // A cycle was processed: repaint the views, the status bars and the indicators.
    virtual void CycleDisplayed() {}
    // The active palette or the palette editor's curves changed: redraw the images and the
    // editor.
    virtual void PaletteChanged() {}
    // The images changed outside a cycle (re-draw, clear, hold): repaint every view.
    virtual void UpdateAllViews() {}
    // The GPS reader finished a read, or the age of the fix moved on: refresh the GPS dialog
    // (its received list, counters and age) and the panes that show the GPS.
    virtual void GpsStatusChanged() {}
    // The GPS device was lost or is back: "GPS device /dev/ttyUSB0 lost", said once each time.
    virtual void GpsDeviceMessage(const std::string& /*text*/) {}
    // The display layout (composite mode, display channels, orientation) changed: rebuild
    // menus, bars and view arrangement; the composite view re-sizes its image.
    virtual void LayoutChanged() {}

    // --- Data files ------------------------------------------------------------------------
    // The main window's title text: the document's windowTitle, or while recording that
    // title followed by "  Saved: n kBytes".
    virtual void WindowTextChanged(const std::string& /*text*/) {}
    // A file was opened for playback: the playback bar's slider gets range 0..100, page 10,
    // tick marks every 10 and position 0, its play-speed progress bar and spin range 0..20 at
    // playSpeed, and the bar is shown.
    virtual void PlaybackBarReset(int /*playSpeed*/) {}
    // The playback slider is to show this position (0..100).
    virtual void PlaybackSliderMoved(int /*position*/) {}
    // The play speed changed: the progress bar and the spin show it.
    virtual void PlaySpeedChanged(int /*playSpeed*/) {}
    // Playback or recording started or ended: refresh the command states and the bars.
    virtual void DataFileStateChanged() {}
    // The message pane of the status bar shows this text (empty: nothing): what playback
    // stepped over in the file being played.
    virtual void PlaybackMessage(const std::string& /*text*/) {}
    // A data file was opened or created: add it to the recent-file list.
    virtual void AddRecentFile(const std::string& /*path*/) {}
    // Place and title the windows from the layout; createMissing after the settings were
    // loaded or a layout command ran.
    virtual void ApplyWindowLayout(bool /*createMissing*/) {}
    // The screen rectangle of a stored window; false when the window does not exist.
    virtual bool TakeWindowRect(int /*window*/, WindowRect& /*rect*/) { return false; }
    // The event dialog's state (events.dialog) changed: show, hide or refill the dialog.
    virtual void EventDialogChanged() {}
};
