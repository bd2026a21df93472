#include "ui/sensors/COrientationView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include "document/CVantrelDoc.h"
#include "sensors/OrientationInstruments.h"
#include "shell/ViewHost.h"

namespace {

constexpr int kRepaintMs = 500;
// The read-outs sit this far below the rim of their instrument, clear of the heading dial's
// "180".
constexpr double kReadoutDrop = 38.0;
const QColor kSky(40, 90, 170);
const QColor kGround(150, 95, 40);
const QColor kRim(200, 200, 200);
const QColor kTick(230, 230, 230);

QPainterPath Ring(double outer, double inner) {
    QPainterPath path;
    path.addEllipse(QPointF(0, 0), outer, outer);
    path.addEllipse(QPointF(0, 0), inner, inner);
    return path;
}

QFont TimesFont(int pixels) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

COrientationView::COrientationView(CVantrelDoc& document, QWidget* parent)
    : QWidget(parent), doc(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 120);
    repaintTimer.setInterval(kRepaintMs);
    connect(&repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

QWidget* COrientationView::Frame() const {
    // A window of its own, or the child window of a window area that holds it.
    if (isWindow() || !parentWidget()) return const_cast<COrientationView*>(this);
    return parentWidget();
}

void COrientationView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Timer 2020 of the window: the instruments follow the document twice a second.
    if (!repaintTimer.isActive()) repaintTimer.start();
}

void COrientationView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    memory = QImage(size(), QImage::Format_RGB32);
    outerRing = Ring(36, 20);
    innerRing = Ring(36, 24);
    marker = QPainterPath();
    marker.moveTo(0, -36);
    marker.lineTo(-6, -46);
    marker.lineTo(6, -46);
    marker.closeSubpath();
}

void COrientationView::paintEvent(QPaintEvent*) {
    if (memory.size() != size()) memory = QImage(size(), QImage::Format_RGB32);
    {
        QPainter painter(&memory);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.fillRect(memory.rect(), Qt::black);
        PaintInstruments(painter);
    }
    QPainter(this).drawImage(0, 0, memory);
}

void COrientationView::PaintInstruments(QPainter& painter) {
    const double w = width(), h = height();
    const double radius = std::max(20.0, std::min(h * 0.28, w * 0.085));
    const double cy = h * 0.44;
    const double gaugeLength = std::max(30.0, h - 90);
    PaintGauge(painter, QPointF(w * 0.07, 30 + gaugeLength), gaugeLength, true);
    PaintGauge(painter, QPointF(w * 0.93, 30 + gaugeLength), gaugeLength, false);
    PaintPitchDisc(painter, QPointF(w * 0.26, cy), radius);
    PaintRollDisc(painter, QPointF(w * 0.47, cy), radius);
    PaintHeadingDial(painter, QPointF(w * 0.72, cy), radius);
}

void COrientationView::PaintReadout(QPainter& painter, QPointF centre, const QString& text,
                                    QColor colour, bool degreeSign) {
    const QFont font = TimesFont(18);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    const QPointF origin(centre.x() - width / 2, centre.y() + metrics.ascent() / 2);
    // A black shadow, then the text one pixel up and to the left.
    painter.setPen(Qt::black);
    painter.drawText(origin, text);
    painter.setPen(colour);
    painter.drawText(origin - QPointF(1, 1), text);
    if (degreeSign) {
        // The degree sign: a small raised "o" between the value and the unit.
        const double unitWidth = metrics.horizontalAdvance(QStringLiteral(" C"));
        painter.setFont(TimesFont(11));
        painter.drawText(origin + QPointF(width - unitWidth - 1, -metrics.ascent() * 0.45),
                         QStringLiteral("o"));
    }
}

