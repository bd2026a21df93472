#pragma once
// What the document tells the windows. The application's main frame implements it; headless
// tools and tests keep the no-op defaults.

#include "app/WindowLayout.h"

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // Rebuild menus and frames for the head configuration.
    virtual void ApplyConfiguration() {}
    // Refresh the window titles.
    virtual void UpdateTitles() {}
    // Refresh the diagnostics dialog when it is visible.
    virtual void RefreshDiagnostics() {}
    // A cycle was processed: repaint the views, the status bars and the indicators.
    virtual void CycleDisplayed() {}
    // The active palette or the palette editor's curves changed: redraw the images and the
    // editor.
    virtual void PaletteChanged() {}
    // The images changed outside a cycle (re-draw, clear, hold): repaint every view.
    virtual void UpdateAllViews() {}
    // The display layout (composite mode, display channels, orientation) changed: rebuild
    // menus, bars and view arrangement; the composite view re-sizes its image.
    virtual void LayoutChanged() {}
    // Place and title the windows from the layout; createMissing after the settings were
    // loaded or a layout command ran.
    virtual void ApplyWindowLayout(bool /*createMissing*/) {}
    // The screen rectangle of a stored window; false when the window does not exist.
    virtual bool TakeWindowRect(int /*window*/, WindowRect& /*rect*/) { return false; }
};
