#pragma once
// Helpers of the view tests: images of known content and pixel reading.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdint>

#include "imaging/RingImage.h"

// The value the test pattern has at image column x, row r: never 255 (the colour of marks).
inline std::uint8_t PatternValue(int x, int r) {
    return static_cast<std::uint8_t>((x * 7 + r * 3) % 250);
}

// Fills the image with the pattern, by image row (whatever its ring offset).
inline void FillPattern(RingImage& image) {
    for (int r = 0; r < image.Rows(); ++r) {
        std::uint8_t* row = image.Row(r);
        for (int x = 0; x < image.Width(); ++x) row[x] = PatternValue(x, r);
    }
}

inline QImage Grab(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor Pixel(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// The smallest rectangle holding every pixel inside `area` that `match` accepts; null when
// there is none.
template <typename Match>
QRect BoundsWhere(const QImage& image, QRect area, Match match) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (match(QColor(image.pixel(x, y)))) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// Text of colour (c, c, 0) drawn anti-aliased on black: every shade between black and it.
inline bool IsYellowOnBlack(QColor c) {
    return c.red() > 40 && c.red() == c.green() && c.blue() == 0;
}
