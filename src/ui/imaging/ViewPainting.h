#pragma once
// Drawing helpers shared by the waterfall views: the document's palette as Qt colours, fonts
// chosen by cell height, labels on a black background and the range scale.

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include "imaging/ColourTables.h"
#include "imaging/RangeScale.h"

class QPainter;

QColor ToQColor(ScaleColour colour);

// The palette (blue, green, red, 0 per entry) as opaque Qt colours.
QList<QRgb> ColourTableOf(const Palette& palette);

// The font of `family` whose cell (ascent + descent) is as high as cellHeight pixels, or the
// largest below it: the heights the views are given are cell heights.
QFont CellFont(const QString& family, int cellHeight);

// Text with its top-left corner at (left, top), on a black box of the text's cell.
void DrawLabel(QPainter& painter, int left, int top, const QString& text, const QFont& font,
               QColor colour);
// Text horizontally centred on x, top at `top`, on a black box.
void DrawCentredLabel(QPainter& painter, int x, int top, const QString& text, const QFont& font,
                      QColor colour);

// A notice across the middle of a window (a head gives no data): text in a framed box, the
// text elided when the window is narrower than it.
void DrawNotice(QPainter& painter, const QRect& window, const QString& text);

// Ticks or grid lines and their labels; labels that would run into each other are thinned
// out (SpaceScaleLabels).
void PaintRangeScale(QPainter& painter, RangeScale scale);
