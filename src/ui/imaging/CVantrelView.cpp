#include "ui/imaging/CVantrelView.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "document/CVantrelDoc.h"
#include "imaging/CompositeOverlay.h"
#include "imaging/RangeScale.h"
#include "shell/CommandIds.h"
#include "shell/ViewHost.h"
#include "ui/imaging/MeasurePainting.h"
#include "ui/imaging/ViewPainting.h"

namespace {

constexpr QRgb kBlack = 0xff000000u;
const QColor kOverlayTextColour(250, 250, 0);
const QColor kMarkerColour(250, 0, 0);
constexpr int kMarkerPenWidth = 2;
constexpr int kMarkerDiameter = 24;
constexpr int kMarkerFontHeight = 18;
constexpr int kMarkerShadowOffset = 2;
constexpr int kMarkerBox = 30;
constexpr int kMarkerBoxLeft = 15;
constexpr int kMarkerBoxAbove = 10;

// Copies the visible part of a 24-bit ring image (R, G, B bytes) into a client-sized frame
// at -scroll; black where the image does not reach.
void FillFrame(QImage& frame, const RingImage& image, QPoint scroll) {
    const int width = frame.width();
    const int height = frame.height();
    const int left = std::clamp(-scroll.x(), 0, width);
    const int right = std::clamp(image.Width() - scroll.x(), left, width);
    const int top = std::clamp(-scroll.y(), 0, height);
    const int bottom = std::clamp(image.Rows() - scroll.y(), top, height);
    for (int y = 0; y < height; ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(frame.scanLine(y));
        std::fill_n(out, width, kBlack);
        if (y < top || y >= bottom || left == right) continue;
        const std::uint8_t* in = image.Row(y + scroll.y()) + 3 * (left + scroll.x());
        for (int x = left; x < right; ++x, in += 3) out[x] = qRgb(in[0], in[1], in[2]);
    }
}

}  // namespace

CVantrelView::CVantrelView(CVantrelDoc& doc, QWidget* parent)
    : CSecondView(doc, kCompositeSlot, false, parent) {
    commands.Add(
        kCmdShowRange,
        [this] {
            showRange = showRange ? 0 : 1;
            update();
        },
        [this] {
            return CommandState{true, showRange != 0, {}};
        });
}

CVantrelView::~CVantrelView() {
    Document().ReleaseCompositeImages();
}

void CVantrelView::paintEvent(QPaintEvent*) {
    QElapsedTimer timer;
    timer.start();
    CVantrelDoc& doc = Document();
    state.ReadImageSize();
    QPainter painter(this);
    PaintImage(painter);
    PaintScale(painter);
    PaintOverlayTexts(painter);
    PaintMeasureOverlay(painter, state, size(), doc.units);
    PaintEventMarkers(painter);
    // Refreshes the main window's read-outs and indicators.
    state.PointerReadout();
    ViewFeedback feedback = doc.feedback;
    feedback.drawTimeAverage = NextDrawTimeAverage(feedback.drawTimeAverage, timer.elapsed());
    doc.SetViewFeedback(feedback);
}

void CVantrelView::PaintImage(QPainter& painter) {
    if (size().isEmpty()) return;
    if (frame.size() != size()) frame = QImage(size(), QImage::Format_RGB32);
    const ImageSet& images = Document().images;
    const RingImage& image = images.CompositeImage();
    if (images.compositeMode && image.Exists() && image.BytesPerPixel() == 3) {
        FillFrame(frame, image, QPoint(state.scrollX, state.scrollY));
    } else {
        frame.fill(Qt::black);
    }
    painter.drawImage(QPoint(0, 0), frame);
}

void CVantrelView::PaintScale(QPainter& painter) {
    const CVantrelDoc& doc = Document();
    RangeScaleInput scale;
    scale.imageWidth = state.imageWidth;
    scale.clientHeight = height();
    scale.scrollX = state.scrollX;
    scale.range = doc.range;
    scale.sideMode = doc.images.sideMode;
    scale.units = doc.units;
    scale.grid = state.gridOn != 0;
    PaintRangeScale(painter, ComputeRangeScale(scale));
}

void CVantrelView::PaintOverlayTexts(QPainter& painter) {
    const CVantrelDoc& doc = Document();
    CompositeOverlayInput in;
    in.clientWidth = width();
    in.clientHeight = height();
    in.showRange = showRange != 0;
    in.compositeMode = doc.images.compositeMode != 0;
    in.range = doc.range;
    in.units = doc.units;
    in.playbackMode = doc.playbackMode != 0;
    in.discoveryMode = doc.discoveryMode != 0;
    in.held = doc.images.held != 0;
    in.acceptedCycleCount = doc.acceptedCycleCount;
    in.speedCorrection = doc.speed.speedCorrection != 0;
    for (const OverlayText& text : CompositeOverlayTexts(in)) {
        DrawLabel(painter, text.left, text.top, QString::fromStdString(text.text),
                  CellFont(QStringLiteral("Arial"), text.fontHeight), kOverlayTextColour);
    }
}

void CVantrelView::PaintEventMarkers(QPainter& painter) {
    const CVantrelDoc& doc = Document();
    if (!doc.events.showEventMarkers || doc.events.eventMarkerPath.empty()) return;
    const int shift = MarkerRowShift(doc.images.held != 0, doc.playbackMode != 0,
                                     doc.images.compositeRowCounter, doc.images.heldRowCounter);
    painter.save();
    painter.setClipRect(QRect(-state.scrollX, -state.scrollY, state.imageWidth, state.imageHeight));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setFont(CellFont(QStringLiteral("Arial"), kMarkerFontHeight));
    // With "Show Mark Shadow" a dark copy goes under each marker, so that its number stays
    // readable over the bright echo of the target it marks.
    const bool shadow = state.measure.showMarkShadow != 0;
    for (const bool under : {true, false}) {
        if (under && !shadow) continue;
        const int offset = under ? kMarkerShadowOffset : 0;
        painter.setPen(QPen(under ? QColor(Qt::black) : kMarkerColour, kMarkerPenWidth));
        for (const EventMarker& marker : doc.events.eventMarkerPath) {
            const QPoint at(marker.x - state.scrollX + offset,
                            marker.row + shift - state.scrollY + offset);
            painter.drawEllipse(at, kMarkerDiameter / 2, kMarkerDiameter / 2);
            const QRect box(at.x() - kMarkerBoxLeft, at.y() - kMarkerBoxAbove, kMarkerBox,
                            kMarkerBox);
            painter.drawText(box, Qt::AlignCenter, QString::number(marker.number));
        }
    }
    painter.restore();
}

void CVantrelView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        CSecondView::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    const int x = p.x() + state.scrollX;
    const int row = p.y() + state.scrollY;
    state.ReadImageSize();
    // Only a point of the image names a row and a column.
    const bool inImage = x >= 0 && row >= 0 && x < state.imageWidth && row < state.imageHeight;
    if (inImage && Document().images.CompositeExists()) {
        if (ViewHost* host = Host()) host->BeginNewEvent(row, x);
    }
    event->accept();
}

void CVantrelView::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && event->key() == Qt::Key_H) {
        Document().ToggleHold();
        update();
    }
    CSecondView::keyPressEvent(event);
}

void CVantrelView::wheelEvent(QWheelEvent* event) {
    // The wheel has no meaning here; it does not scroll the window around the view either.
    event->accept();
}
