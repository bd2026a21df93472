#include "ui/imaging/CPaletteView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "document/CVantrelDoc.h"
#include "imaging/PaletteEditor.h"
#include "shell/ViewHost.h"
#include "ui/imaging/ViewPainting.h"

namespace {

// Layout of the controls under the curve box and to its right.
constexpr int kStripTop = 280;
constexpr int kStripHeight = 14;
constexpr int kColumnLeft = 16;
constexpr int kColumnStep = 120;
constexpr int kSetTop = 304;
constexpr int kResetTop = 328;
constexpr int kSideLeft = 560;
constexpr int kSideLabelLeft = 600;
constexpr int kClientWidth = 660;
constexpr int kClientHeight = 364;

const char* const kCurveNames[kCurveCount] = {"Red", "Green", "Blue"};
const QColor kCurveColours[kCurveCount] = {QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200)};

QPoint ToPoint(const CurvePoint& p) {
    return QPoint(p.x, p.y);
}

}  // namespace

CPaletteView::CPaletteView(CVantrelDoc& document, QWidget* parent)
    : QWidget(parent), doc(document), editor(&document.OpenPaletteEditor()) {
    setMouseTracking(true);
    setAutoFillBackground(false);
    CreateControls();
    Refresh();
}

QSize CPaletteView::sizeHint() const {
    return QSize(kClientWidth, kClientHeight);
}

void CPaletteView::CreateControls() {
    auto* group = new QButtonGroup(this);
    for (int c = 0; c < kCurveCount; ++c) {
        const int left = kColumnLeft + c * kColumnStep;
        setButtons[c] = new QRadioButton(QStringLiteral("Set"), this);
        setButtons[c]->setGeometry(left + 60, kSetTop, 56, 20);
        group->addButton(setButtons[c], c);
        resetButtons[c] = new QPushButton(QStringLiteral("Reset"), this);
        resetButtons[c]->setGeometry(left + 56, kResetTop, 60, 24);
        connect(setButtons[c], &QRadioButton::toggled, this, [this, c](bool on) {
            if (on && editor) editor->SelectCurve(c);
            update();
        });
        connect(resetButtons[c], &QPushButton::clicked, this, [this, c] {
            if (editor) editor->Reset(c);
            update();
        });
    }
    applyBox = new QCheckBox(QStringLiteral("Apply"), this);
    applyBox->setGeometry(kSideLeft, 16, 90, 22);
    connect(applyBox, &QCheckBox::toggled, this, [this](bool on) {
        doc.SetUseCustomPalette(on);
        update();
        if (host) host->UpdateAllViews();
    });
    closeButton = new QPushButton(QStringLiteral("X"), this);
    closeButton->setGeometry(kSideLeft, 48, 32, 24);
    connect(closeButton, &QPushButton::clicked, this, &CPaletteView::CloseRequested);
    loadButton = new QPushButton(QStringLiteral("Load"), this);
    loadButton->setGeometry(kSideLeft, 80, 80, 24);
    connect(loadButton, &QPushButton::clicked, this, [this] {
        doc.LoadPaletteDialog();
        Refresh();
    });
    saveButton = new QPushButton(QStringLiteral("Save"), this);
    saveButton->setGeometry(kSideLeft, 112, 80, 24);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (editor) doc.SaveEditorPalette();
    });
}

void CPaletteView::Detach() {
    editor = nullptr;
    draggingWindow = false;
    for (QWidget* w : findChildren<QWidget*>()) w->setEnabled(false);
}

void CPaletteView::Refresh() {
    const QSignalBlocker blockApply(applyBox);
    applyBox->setChecked(doc.palette.useCustomPalette != 0);
    if (editor) {
        const QSignalBlocker blockSet(setButtons[editor->SelectedCurve()]);
        setButtons[editor->SelectedCurve()]->setChecked(true);
    }
    update();
}

void CPaletteView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    PaintBox(painter);
    PaintLabels(painter);
    if (!editor) return;
    const Palette& rasterised = editor->Rasterise();
    PaintPaletteStrip(painter, rasterised);
    PaintCurves(painter);
    ApplyToDocument();
}

