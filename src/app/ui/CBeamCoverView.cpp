#include "app/ui/CBeamCoverView.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
// 120, 260 and 540 kHz in the colours of the composite image's planes.
const QColor kBeamColours[3] = {QColor(230, 60, 60), QColor(60, 200, 80), QColor(70, 120, 255)};
const QColor kEchoSounderColour(240, 220, 60);

QString Metres(double metres) {
    return QString::fromStdString(CoverageDistanceText(metres));
}

// A round step for the distance ticks: about six ticks a side.
double TickStep(double extent) {
    const double raw = std::max(1.0, extent / 6);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= raw) return m * power;
    }
    return 10 * power;
}
}  // namespace

CBeamCoverView::CBeamCoverView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("beamCoverView"));
    setMinimumSize(320, 220);
    settings = NominalBeamSettings({120, 260, 540});
}

void CBeamCoverView::SetSettings(const BeamCoverageSettings& value) {
    settings = value;
    update();
}

QStringList CBeamCoverView::FigureLines() const {
    QStringList lines;
    for (const SideScanBeam& beam : settings.beams) {
        const SideCoverage side = ComputeSideCoverage(beam, settings.heightM, settings.rangeM);
        if (!side.covered) {
            lines << QStringLiteral("%1 kHz: no seabed coverage at this height and range")
                         .arg(beam.frequencyKHz);
            continue;
        }
        lines << QStringLiteral(
                     "%1 kHz: %2 .. %3 each side (%4 per side%5), nadir gap %6, "
                     "along-track %7")
                     .arg(beam.frequencyKHz)
                     .arg(Metres(side.innerM), Metres(side.outerM), Metres(side.widthM),
                          side.rangeLimited ? QStringLiteral(", range-limited") : QString(),
                          Metres(NadirGap(side)), Metres(side.alongTrackM));
    }
    lines << QStringLiteral("Echo sounder %1 kHz: footprint %2 across")
                 .arg(settings.echoSounder.frequencyKHz)
                 .arg(Metres(EchoSounderFootprint(settings.echoSounder, settings.heightM)));
    return lines;
}

void CBeamCoverView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter, rect(), false);
}

void CBeamCoverView::Render(QPainter& painter, const QRect& rect, bool withFigures) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, QColor(18, 28, 48));
    const int lineHeight = painter.fontMetrics().height();
    const int figuresHeight =
        withFigures ? lineHeight * (static_cast<int>(FigureLines().size()) + 1) : 0;
    const QRect area =
        rect.adjusted(lineHeight, lineHeight, -lineHeight, -figuresHeight - 2 * lineHeight);
    // The picture spans the farthest edge any beam reaches, both sides, at one scale.
    double extent = settings.heightM;
    for (const SideScanBeam& beam : settings.beams) {
        const SideCoverage side = ComputeSideCoverage(beam, settings.heightM, settings.rangeM);
        if (side.covered) extent = std::max(extent, side.outerM);
    }
    extent *= 1.05;
    const double scale = std::max(
        1e-6, std::min(area.width() / (2 * extent), area.height() / (settings.heightM * 1.25)));
    // The cross-section sits in the middle of the area, the seabed below it.
    const double seabedY = area.center().y() + settings.heightM * 0.5 * scale;
    painter.fillRect(QRectF(area.left(), seabedY, area.width(), area.bottom() - seabedY),
                     QColor(58, 46, 34));
    const QPointF fish(area.center().x(), seabedY - settings.heightM * scale);
    DrawBeams(painter, fish, scale);
    DrawSeabed(painter, QRect(area.left(), static_cast<int>(seabedY), area.width(), lineHeight * 2),
               scale, extent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(fish, 4, 4);
    painter.setPen(Qt::white);
    painter.drawText(fish + QPointF(8, -4),
                     QStringLiteral("towfish, %1 above the seabed").arg(Metres(settings.heightM)));
    if (withFigures) {
        DrawFigures(painter, rect.adjusted(lineHeight, rect.height() - figuresHeight, 0, 0));
    }
    painter.restore();
}

void CBeamCoverView::DrawBeams(QPainter& painter, QPointF fish, double scale) const {
    for (int i = 0; i < 3; ++i) {
        const SideCoverage side =
            ComputeSideCoverage(settings.beams[i], settings.heightM, settings.rangeM);
        if (!side.covered) continue;
        QColor fill = kBeamColours[i];
        fill.setAlpha(70);
        painter.setBrush(fill);
        painter.setPen(QPen(kBeamColours[i], 1.5));
        const double seabedY = fish.y() + settings.heightM * scale;
        for (const int sign : {-1, 1}) {
            QPolygonF fan;
            fan << fish << QPointF(fish.x() + sign * side.innerM * scale, seabedY)
                << QPointF(fish.x() + sign * side.outerM * scale, seabedY);
            painter.drawPolygon(fan);
        }
    }
    const double half = EchoSounderFootprint(settings.echoSounder, settings.heightM) / 2;
    QColor fill = kEchoSounderColour;
    fill.setAlpha(110);
    painter.setBrush(fill);
    painter.setPen(QPen(kEchoSounderColour, 1.5));
    const double seabedY = fish.y() + settings.heightM * scale;
    painter.drawPolygon(QPolygonF{fish, QPointF(fish.x() - half * scale, seabedY),
                                  QPointF(fish.x() + half * scale, seabedY)});
}

void CBeamCoverView::DrawSeabed(QPainter& painter, const QRect& band, double scale,
                                double extent) const {
    const double centre = band.center().x();
    painter.setPen(QPen(QColor(200, 170, 120), 2));
    painter.drawLine(QPointF(band.left(), band.top()), QPointF(band.right(), band.top()));
    painter.setPen(QColor(220, 220, 220));
    const double step = TickStep(extent);
    for (double d = 0; d <= extent; d += step) {
        for (const int sign : {-1, 1}) {
            if (d == 0 && sign < 0) continue;  // one tick at the nadir
            const double x = centre + sign * d * scale;
            painter.drawLine(QPointF(x, band.top()), QPointF(x, band.top() + 5));
            const QString label = QStringLiteral("%1 m").arg(d, 0, 'f', 0);
            const int w = painter.fontMetrics().horizontalAdvance(label);
            painter.drawText(QPointF(x - w / 2.0, band.top() + 5 + painter.fontMetrics().ascent()),
                             label);
        }
    }
    painter.drawText(QPointF(band.left(), band.top() - 4), QStringLiteral("Port"));
    const int w = painter.fontMetrics().horizontalAdvance(QStringLiteral("Stbd"));
    painter.drawText(QPointF(band.right() - w, band.top() - 4), QStringLiteral("Stbd"));
}

void CBeamCoverView::DrawFigures(QPainter& painter, const QRect& rect) const {
    const QStringList lines = FigureLines();
    const int lineHeight = painter.fontMetrics().height();
    for (int i = 0; i < lines.size(); ++i) {
        painter.setPen(i < 3 ? kBeamColours[i] : kEchoSounderColour);
        painter.drawText(QPointF(rect.left(), rect.top() + (i + 1) * lineHeight), lines[i]);
    }
}