void COrientationView::PaintGauge(QPainter& painter, QPointF base, double length, bool depth) {
    const OrientationReadings& v = doc.orientation.readings;
    const GaugeLabels labels = MakeGaugeLabels(doc.units);
    const double top = base.y() - length;
    QPainterPath tube;
    tube.addRoundedRect(QRectF(base.x() - 6, top, 12, length + 6), 6, 6);
    tube.addEllipse(base + QPointF(0, 10), 11, 11);
    painter.setPen(QPen(kRim, 1.5));
    painter.setBrush(QColor(30, 30, 40));
    painter.drawPath(tube.simplified());
    painter.setPen(QPen(kTick, 1));
    for (double y = base.y(); y >= top; y -= 8)
        painter.drawLine(QPointF(base.x() + 8, y), QPointF(base.x() + 13, y));
    QString valueText;
    QColor textColour = Qt::white;
    if (depth) {
        // Depth grows downward from the top of the scale.
        const double y = top + GaugeOffset(v.depthM, kDepthGaugeMin, kDepthGaugeMax, int(length));
        painter.setPen(QPen(QColor(0, 255, 120), 3));
        painter.drawLine(QPointF(base.x() - 8, y), QPointF(base.x() + 8, y));
        painter.setFont(TimesFont(14));
        painter.setPen(Qt::white);
        painter.drawText(QPointF(base.x() + 16, top + 5), QString::fromStdString(labels.depthTop));
        painter.drawText(QPointF(base.x() + 16, base.y() + 5),
                         QString::fromStdString(labels.depthBottom));
        valueText = QString::fromStdString(MakeOrientationTexts(v, doc.units).depth);
        textColour = QColor(0, 255, 120);
    } else {
        const int offset = GaugeOffset(v.temperatureC, kTempGaugeMin, kTempGaugeMax, int(length));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 100, 0));
        painter.drawRect(QRectF(base.x() - 5, base.y() - offset, 10, offset + 6));
        painter.drawEllipse(base + QPointF(0, 10), 8, 8);
        painter.setFont(TimesFont(14));
        painter.setPen(Qt::white);
        const QFontMetricsF m(TimesFont(14));
        const QString bottom = QString::fromStdString(labels.tempBottom);
        const QString topText = QString::fromStdString(labels.tempTop);
        painter.drawText(QPointF(base.x() - 16 - m.horizontalAdvance(bottom), base.y() + 5),
                         bottom);
        painter.drawText(QPointF(base.x() - 16 - m.horizontalAdvance(topText), top + 5), topText);
        valueText = QString::fromStdString(MakeOrientationTexts(v, doc.units).temperature);
        textColour = QColor(255, 140, 40);
    }
    const double x =
        depth ? std::max(base.x() + 20, 62.0) : std::min(base.x() - 20, width() - 62.0);
    PaintReadout(painter, QPointF(x, base.y() + 40), valueText, textColour, !depth);
}

void COrientationView::PaintPitchDisc(QPainter& painter, QPointF c, double r) {
    const PitchGround g = MakePitchGround(doc.orientation.readings.pitchDeg, r);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSky);
    painter.drawEllipse(c, r, r);
    if (g.sweepDeg > 0.0) {
        QPainterPath ground;
        ground.moveTo(c + QPointF(-g.halfChord, g.y));
        ground.lineTo(c + QPointF(g.halfChord, g.y));
        // Clockwise on the screen from startDeg (Qt's arcs run counter-clockwise).
        ground.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), -g.startDeg, -g.sweepDeg);
        ground.closeSubpath();
        painter.setBrush(kGround);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.drawPath(ground);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRim, 2));
    painter.drawEllipse(c, r, r);
    painter.setPen(QPen(kTick, 1));
    for (int k = -4; k <= 4; ++k) {
        const double y = c.y() + k * r / 5;
        const double half = k % 2 ? 4 : 9;
        painter.drawLine(QPointF(c.x() - half, y), QPointF(c.x() + half, y));
    }
    PaintReadout(
        painter, c + QPointF(0, r + kReadoutDrop),
        QString::fromStdString(MakeOrientationTexts(doc.orientation.readings, doc.units).pitch),
        Qt::white);
}

void COrientationView::PaintRollDisc(QPainter& painter, QPointF c, double r) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSky);
    painter.drawEllipse(c, r, r);
    painter.save();
    painter.translate(c);
    painter.rotate(doc.orientation.readings.rollDeg);
    QPainterPath lower;
    lower.moveTo(0, 0);
    lower.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 0, -180);  // the pie from 0 sweeping 180 down
    lower.closeSubpath();
    painter.setBrush(kGround);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawPath(lower);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(QPointF(-r * 0.45, -4), QPointF(r * 0.45, -4));
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRim, 2));
    painter.drawEllipse(c, r, r);
    painter.setPen(QPen(QColor(255, 220, 0), 2));
    painter.drawLine(c + QPointF(-r * 0.7, 0), c + QPointF(-r * 0.25, 0));
    painter.drawLine(c + QPointF(r * 0.25, 0), c + QPointF(r * 0.7, 0));
    PaintReadout(
        painter, c + QPointF(0, r + kReadoutDrop),
        QString::fromStdString(MakeOrientationTexts(doc.orientation.readings, doc.units).roll),
        Qt::white);
}

