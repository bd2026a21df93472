#include "ui/imaging/ViewPainting.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <array>

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

void DrawNotice(QPainter& painter, const QRect& window, const QString& text) {
    const QFont font = CellFont(QStringLiteral("Arial"), kNoticeFontHeight);
    const QFontMetrics metrics(font);
    const int padding = metrics.height() / 2;
    const QString shown =
        metrics.elidedText(text, Qt::ElideRight, std::max(0, window.width() - 4 * padding));
    QRect box(0, 0, metrics.horizontalAdvance(shown) + 2 * padding, metrics.height() + 2 * padding);
    box.moveCenter(window.center());
    const QColor colour = ToQColor(kLabelColour);
    painter.fillRect(box, Qt::black);
    painter.setPen(QPen(colour, 2));
    painter.drawRect(box.adjusted(1, 1, -1, -1));
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, shown);
}

void PaintRangeScale(QPainter& painter, RangeScale scale) {
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
    const QFontMetrics metrics(font);
    std::array<int, kMaxScaleTicks> widths{};
    for (int i = 0; i < scale.count; ++i) {
        widths[i] = metrics.horizontalAdvance(QString::number(scale.ticks[i].label));
    }
    SpaceScaleLabels(scale, widths);
    const QColor textColour = ToQColor(kScaleTextColour);
    for (int i = 0; i < scale.count; ++i) {
        const ScaleTick& tick = scale.ticks[i];
        if (!tick.labelShown) continue;
        DrawCentredLabel(painter, tick.x + tick.labelShift, scale.labelTop,
                         QString::number(tick.label), font, textColour);
    }
}
