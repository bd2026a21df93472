#include "ui/imaging/CrossCursor.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kSize = 32;
constexpr int kCentre = 15;
constexpr int kGap = 3;

void DrawArms(QPainter& painter, const QColor& colour, int width) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(kCentre, 1, kCentre, kCentre - kGap);
    painter.drawLine(kCentre, kCentre + kGap, kCentre, kSize - 2);
    painter.drawLine(1, kCentre, kCentre - kGap, kCentre);
    painter.drawLine(kCentre + kGap, kCentre, kSize - 2, kCentre);
}

QCursor MakeCursor() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        DrawArms(painter, Qt::black, 3);
        DrawArms(painter, Qt::white, 1);
    }
    return QCursor(pixmap, kCentre, kCentre);
}

}  // namespace

const QCursor& CrossCursor() {
    static const QCursor cursor = MakeCursor();
    return cursor;
}
