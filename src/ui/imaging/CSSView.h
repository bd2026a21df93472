#pragma once
// A waterfall view with a range scale. The side-scan views (CSonarLView, CSonarMView,
// CSonarHView) show their slot's 8-bit image 1:1 at the scroll offset in the colours of the
// document's active palette, with the range/gain and frequency labels, the scale and grid and
// the pointer read-out. Created on its own (no image slot) it shows black with the scale and
// its zoom commands only set its zoom.

#include <cstdint>

#include "ui/imaging/CSecondView.h"
#include "ui/imaging/IndexedImagePainter.h"

class CSSView : public CSecondView {
    Q_OBJECT
public:
    explicit CSSView(CVantrelDoc& doc, QWidget* parent = nullptr);

    // What the scale was last drawn with: the document's range, side mode and units, copied at
    // each paint, and the grid flag, which follows the view's grid.
    std::int32_t range = 30;
    std::int32_t sideMode = 3;
    std::int32_t units = 0;
    std::int32_t gridFlag = 1;

protected:
    // A side-scan view of image slot 0..2; the head of the same index gives gain and frequency.
    CSSView(CVantrelDoc& doc, int slot, bool publishesScroll, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    // Drawn over the image and the scale, before the pointer read-out.
    virtual void PaintOverlay(QPainter& painter);

private:
    void AddBareZoomCommands();
    void PaintImage(QPainter& painter);
    void PaintLabels(QPainter& painter);

    IndexedImagePainter imagePainter;
};
