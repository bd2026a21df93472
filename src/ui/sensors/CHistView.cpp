#include "ui/sensors/CHistView.h"

#include <QImage>
#include <QPainter>

#include "document/CVantrelDoc.h"
#include "sensors/HistoryChart.h"
#include "ui/imaging/ViewPainting.h"

namespace {
const QColor kGridColour(120, 30, 0);
const QColor kNameColour(255, 255, 0);
const QColor kSpanColour(200, 200, 0);
}  // namespace

CHistView::CHistView(CVantrelDoc& document, QWidget* parent) : QWidget(parent), doc(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CHistView::~CHistView() {
    doc.CloseHistoryChart();
}

void CHistView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    doc.ResizeHistoryChart(width(), height());  // the chart starts again, empty
}

void CHistView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const HistoryChart& chart = doc.historyChart;
    if (!chart.IsOpen() || !chart.Drawable()) return;
    QImage bitmap(chart.Row(0), chart.RowLength(), chart.Height(), chart.RowLength(),
                  QImage::Format_Indexed8);
    const ColourTable palette = HistoryPalette(doc.CurrentColourTable());
    QList<QRgb> colours(kPaletteEntries);
    for (int k = 0; k < kPaletteEntries; ++k) {
        colours[k] = qRgb(palette[k][0], palette[k][1], palette[k][2]);
    }
    bitmap.setColorTable(colours);
    painter.drawImage(0, 0, bitmap);
    PaintGrid(painter);
}

void CHistView::PaintGrid(QPainter& painter) {
    const HistoryChart& chart = doc.historyChart;
    const int m = kHistTopMargin;
    const int e = chart.BandHeight();
    const int column = chart.PlotColumn();
    const int h = chart.Height();
    painter.setPen(QPen(kGridColour, 1));
    for (int k = 0; k <= kHistBandCount; ++k) painter.drawLine(0, m + k * e, column, m + k * e);
    painter.drawLine(column, m - 1, column, h - m - 3);
    const QFont font = CellFont(QStringLiteral("Arial"), 16);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    for (const HistLabel& label : HistoryLabels(chart.RowLength(), h)) {
        painter.setPen(label.bandName ? kNameColour : kSpanColour);
        const int baseline = label.y + (metrics.ascent() - metrics.descent()) / 2;
        painter.drawText(label.x, baseline, QString::fromStdString(label.text));
    }
}