void COrientationView::PaintHeadingDial(QPainter& painter, QPointF c, double r) {
    const double heading = doc.orientation.readings.headingDeg;
    painter.setBrush(QColor(20, 20, 30));
    painter.setPen(QPen(kRim, 2));
    painter.drawEllipse(c, r, r);
    PaintCompassRose(painter, c, std::max(0.3, (r - 22) / 41.0));
    painter.setPen(QPen(kTick, 1.5));
    for (int k = 0; k < 24; ++k) {
        const double a = qDegreesToRadians(15.0 * k);
        const double inner = k % 6 ? r - 5 : r - 9;
        painter.drawLine(c + QPointF(std::sin(a) * inner, -std::cos(a) * inner),
                         c + QPointF(std::sin(a) * r, -std::cos(a) * r));
    }
    painter.setFont(TimesFont(14));
    painter.setPen(Qt::white);
    const QFontMetricsF m(TimesFont(14));
    const std::pair<const char*, QPointF> labels[] = {
        {"0", {0, -1}}, {"90", {1, 0}}, {"180", {0, 1}}, {"270", {-1, 0}}};
    for (const auto& [text, dir] : labels) {
        const QString t = QString::fromLatin1(text);
        const QPointF at = c + dir * (r + 13);
        painter.drawText(
            at - QPointF(m.horizontalAdvance(t) / 2 - dir.x() * m.horizontalAdvance(t) / 2,
                         -m.ascent() / 2 + 1),
            t);
    }
    const NeedleEnd end = HeadingNeedle(heading, r);
    painter.setPen(QPen(QColor(255, 60, 40), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(c, c + QPointF(end.x, end.y));
    painter.save();
    painter.translate(c);
    painter.rotate(heading);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 60, 40));
    QPainterPath cap;
    cap.moveTo(0, -(r - 4));
    cap.lineTo(-6, -(r - 16));
    cap.lineTo(6, -(r - 16));
    cap.closeSubpath();
    painter.drawPath(cap);
    painter.scale(r / 50.0, r / 50.0);
    painter.setBrush(QColor(255, 220, 0));
    painter.drawPath(marker);
    painter.restore();
    PaintReadout(
        painter, c + QPointF(0, r + kReadoutDrop),
        QString::fromStdString(MakeOrientationTexts(doc.orientation.readings, doc.units).heading),
        Qt::white);
}

void COrientationView::PaintCompassRose(QPainter& painter, QPointF c, double scale) {
    painter.save();
    painter.translate(c);
    painter.scale(scale, scale);
    const QPen outline(QColor(80, 80, 80), 1);
    for (int petal = 0; petal < 4; ++petal) {
        QPainterPath dark, light;
        dark.moveTo(0, 0);
        dark.lineTo(0, -41);
        dark.lineTo(-8, -8);
        dark.closeSubpath();
        light.moveTo(0, 0);
        light.lineTo(0, -41);
        light.lineTo(8, -8);
        light.closeSubpath();
        painter.setPen(outline);
        painter.setBrush(QColor(150, 150, 150));
        painter.drawPath(dark);
        painter.setBrush(QColor(250, 250, 200));
        painter.drawPath(light);
        painter.rotate(90);
    }
    painter.setPen(outline);
    painter.drawLine(QPointF(-20, -20), QPointF(20, 20));
    painter.drawLine(QPointF(-20, 20), QPointF(20, -20));
    painter.setPen(Qt::white);
    painter.setFont(TimesFont(12));
    const QFontMetricsF m(TimesFont(12));
    const std::pair<const char*, QPointF> letters[] = {
        {"N", {0, -30}}, {"E", {30, 0}}, {"S", {0, 30}}, {"W", {-30, 0}}};
    for (const auto& [text, at] : letters) {
        const QString t = QString::fromLatin1(text);
        const QPointF origin = at - QPointF(m.horizontalAdvance(t) / 2, -m.ascent() / 2 + 1);
        painter.setPen(Qt::black);
        painter.drawText(origin, t);
        painter.setPen(Qt::white);
        painter.drawText(origin - QPointF(1, 1), t);
    }
    painter.restore();
}

void COrientationView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    grabMouse();
    dragging = true;
    dragStart = event->globalPosition().toPoint();
    frameStart = Frame()->pos();
}

void COrientationView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging) return;
    Frame()->move(frameStart + (event->globalPosition().toPoint() - dragStart));
}

void COrientationView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging) return;
    releaseMouse();
    dragging = false;
    const QPoint offset = event->globalPosition().toPoint() - dragStart;
    Frame()->move(frameStart + offset);
    const QRect g = Frame()->frameGeometry();
    const QPoint topLeft =
        Frame()->isWindow() ? g.topLeft() : Frame()->parentWidget()->mapToGlobal(g.topLeft());
    doc.SetOrientationWindowRect(
        {topLeft.x(), topLeft.y(), topLeft.x() + g.width(), topLeft.y() + g.height()});
}

void COrientationView::keyPressEvent(QKeyEvent* event) {
    if (event->text() == QStringLiteral("H") || event->text() == QStringLiteral("h")) {
        doc.ToggleHold();
        if (host) host->RefreshIndicators();
        return;
    }
    QWidget::keyPressEvent(event);
}
