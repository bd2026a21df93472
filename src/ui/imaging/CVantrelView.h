#pragma once
// The composite waterfall: the 24-bit image in which the 120, 260 and 540 kHz channels are the
// red, green and blue planes, shown 1:1 with the range scale and grid, the measuring overlay,
// the event markers, the range text, the status corner (spinner, "Held", "sc") and the wait
// text while the heads' system information is read. A double click hands the clicked image
// point to the event dialog; 'H' holds the display.

#include <QImage>
#include <cstdint>

#include "ui/imaging/CSecondView.h"

class CVantrelView : public CSecondView {
    Q_OBJECT
public:
    explicit CVantrelView(CVantrelDoc& doc, QWidget* parent = nullptr);
    // The composite images exist only while the view does.
    ~CVantrelView() override;

    // "Show Range": the range text in the bottom-left corner.
    std::int32_t showRange = 1;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void PaintImage(QPainter& painter);
    void PaintScale(QPainter& painter);
    void PaintOverlayTexts(QPainter& painter);
    void PaintEventMarkers(QPainter& painter);

    // The memory bitmap: the visible part of the composite, client-sized.
    QImage frame;
};
