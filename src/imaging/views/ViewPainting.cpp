#include "imaging/views/ViewPainting.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "imaging/RingImage.h"

QColor ToQColor(ScaleColour colour) {
    return QColor(colour.r, colour.g, colour.b);
}

QList<QRgb> ColourTableOf(const Palette& palette) {
    QList<QRgb> colours(kPaletteEntries);
    for (int k = 0; k < kPaletteEntries; ++k) {
        colours[k] = qRgb(palette[4 * k + 2], palette[4 * k + 1], palette[4 * k]);
    }
    return colours;
}

QFont CellFont(const QString& family, int cellHeight) {
    // Fonts are chosen once per family and height; the search measures the font.
    static QHash<QString, int> pixelSizes;
    const QString key = family + QLatin1Char('/') + QString::number(cellHeight);
    QFont font(family);
    if (const auto it = pixelSizes.constFind(key); it != pixelSizes.constEnd()) {
        font.setPixelSize(*it);
        return font;
    }
    int size = std::max(1, cellHeight);
    for (; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cellHeight) break;
    }
    font.setPixelSize(size);
    pixelSizes.insert(key, size);
    return font;
}

namespace {

// One contiguous block of image rows [firstRow, firstRow + rows), clipped to the client area.
void PaintPiece(QPainter& painter, const std::uint8_t* data, int firstRow, int rows,
                const RingPieces& pieces, int bytesPerPixel, QImage::Format format,
                const QList<QRgb>& colours, QPoint scroll, QSize client) {
    if (!data || rows <= 0) return;
    const int top = std::max(firstRow, scroll.y());
    const int bottom = std::min(firstRow + rows, scroll.y() + client.height());
    // Start on a 4-pixel boundary so every wrapped row begins 32-bit aligned; the few columns
    // left of the window are clipped by the painter.
    const int left = std::max(0, scroll.x()) & ~3;
    const int right = std::min(pieces.width, scroll.x() + client.width());
    if (top >= bottom || left >= right) return;
    const std::uint8_t* start = data +
                                static_cast<std::size_t>(top - firstRow) * pieces.bytesPerLine +
                                static_cast<std::size_t>(left) * bytesPerPixel;
    QImage piece(start, right - left, bottom - top, pieces.bytesPerLine, format);
    if (format == QImage::Format_Indexed8) piece.setColorTable(colours);
    painter.drawImage(QPoint(left - scroll.x(), top - scroll.y()), piece);
}

}  // namespace

void PaintRing(QPainter& painter, const RingImage& image, QImage::Format format,
               const QList<QRgb>& colours, QPoint scroll, QSize client) {
    const QRect clientRect(QPoint(0, 0), client);
    const QRect imageRect(-scroll.x(), -scroll.y(), image.Width(), image.Rows());
    if (!image.Exists() || !imageRect.contains(clientRect)) painter.fillRect(clientRect, Qt::black);
    if (!image.Exists()) return;
    const RingPieces pieces = image.Pieces();
    const int bytesPerPixel = image.BytesPerPixel();
    PaintPiece(painter, pieces.first, 0, pieces.firstRows, pieces, bytesPerPixel, format, colours,
               scroll, client);
    PaintPiece(painter, pieces.second, pieces.firstRows, pieces.secondRows, pieces, bytesPerPixel,
               format, colours, scroll, client);
}

void DrawLabel(QPainter& painter, int left, int top, const QString& text, const QFont& font,
               QColor colour) {
    const QFontMetrics metrics(font);
    painter.fillRect(left, top, metrics.horizontalAdvance(text), metrics.height(), Qt::black);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(left, top + metrics.ascent(), text);
}

void DrawCentredLabel(QPainter& painter, int x, int top, const QString& text, const QFont& font,
                      QColor colour) {
    const int width = QFontMetrics(font).horizontalAdvance(text);
    DrawLabel(painter, x - width / 2, top, text, font, colour);
}

void PaintRangeScale(QPainter& painter, const RangeScale& scale) {
    const QPen penA(ToQColor(kScalePenA), 1);
    const QPen penB(ToQColor(kScalePenB), 1);
    for (int i = 0; i < scale.count; ++i) {
        const ScaleTick& tick = scale.ticks[i];
        if (tick.lineBottom <= tick.lineTop) continue;
        painter.setPen(tick.pen == ScalePen::A ? penA : penB);
        // The line's end is excluded, as the scale describes it.
        painter.drawLine(tick.x, tick.lineTop, tick.x, tick.lineBottom - 1);
    }
    const QFont font = CellFont(QStringLiteral("Arial"), kScaleFontHeight);
    const QColor textColour = ToQColor(kScaleTextColour);
    for (int i = 0; i < scale.count; ++i) {
        const ScaleTick& tick = scale.ticks[i];
        DrawCentredLabel(painter, tick.x + tick.labelShift, scale.labelTop,
                         QString::number(tick.label), font, textColour);
    }
}
