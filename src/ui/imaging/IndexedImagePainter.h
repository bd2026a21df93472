#pragma once
// Paints an 8-bit ring image 1:1 (never stretched) with its top-left corner at -scroll, in the
// colours of a palette, black wherever the image does not reach. The visible rows are looked
// up through the palette into a client-sized 32-bit frame, which is then copied to the window
// in one block: Qt's own drawing of an indexed image goes through a generic per-pixel path
// that costs twice as long (figures in docs/performance.md).

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QSize>
#include <array>

#include "imaging/ColourTables.h"

class QPainter;
class RingImage;

class IndexedImagePainter {
public:
    void Paint(QPainter& painter, const RingImage& image, const Palette& palette, QPoint scroll,
               QSize client);

private:
    void UpdateColours(const Palette& palette);
    void FillFrame(const RingImage& image, QPoint scroll);

    Palette colourSource{};
    bool coloursValid = false;
    std::array<QRgb, kPaletteEntries> colours{};
    // The window's memory bitmap: client size, reallocated when the client size changes.
    QImage frame;
};
