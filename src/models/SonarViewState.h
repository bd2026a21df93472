#pragma once
// What a waterfall view keeps of its own — zoom, scroll, drag, pointer and measuring state —
// and how mouse, size and zoom events change it. The Qt widgets translate their events into
// these calls and paint what the state says; everything here runs without a window, on the
// user-interface thread.

#include <cstdint>

#include "imaging/MeasureState.h"
#include "imaging/MeasureTools.h"

class CVantrelDoc;
class ViewHost;

// What a mouse move asks of the window.
enum class ViewRepaint {
    None,      // the next cycle repaints
    Now,       // repaint this view at once (a tool is armed, or the display is held)
    AllViews,  // the scroll moved: repaint every view
};

// A view without an image slot (a bare range-scale view).
inline constexpr int kNoSlot = -1;

// The scroll offset that keeps the image point under the pointer (window position `pointer`)
// in place when the zoom factor changes from oldFactor to newFactor:
// trunc(trunc((scroll + pointer) / oldFactor) * newFactor - pointer). A factor that is not
// positive leaves the offset at 0.
int ScrollAfterZoom(int scroll, int pointer, double oldFactor, double newFactor);

class SonarViewState {
public:
    // slot: image slot 0..2 (a side-scan channel), 3 (the composite) or kNoSlot.
    // publishesScroll: the scroll offset goes to the document while dragging.
    SonarViewState(CVantrelDoc& doc, int slot, bool publishesScroll);

    void SetHost(ViewHost* newHost) { host = newHost; }
    ViewHost* Host() const { return host; }
    CVantrelDoc& Document() const { return doc; }
    int Slot() const { return slot; }

    // --- Events --------------------------------------------------------------------------------
    // Window sized: the image follows the zoom mode and the client width. A window without
    // area (minimised) keeps its image as it is.
    void Size(int clientWidth, int clientHeight);
    ViewRepaint MouseMove(int x, int y);
    // The pointer left the window (no position).
    void PointerLeft();
    void LeftButtonDown(int x, int y);
    void LeftButtonUp();
    void CaptureChanged() { dragging = 0; }

    // --- Commands ------------------------------------------------------------------------------
    // "Fill the Screen", "100 %", "200 %": false when the mode was already chosen.
    bool FillScreen();
    bool SetZoom(int mode);
    // 'Z': Fill the Screen -> 100 % -> 200 % -> Fill the Screen, keeping the point under the
    // pointer where it is.
    void ZoomCycle();
    // 'R': back to the top-left corner, marks cleared.
    void RestoreImage();
    void ToggleGrid() { gridOn = gridOn ? 0 : 1; }
    // The zoom in percent, for the status bar.
    int ZoomPercent() const;
    // A measuring command: arms or disarms the tool (see ToggleTool).
    void ToggleMeasureTool(MeasureTool tool) { ToggleTool(measure, tool); }
    // What the measuring tools measure on: this view's image and the document's range.
    MeasureGeometry Geometry() const;

    // --- Painting ------------------------------------------------------------------------------
    // Start of a paint: the size of the slot's image as the document has it now.
    void ReadImageSize();
    // End of a paint: the range and row stamp under the pointer go to the status bar, the
    // pointer-inside flag to the document.
    void PointerReadout();

    // --- State (the view's own; names as the rest of the program uses them) ----------------
    std::int32_t imageWidth = 500;
    std::int32_t imageHeight = 500;
    std::int32_t scrollX = 0;
    std::int32_t scrollY = 0;
    std::int32_t zoomMode = 0;
    double zoomFactor = 1.0;
    std::int32_t sizeChanged = 1;
    std::int32_t gridOn = 1;
    MeasureState measure;
    std::int32_t dragging = 0;
    std::int32_t anchorX = 0, anchorY = 0;
    std::int32_t savedScrollX = 0, savedScrollY = 0;
    std::int32_t pointerInside = 0;
    std::int32_t lastX = 0, lastY = 0;
    std::int32_t pointerImageX = 0, pointerImageY = 0;
    std::int32_t pointerStarboard = 0;
    double pointerRange = 0.0;
    int clientWidth = 0;
    int clientHeight = 0;

private:
    bool HasSlot() const;
    void SetDocumentPointerFlag(std::int32_t inside);
    void ResetScroll();
    void StopPlaybackAndResume();

    CVantrelDoc& doc;
    ViewHost* host = nullptr;
    int slot;
    bool publishesScroll;
};
