#pragma once
// Drawing helpers shared by the waterfall views: ring images copied 1:1 at a scroll offset,
// the document's palette as a Qt colour table, fonts chosen by cell height, labels on a black
// background and the range scale.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

#include "imaging/ColourTables.h"
#include "imaging/RangeScale.h"

class QPainter;
class RingImage;

QColor ToQColor(ScaleColour colour);

// The palette (blue, green, red, 0 per entry) as opaque Qt colours.
QList<QRgb> ColourTableOf(const Palette& palette);

// The font of `family` whose cell (ascent + descent) is as high as cellHeight pixels, or the
// largest below it: the heights the views are given are cell heights.
QFont CellFont(const QString& family, int cellHeight);

// Draws the image with its top-left corner at -scroll: two blits of the ring's pieces, each
// clipped to the client area, wrapping the image's own rows without copying them. The client
// area is black wherever the image does not reach. format is Indexed8 (with colours) or RGB888.
void PaintRing(QPainter& painter, const RingImage& image, QImage::Format format,
               const QList<QRgb>& colours, QPoint scroll, QSize client);

// Text with its top-left corner at (left, top), on a black box of the text's cell.
void DrawLabel(QPainter& painter, int left, int top, const QString& text, const QFont& font,
               QColor colour);
// Text horizontally centred on x, top at `top`, on a black box.
void DrawCentredLabel(QPainter& painter, int x, int top, const QString& text, const QFont& font,
                      QColor colour);

// Ticks or grid lines and their labels.
void PaintRangeScale(QPainter& painter, const RangeScale& scale);
