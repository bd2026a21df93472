#include "ui/gps/SurveyPainting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace {

const QColor kLineColour(150, 200, 255);
const QColor kActiveColour(255, 220, 0);
const QColor kOverlayBack(0, 0, 0, 170);
const QColor kAlarmColour(200, 0, 0);
constexpr double kDegrees = M_PI / 180.0;

QPointF PixelOf(const PlotFrame& frame, const survey::GeoPoint& point) {
    double x = 0, y = 0;
    frame.Pixel(point, x, y);
    return {x, y};
}

// Arrow heads along a segment, every 120 pixels (at least one, at its middle).
void PaintDirection(QPainter& painter, QPointF from, QPointF to) {
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    if (length < 12) return;
    const QPointF u = d / length, n(-u.y(), u.x());
    const int arrows = std::max(1, static_cast<int>(length / 120));
    for (int k = 0; k < arrows; ++k) {
        const QPointF tip = from + d * ((k + 0.5) / arrows) + u * 5;
        painter.drawPolygon(QPolygonF({tip, tip - u * 11 + n * 5, tip - u * 11 - n * 5}));
    }
}

}  // namespace

void PaintCoverage(QImage& sheet, const survey::Coverage& coverage, const PlotFrame& frame) {
    if (sheet.format() != QImage::Format_ARGB32_Premultiplied) return;
    ::PaintCoverage(coverage, frame, reinterpret_cast<std::uint32_t*>(sheet.bits()), sheet.width(),
                    sheet.height(), static_cast<int>(sheet.bytesPerLine() / 4));
}

void PaintPlanLines(QPainter& painter, const survey::LinePlan& plan, const PlotFrame& frame) {
    if (!frame.Valid()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    for (std::size_t i = 0; i < plan.lines.size(); ++i) {
        const std::vector<survey::GeoPoint>& points = plan.lines[i].points;
        if (points.size() < 2) continue;
        const bool active = static_cast<int>(i) == plan.active;
        const QColor colour = active ? kActiveColour : kLineColour;
        QPolygonF line;
        for (const survey::GeoPoint& p : points) line << PixelOf(frame, p);
        painter.setPen(QPen(colour, active ? 3 : 1.5, active ? Qt::SolidLine : Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
        if (active) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            for (int k = 0; k + 1 < line.size(); ++k) PaintDirection(painter, line[k], line[k + 1]);
        }
        // The number a little before the line's start, against its direction.
        const QPointF d = line[1] - line[0];
        const double length = std::max(1.0, std::hypot(d.x(), d.y()));
        const QPointF at = line[0] - d / length * 12;
        const QRectF box(at.x() - 14, at.y() - 9, 28, 18);
        painter.setPen(colour);
        painter.drawText(box, Qt::AlignCenter, QString::number(i + 1));
    }
    painter.restore();
}

void PaintVessel(QPainter& painter, QPointF at, std::optional<double> headingDeg) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    if (!headingDeg) {
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(at, 4.0, 4.0);
        painter.restore();
        return;
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.translate(at);
    painter.rotate(*headingDeg);
    // Bow up, 22 pixels long, 10 wide.
    QPainterPath hull;
    hull.moveTo(0, -13);
    hull.cubicTo(5, -6, 5, 4, 5, 9);
    hull.lineTo(-5, 9);
    hull.cubicTo(-5, 4, -5, -6, 0, -13);
    painter.drawPath(hull);
    painter.restore();
}

void PaintSteeringOverlay(QPainter& painter, const survey::SteeringReadout& readout, int width,
                          int height) {
    if (!readout.active) return;
    const QString lines[] = {
        QStringLiteral("Line: %1").arg(QString::fromStdString(readout.line)),
        QStringLiteral("Cross-track: %1").arg(QString::fromStdString(readout.crossTrack)),
        QStringLiteral("To end: %1  %2")
            .arg(QString::fromStdString(readout.toEnd), QString::fromStdString(readout.timeToEnd)),
        QStringLiteral("Line %1  COG %2")
            .arg(QString::fromStdString(readout.bearing), QString::fromStdString(readout.course))};
    painter.save();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    int textWidth = 0;
    for (const QString& text : lines) textWidth = std::max(textWidth, metrics.horizontalAdvance(text));
    const int rowHeight = metrics.height() + 2;
    const QRect box(6, height - 6 - 4 * rowHeight - 8, std::min(width - 12, textWidth + 16),
                    4 * rowHeight + 8);
    painter.fillRect(box, kOverlayBack);
    for (int k = 0; k < 4; ++k) {
        const QRect row(box.left() + 8, box.top() + 4 + k * rowHeight, box.width() - 16, rowHeight);
        if (k == 1 && readout.offLine) painter.fillRect(row.adjusted(-6, 0, 6, 0), kAlarmColour);
        painter.setPen(Qt::white);
        painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
    }
    painter.restore();
}
