#include "ui/sensors/CEchoSounder.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "document/CVantrelDoc.h"
#include "sensors/EchoSounder.h"
#include "ui/imaging/ViewPainting.h"

namespace {

const QColor kLineColour(120, 30, 0);
const QColor kScaleColour(255, 255, 0);
const QColor kReadoutColour(250, 250, 0);

QList<QRgb> TableColours(const ColourTable& table) {
    QList<QRgb> colours(kPaletteEntries);
    for (int k = 0; k < kPaletteEntries; ++k)
        colours[k] = qRgb(table[k][0], table[k][1], table[k][2]);
    return colours;
}

void DrawTextAt(QPainter& painter, const EsText& text, const QFont& font, QColor colour) {
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(text.x, text.y + QFontMetrics(font).ascent(),
                     QString::fromStdString(text.text));
}

}  // namespace

CEchoSounder::CEchoSounder(CVantrelDoc& document, QWidget* parent)
    : QWidget(parent), doc(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CEchoSounder::~CEchoSounder() {
    doc.CloseEchoSounder();
}

void CEchoSounder::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    doc.ResizeEchoSounder(width(), height());
}

void CEchoSounder::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const EchoSounderImage& image = doc.echoSounder;
    // A window smaller than its margins and scale shows nothing but black.
    if (!image.IsOpen() || !image.Drawable()) return;
    if (bitmap.width() != image.Width() || bitmap.height() != image.Height()) {
        bitmap = QImage(image.Width(), image.Height(), QImage::Format_Indexed8);
    }
    for (int y = 0; y < image.Height(); ++y) image.CopyRow(y, bitmap.scanLine(y));
    bitmap.setColorTable(TableColours(doc.CurrentColourTable()));
    painter.drawImage(0, 0, bitmap);
    PaintOverlay(painter);
    if (!doc.HeadHasData(kHeadES)) {
        DrawNotice(painter, rect(), QString::fromStdString(NoDataText(kHeadES, 0)));
    }
}

void CEchoSounder::PaintOverlay(QPainter& painter) {
    const EchoSounderImage& image = doc.echoSounder;
    const EchoSounderOverlay overlay = MakeEchoSounderOverlay(
        image.Width(), image.Height(), doc.esRange, doc.heads[kHeadES].gainDb, doc.units,
        doc.display.showEsGrid != 0, doc.orientation.altitudeShown);
    painter.setPen(QPen(kLineColour, 1));
    for (int y : overlay.gridLines) painter.drawLine(0, y, overlay.frameX, y);
    painter.drawLine(0, overlay.bottomLineY, image.Width(), overlay.bottomLineY);
    painter.drawLine(overlay.frameX, kEsMargin, overlay.frameX, overlay.bottomLineY);
    const QFont small = CellFont(QStringLiteral("Arial"), 16);
    for (const EsText& label : overlay.scaleLabels) DrawTextAt(painter, label, small, kScaleColour);
    const QFont large = CellFont(QStringLiteral("Arial"), 22);
    DrawTextAt(painter, overlay.rangeText, large, kReadoutColour);
    DrawTextAt(painter, overlay.altitudeText, large, kReadoutColour);
}

// Clicks capture and release the mouse; nothing else happens.
void CEchoSounder::mousePressEvent(QMouseEvent*) {
    grabMouse();
}
void CEchoSounder::mouseReleaseEvent(QMouseEvent*) {
    releaseMouse();
}
