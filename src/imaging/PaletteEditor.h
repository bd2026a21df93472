#pragma once
// The palette editor's model: three curves (red, green, blue), the palette they rasterise to,
// the selected curve and the grabbing and dragging of a curve spot with the mouse. The editor
// window draws what this says and forwards its mouse positions (client coordinates) to it; it
// holds no state of its own beyond that.

#include <optional>
#include <vector>

#include "imaging/ColourTables.h"
#include "imaging/PaletteCurves.h"

// What a left-button press in the editor's client area starts.
enum class EditorPress {
    None,        // nothing under the pointer
    GrabSpot,    // a curve spot is held: capture the mouse and send Drag / Release
    DragWindow,  // outside the curve box: the window follows the pointer
};

class PaletteEditor {
public:
    PaletteEditor();

    // --- Curves and palette -------------------------------------------------------------------
    // Curves rebuilt from a palette, and the palette copied.
    void SetCurvesFromPalette(const Palette& source);
    // Curves taken from stored points; a curve that breaks the rules is reset instead.
    void SetCurves(const std::int32_t counts[kCurveCount], const CurvePoints points[kCurveCount]);
    void SetPalette(const Palette& source) { palette = source; }
    const Curve& GetCurve(int c) const { return curves[c]; }
    const Palette& GetPalette() const { return palette; }

    // The curve the mouse edits: 0 red, 1 green, 2 blue (the "Set" buttons).
    void SelectCurve(int c);
    int SelectedCurve() const { return selected; }
    // "Reset": the curve becomes (16, 272)..(528, 16).
    void Reset(int c);

    // The polyline to draw for curve c: its points, and while a spot is dragged the spot at the
    // pointer.
    std::vector<CurvePoint> DrawnCurve(int c) const;
    // Rebuilds the whole palette from the drawn curves (every paint does this first).
    const Palette& Rasterise();

    // --- Mouse ---------------------------------------------------------------------------------
    // The spot of the selected curve under the pointer, if it can be grabbed: the pointer is
    // within 16 pixels of a grid column and within 5 pixels of the curve's height there. The
    // window moves the pointer onto the returned spot.
    std::optional<CurvePoint> GrabbableSpot(int x, int y) const;
    EditorPress Press(int x, int y);
    // While a spot is held: keeps the pointer inside the box and between the neighbouring
    // points and returns where the pointer must be. Reaching the left or right edge makes the
    // spot the first or last point.
    CurvePoint Drag(int x, int y);
    // Drops the held spot at the pointer: it is inserted at its grid column unless that column
    // already has a point. True when the curve gained the point.
    bool Release(int x, int y);
    bool Dragging() const { return dragging; }

private:
    enum class SpotRole { Inner, First, Last };

    Curve curves[kCurveCount];
    Palette palette{};
    int selected = 0;
    bool dragging = false;
    SpotRole role = SpotRole::Inner;
    CurvePoint spot;
    // The x range the held spot may take: between its neighbouring points.
    int lowBound = kCurveLeft;
    int highBound = kCurveRight;
};
