#include "ui/imaging/IndexedImagePainter.h"

#include <QPainter>
#include <algorithm>

#include "imaging/RingImage.h"

namespace {

constexpr QRgb kBlack = 0xff000000u;

}  // namespace

void IndexedImagePainter::UpdateColours(const Palette& palette) {
    if (coloursValid && palette == colourSource) return;
    for (int k = 0; k < kPaletteEntries; ++k) {
        colours[k] = qRgb(palette[4 * k + 2], palette[4 * k + 1], palette[4 * k]);
    }
    colourSource = palette;
    coloursValid = true;
}

void IndexedImagePainter::FillFrame(const RingImage& image, QPoint scroll) {
    const int width = frame.width();
    const int height = frame.height();
    // Window columns [left, right) and rows [top, bottom) show image pixels.
    const int left = std::clamp(-scroll.x(), 0, width);
    const int right = std::clamp(image.Width() - scroll.x(), left, width);
    const int top = std::clamp(-scroll.y(), 0, height);
    const int bottom = std::clamp(image.Rows() - scroll.y(), top, height);
    for (int y = 0; y < height; ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(frame.scanLine(y));
        if (y < top || y >= bottom || left == right) {
            std::fill_n(out, width, kBlack);
            continue;
        }
        std::fill(out, out + left, kBlack);
        // Row(r) follows the ring, so the seam between its two blocks needs no special case.
        const std::uint8_t* in = image.Row(y + scroll.y()) + (left + scroll.x());
        for (int x = left; x < right; ++x) out[x] = colours[*in++];
        std::fill(out + right, out + width, kBlack);
    }
}

void IndexedImagePainter::Paint(QPainter& painter, const RingImage& image, const Palette& palette,
                                QPoint scroll, QSize client) {
    if (client.isEmpty()) return;
    if (!image.Exists() || image.BytesPerPixel() != 1) {
        painter.fillRect(QRect(QPoint(0, 0), client), Qt::black);
        return;
    }
    if (frame.size() != client) frame = QImage(client, QImage::Format_RGB32);
    UpdateColours(palette);
    FillFrame(image, scroll);
    painter.drawImage(QPoint(0, 0), frame);
}
