#include "ui/gps/CGPSTrackView.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <mutex>

#include "document/CVantrelDoc.h"
#include "gps/GpsDocumentOps.h"
#include "shell/CommandIds.h"
#include "ui/gps/SurveyPainting.h"

namespace {

constexpr int kMetricSpacing = 50;    // pixels between grid lines
constexpr int kImperialSpacing = 46;  // 150 ft at 1 pixel per metre
constexpr int kEdgeMargin = 10;       // closer to an edge than this re-centres the view
const QColor kGridColour(120, 120, 120);
const QColor kLabelColour(250, 250, 250);

}  // namespace

CGPSTrackView::CGPSTrackView(CVantrelDoc& document, QWidget* parent)
    : QWidget(parent), doc(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(60, 60);
    viewCommands.Add(kCmdRestoreImage, [this] { Restore(); });

}

QString CGPSTrackView::ScaleLabel(double zoom, bool imperial) {
    if (imperial) return QStringLiteral("%1ft/DIV").arg(static_cast<int>(150.0 / zoom));
    return QStringLiteral("%1m/DIV").arg(static_cast<int>(50.0 / zoom));
}

void CGPSTrackView::ResetOrigin() {
    origin = ClientCentre();
    pan = savedPan = QPoint();
    dragging = false;
    update();
}

void CGPSTrackView::Restore() {
    fitted = false;
    RestoreTrackZoom(doc);
    zoomUsed = doc.gpsConfig.trackZoom;
    FollowTrack();
    pan = savedPan = QPoint();
    origin = ClientCentre() - currentMetres * zoomUsed;
    update();
}

void CGPSTrackView::FollowTrack() {
    std::lock_guard<std::mutex> guard(doc.gps.lock);
    const GpsTrack& track = doc.gps.track;
    const std::vector<TrackSegment>& segments = track.trackPath;
    currentMetres = QPointF(track.lastDrawnX, track.lastDrawnY);
    // The cached path holds the track's first segments as long as the track was not erased
    // since: then only the new ones are added.
    const bool same =
        pathSegments <= segments.size() &&
        (pathSegments == 0 ||
         (segments.front().x0 == firstX0 && segments.front().y0 == firstY0 &&
          segments[pathSegments - 1].x1 == lastX1 && segments[pathSegments - 1].y1 == lastY1));
    if (!same) {
        path = QPainterPath();
        pathSegments = 0;
    }
    if (pathSegments == segments.size()) return;
    path.reserve(static_cast<int>(segments.size() + 1));
    // Each segment starts where the one before ended unless the track was broken there, so
    // the path is a few long polylines: far fewer elements to stroke than one per segment.
    for (std::size_t i = pathSegments; i < segments.size(); ++i) {
        const QPointF start(segments[i].x0, segments[i].y0);
        if (path.elementCount() == 0 || path.currentPosition() != start) path.moveTo(start);
        path.lineTo(segments[i].x1, segments[i].y1);
    }
    pathSegments = segments.size();
    firstX0 = segments.front().x0;
    firstY0 = segments.front().y0;
    lastX1 = segments.back().x1;
    lastY1 = segments.back().y1;
}

void CGPSTrackView::PaintGrid(QPainter& painter) const {
    const bool imperial = doc.units == 1;
    const int spacing = imperial ? kImperialSpacing : kMetricSpacing;
    QPen pen(kGridColour, 1, Qt::DashLine);
    painter.setPen(pen);
    const int w = sheet.width(), h = sheet.height();
    const int cx = w / 2, cy = h / 2;
    for (int x = cx; x < w; x += spacing) painter.drawLine(x, 0, x, h);
    for (int x = cx - spacing; x >= 0; x -= spacing) painter.drawLine(x, 0, x, h);
    for (int y = cy; y < h; y += spacing) painter.drawLine(0, y, w, y);
    for (int y = cy - spacing; y >= 0; y -= spacing) painter.drawLine(0, y, w, y);
}

void CGPSTrackView::PaintScaleLabel(QPainter& painter) const {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(18);
    painter.setFont(font);
    painter.setPen(kLabelColour);
    painter.drawText(QRect(4, 2, sheet.width() - 8, 24), Qt::AlignLeft | Qt::AlignTop,
                     ScaleLabel(zoomUsed, doc.units == 1));
}

PlotFrame CGPSTrackView::SurveyFrame() const {
    PlotFrame frame;
    {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        frame = FrameOf(doc.gps.track, doc.survey.plan);
    }
    frame.zoom = zoomUsed;
    const QPointF offset = origin - QPointF(pan);
    frame.offsetX = offset.x();
    frame.offsetY = offset.y();
    return frame;
}

