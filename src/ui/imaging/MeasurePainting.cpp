#include "ui/imaging/MeasurePainting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include "models/SonarViewState.h"
#include "ui/imaging/ViewPainting.h"

namespace {

const QColor kMarkColour(0, 200, 200);
const QColor kMarkLabelColour(250, 250, 250);
constexpr int kMarkPenWidth = 2;
constexpr int kCrossArm = 8;
constexpr int kMarkLabelHeight = 22;
constexpr int kShadowOffset = 2;

void PaintShapes(QPainter& painter, const OverlayPlan& plan, QPoint offset, const QColor& colour) {
    painter.setPen(QPen(colour, kMarkPenWidth, Qt::SolidLine));
    for (const OverlaySegment& line : plan.lines) {
        painter.drawLine(QPoint(line.from.x, line.from.y) + offset,
                         QPoint(line.to.x, line.to.y) + offset);
    }
    for (const OverlayPoint& cross : plan.crosses) {
        const QPoint c = QPoint(cross.x, cross.y) + offset;
        painter.drawLine(c.x() - kCrossArm, c.y(), c.x() + kCrossArm, c.y());
        painter.drawLine(c.x(), c.y() - kCrossArm, c.x(), c.y() + kCrossArm);
    }
}

void PaintLabels(QPainter& painter, const OverlayPlan& plan, QPoint offset, int imageRight,
                 QSize client, bool shadow) {
    const QFont font = CellFont(QStringLiteral("Arial"), kMarkLabelHeight);
    const QFontMetrics metrics(font);
    for (const OverlayLabel& label : plan.labels) {
        const QString text = QString::fromStdString(label.text);
        const QPoint at = QPoint(label.anchor.x, label.anchor.y) + offset;
        const LabelBox box = PlaceLabel(at.x(), at.y(), imageRight, client.width(), client.height(),
                                        metrics.horizontalAdvance(text), metrics.height());
        if (shadow) {
            painter.fillRect(box.left + kShadowOffset, box.top + kShadowOffset,
                             metrics.horizontalAdvance(text), metrics.height(), Qt::black);
        }
        DrawLabel(painter, box.left, box.top, text, font, kMarkLabelColour);
    }
}

}  // namespace

void PaintMeasureOverlay(QPainter& painter, SonarViewState& state, QSize client, int units) {
    const OverlayPoint pointer{state.lastX + state.scrollX, state.lastY + state.scrollY};
    const OverlayPlan plan = PlanMeasureOverlay(state.measure, state.Geometry(), units,
                                                state.pointerInside != 0, pointer);
    const QPoint offset(-state.scrollX, -state.scrollY);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const bool shadow = state.measure.showMarkShadow != 0;
    if (shadow)
        PaintShapes(painter, plan, offset + QPoint(kShadowOffset, kShadowOffset), Qt::black);
    PaintShapes(painter, plan, offset, kMarkColour);
    PaintLabels(painter, plan, offset, state.imageWidth - state.scrollX, client, shadow);
    painter.restore();
}
