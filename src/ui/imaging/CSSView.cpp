#include "ui/imaging/CSSView.h"

#include <QPainter>

#include "document/CVantrelDoc.h"
#include "imaging/RangeScale.h"
#include "shell/CommandIds.h"
#include "ui/imaging/MeasurePainting.h"
#include "ui/imaging/ViewPainting.h"

CSSView::CSSView(CVantrelDoc& doc, QWidget* parent) : CSecondView(doc, kNoSlot, false, parent) {
    AddBareZoomCommands();
}

CSSView::CSSView(CVantrelDoc& doc, int slot, bool publishesScroll, QWidget* parent)
    : CSecondView(doc, slot, publishesScroll, parent) {}

void CSSView::AddBareZoomCommands() {
    // Without an image there is nothing to size: the zoom only records the mode and factor.
    const int ids[] = {kCmdFillScreen, kCmdZoom100, kCmdZoom200};
    const double factors[] = {1.0, 1.0, 2.0};
    for (int mode = 0; mode < 3; ++mode) {
        const double factor = factors[mode];
        commands.Add(
            ids[mode],
            [this, mode, factor] {
                if (state.zoomMode == mode) return;
                state.zoomMode = mode;
                state.zoomFactor = factor;
                ShowZoom();
            },
            [this, mode] {
                return CommandState{true, state.zoomMode == mode, {}};
            });
    }
}

void CSSView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CVantrelDoc& doc = Document();
    range = doc.range;
    sideMode = doc.images.sideMode;
    units = doc.units;
    gridFlag = state.gridOn;
    state.ReadImageSize();
    PaintImage(painter);
    RangeScaleInput scale;
    scale.imageWidth = state.imageWidth;
    scale.clientHeight = height();
    scale.scrollX = state.scrollX;
    scale.range = range;
    scale.sideMode = sideMode;
    scale.units = units;
    scale.grid = gridFlag != 0;
    PaintRangeScale(painter, ComputeRangeScale(scale));
    // After the grid, so that no grid line runs through the range and frequency texts.
    if (state.Slot() != kNoSlot) PaintLabels(painter);
    if (state.Slot() != kNoSlot) PaintMeasureOverlay(painter, state, size(), units);
    // A head left out of polling (or absent from the record played) must not look like a
    // picture that merely stands still.
    if (state.Slot() != kNoSlot && !doc.HeadHasData(state.Slot())) {
        const int head = state.Slot();
        DrawNotice(painter, rect(),
                   QString::fromStdString(NoDataText(head, doc.heads[head].frequencyHz)));
    }
    PaintOverlay(painter);
    state.PointerReadout();
}

void CSSView::PaintOverlay(QPainter&) {}

void CSSView::PaintImage(QPainter& painter) {
    if (state.Slot() == kNoSlot) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The palette is read at every paint: a colour-table choice shows at the next one.
    imagePainter.Paint(painter, Document().images.ChannelImage(state.Slot()),
                       Document().palette.activePalette, QPoint(state.scrollX, state.scrollY),
                       size());
}

void CSSView::PaintLabels(QPainter& painter) {
    const HeadEntry& head = Document().heads[state.Slot()];
    const QFont font = CellFont(QStringLiteral("Arial"), kLabelFontHeight);
    const QColor colour = ToQColor(kLabelColour);
    DrawLabel(painter, kLabelLeft, height() - kRangeLabelAbove,
              QString::fromStdString(RangeLabelText(range, head.gainDb, units)), font, colour);
    DrawLabel(painter, kLabelLeft, height() - kFrequencyLabelAbove,
              QString::fromStdString(FrequencyLabelText(head.frequencyHz)), font, colour);
}