void CGPSTrackView::FitPlan() {
    fitted = true;
    fitStep = doc.gpsConfig.trackZoom;
    pan = savedPan = QPoint();
    update();
}

bool CGPSTrackView::ApplyFit() {
    PlotFrame frame = SurveyFrame();
    const std::optional<PlotBox> box =
        Union(PlanBox(doc.survey.plan, frame), CoverageBox(doc.survey.coverage, frame));
    if (!box || width() <= 0 || height() <= 0) return false;
    // The plan's lines and their numbers and the seabed covered (the turns run beyond the
    // lines), with room for the read-out below.
    FitBox(frame, *box, width(), height(), 40);
    zoomUsed = frame.zoom;
    origin = QPointF(frame.offsetX, frame.offsetY);
    return true;
}

void CGPSTrackView::PaintSurvey(QPainter& painter) {
    const PlotFrame frame = SurveyFrame();
    const survey::SurveyState& state = doc.survey;
    PaintCoverage(sheet, state.coverage, frame);
    PaintPlanLines(painter, state.plan, frame);
}

void CGPSTrackView::RecentreIfNearEdge() {
    const QPointF p = CurrentPixel();
    const bool near = p.x() < kEdgeMargin || p.y() < kEdgeMargin || p.x() > width() - kEdgeMargin ||
                      p.y() > height() - kEdgeMargin;
    if (!near) return;
    pan = savedPan = QPoint();
    origin = ClientCentre() - currentMetres * zoomUsed;
}

void CGPSTrackView::FollowSize() {
    if (sheet.size() == size()) return;
    // A new size: a new off-screen image, the origin at the client centre (the pan stays).
    sheet = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    origin = ClientCentre();
}

const QImage& CGPSTrackView::Render() {
    FollowSize();
    if (sheet.isNull()) return sheet;
    FollowTrack();
    // A zoom step leaves the fit: the view goes on from where it was at the new step.
    if (fitted && doc.gpsConfig.trackZoom != fitStep) fitted = false;
    if (!fitted || !ApplyFit()) {
        fitted = false;
        zoomUsed = doc.gpsConfig.trackZoom;
        RecentreIfNearEdge();
    }
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    PaintGrid(painter);
    PaintSurvey(painter);
    painter.save();
    painter.translate(origin - QPointF(pan));
    painter.scale(zoomUsed, zoomUsed);
    QPen trackPen(QColor(0, 255, 0), 1);
    trackPen.setCosmetic(true);
    painter.setPen(trackPen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
    const std::optional<survey::VesselPose>& vessel = doc.survey.vessel;
    PaintVessel(painter, CurrentPixel(), vessel ? std::optional(vessel->headingDeg) : std::nullopt);
    PaintSteeringOverlay(painter, doc.survey.steering, sheet.width(), sheet.height());
    PaintScaleLabel(painter);
    return sheet;
}

void CGPSTrackView::paintEvent(QPaintEvent* /*event*/) {
    Render();
    QPainter(this).drawImage(0, 0, sheet);
}

void CGPSTrackView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FollowSize();
}

void CGPSTrackView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    pressPoint = event->position().toPoint();
    dragging = true;
}

void CGPSTrackView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging) return;
    pan = savedPan + pressPoint - event->position().toPoint();
    update();
}

void CGPSTrackView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging) return QWidget::mouseReleaseEvent(event);
    dragging = false;
    savedPan = pan;
}

void CGPSTrackView::FillContextMenu(QMenu& menu) const {
    const std::pair<const char*, int> items[] = {{"GPS Comm Port &Settings", kCmdGpsPortSettings},
                                                 {"&Speed Correction", kCmdSpeedCorrection},
                                                 {nullptr, 0},
                                                 {"&Erase GPS Tracks", kCmdEraseGpsTracks},
                                                 {"Zoom &In", kCmdTrackZoomIn},
                                                 {"Zoom &Out", kCmdTrackZoomOut}};
    for (const auto& [text, id] : items) {
        if (!text) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromLatin1(text));
        action->setData(id);
        action->setEnabled(frameCommands && frameCommands->State(id).enabled);
        const CommandTable* table = frameCommands;
        connect(action, &QAction::triggered, &menu, [table, id = id] {
            if (table) table->Execute(id);
        });
    }
}

void CGPSTrackView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("gpsTrackMenu"));
    FillContextMenu(menu);
    menu.exec(event->globalPos());
}

void CGPSTrackView::closeEvent(QCloseEvent* event) {
    // A closed plotter stays closed at the next start.
    doc.SetGpsTrackShown(false);
    QWidget::closeEvent(event);
}