void CPaletteView::PaintBox(QPainter& painter) {
    const QRect box(kCurveLeft, kCurveTop, kCurveRight - kCurveLeft, kCurveBottom - kCurveTop);
    painter.fillRect(box, Qt::black);
    painter.setPen(QColor(60, 60, 60));
    for (int n = 0; n < kGridColumns; ++n) {
        painter.drawLine(GridColumnX(n), kCurveTop, GridColumnX(n), kCurveBottom);
    }
    for (int y = kCurveTop; y <= kCurveBottom; y += kGridStep) {
        painter.drawLine(kCurveLeft, y, kCurveRight, y);
    }
}

void CPaletteView::PaintPaletteStrip(QPainter& painter, const Palette& palette) {
    const QList<QRgb> colours = ColourTableOf(palette);
    for (int k = 0; k < kPaletteEntries; ++k) {
        painter.fillRect(kCurveLeft + 2 * k, kStripTop, 2, kStripHeight, QColor(colours[k]));
    }
}

void CPaletteView::PaintCurves(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The selected curve last and wider, so it lies on top of the others.
    const int selected = editor->SelectedCurve();
    for (int k = 1; k <= kCurveCount; ++k) {
        const int c = (selected + k) % kCurveCount;
        const std::vector<CurvePoint> line = editor->DrawnCurve(c);
        QPolygon polygon;
        for (const CurvePoint& p : line) polygon << ToPoint(p);
        painter.setPen(QPen(kCurveColours[c], c == selected ? 2 : 1));
        painter.drawPolyline(polygon);
        if (c != selected) continue;
        for (const CurvePoint& p : line) painter.fillRect(p.x - 2, p.y - 2, 5, 5, kCurveColours[c]);
    }
}

void CPaletteView::PaintLabels(QPainter& painter) {
    painter.setPen(palette().windowText().color());
    for (int c = 0; c < kCurveCount; ++c) {
        const int left = kColumnLeft + c * kColumnStep;
        painter.fillRect(left, kSetTop + 4, 10, 12, kCurveColours[c]);
        painter.drawText(left + 14, kSetTop + 15, QString::fromLatin1(kCurveNames[c]));
    }
    painter.drawText(kSideLabelLeft, 64, QStringLiteral("Close"));
}

void CPaletteView::ApplyToDocument() {
    doc.ApplyEditor();
    const Palette& active = doc.palette.activePalette;
    if (doc.palette.useCustomPalette && active != shownPalette) {
        shownPalette = active;
        if (host) host->UpdateAllViews();
    }
}

void CPaletteView::MovePointerTo(const CurvePoint& spot) {
    QCursor::setPos(mapToGlobal(ToPoint(spot)));
}

void CPaletteView::mousePressEvent(QMouseEvent* event) {
    if (!editor || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    switch (editor->Press(p.x(), p.y())) {
        case EditorPress::GrabSpot:
            update();
            break;
        case EditorPress::DragWindow:
            draggingWindow = true;
            dragOrigin = event->globalPosition().toPoint();
            break;
        case EditorPress::None:
            break;
    }
}

void CPaletteView::mouseMoveEvent(QMouseEvent* event) {
    if (!editor) return;
    const QPoint p = event->position().toPoint();
    if (draggingWindow) {
        const QPoint global = event->globalPosition().toPoint();
        Q_EMIT WindowDragged(global - dragOrigin);
        dragOrigin = global;
        return;
    }
    if (editor->Dragging()) {
        const CurvePoint at = editor->Drag(p.x(), p.y());
        if (ToPoint(at) != p) MovePointerTo(at);
        update();
        return;
    }
    if (const std::optional<CurvePoint> spot = editor->GrabbableSpot(p.x(), p.y())) {
        setCursor(Qt::PointingHandCursor);
        if (ToPoint(*spot) != p) MovePointerTo(*spot);
    } else {
        unsetCursor();
    }
}

void CPaletteView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    draggingWindow = false;
    if (editor && editor->Dragging()) {
        const QPoint p = event->position().toPoint();
        editor->Release(p.x(), p.y());
        update();
    }
}
