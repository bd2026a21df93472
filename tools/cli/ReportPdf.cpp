// The contact report as an A4 PDF, drawn with QPainter on a QPdfWriter from the same content as
// the HTML page: the overview page (title, recordings, problems, the overview picture and its
// note), then two contacts a page, each a heading, its fields beside the composite chip, and
// the channel chips below.

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <filesystem>

#include "ReportImages.h"
#include "common/TextEncoding.h"

namespace cli {

namespace {

constexpr int kDpi = 150;

QString Text(const std::string& s) {
    return QString::fromStdString(Utf8OrLatin1(s));
}

QImage Picture(const std::string& folder, const std::string& file) {
    return QImage(QString::fromStdString((std::filesystem::path(folder) / file).string()));
}

// Draws the picture scaled into the box, keeping its proportions; the height used.
int DrawFitted(QPainter& painter, const QImage& image, const QRect& box) {
    if (image.isNull()) return 0;
    const QSize size = image.size().scaled(box.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(box.topLeft(), size), image);
    return size.height();
}

// Draws wrapped text from the top of the box; the height used.
int DrawParagraph(QPainter& painter, const QRect& box, const QString& text) {
    const QRect used = painter.boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft, text);
    painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft, text);
    return used.height();
}

void SetFont(QPainter& painter, int points, bool bold) {
    QFont font("DejaVu Sans");
    font.setPointSize(points);
    font.setBold(bold);
    // No ligatures: "fi" stays two letters, so that the text read back from the PDF is as typed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
}

// The table of all contacts, from y on, continued on new pages as needed.
void DrawContactTable(QPainter& painter, QPdfWriter& writer, const QRect& page, int y,
                      const std::vector<svx::Contact>& contacts) {
    static const char* const kHeads[] = {"No.",      "File",         "Ping",      "Time (UTC)",
                                         "Position", "Side, across", "Annotation"};
    static const int kWidths[] = {5, 12, 6, 20, 24, 14, 19};  // percent of the page
    SetFont(painter, 7, false);
    const int line = painter.fontMetrics().lineSpacing() + 6;
    auto row = [&](const std::vector<QString>& cells, bool head) {
        if (y + line > page.bottom()) {
            writer.newPage();
            y = page.top();
        }
        if (head)
            painter.fillRect(QRect(page.left(), y, page.width(), line), QColor(225, 225, 225));
        int x = page.left();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int w = page.width() * kWidths[i] / 100;
            const QString text = painter.fontMetrics().elidedText(cells[i], Qt::ElideRight, w - 8);
            painter.drawText(QRect(x + 3, y, w - 6, line), Qt::AlignLeft | Qt::AlignVCenter, text);
            x += w;
        }
        painter.setPen(QColor(200, 200, 200));
        painter.drawLine(page.left(), y + line, page.right(), y + line);
        painter.setPen(Qt::black);
        y += line;
    };
    row({kHeads, kHeads + 7}, true);
    for (const svx::Contact& c : contacts) {
        row({QString::number(c.number), Text(c.file), QString::number(c.ping), Text(c.time),
             Text(svx::ShownPosition(c)),
             QString(svx::SideName(c)) +
                 (c.acrossM ? QString(", %1 m").arg(*c.acrossM, 0, 'f', 1) : QString()),
             Text(c.annotation)},
            false);
    }
}

void DrawOverviewPage(QPainter& painter, QPdfWriter& writer, const QRect& page,
                      const svx::ReportContent& content, const std::string& folder) {
    int y = page.top();
    SetFont(painter, 18, true);
    y += DrawParagraph(painter, QRect(page.left(), y, page.width(), 80), "Contact report") + 20;
    SetFont(painter, 10, false);
    std::string files;
    for (const std::string& f : content.recordings) files += (files.empty() ? "" : ", ") + f;
    y += DrawParagraph(painter, QRect(page.left(), y, page.width(), 200),
                       Text(svx::ReportSummary(content)) + Text(files)) +
         15;
    painter.setPen(QColor(170, 0, 0));
    for (const std::string& problem : content.problems) {
        y += DrawParagraph(painter, QRect(page.left(), y, page.width(), 200), Text(problem)) + 4;
    }
    painter.setPen(Qt::black);
    y += 10;
    const QRect pictureBox(page.left(), y, page.width(), page.height() * 55 / 100);
    y += DrawFitted(painter, Picture(folder, content.overview.file), pictureBox) + 15;
    y += DrawParagraph(painter, QRect(page.left(), y, page.width(), 100),
                       Text(content.overviewNote));
    DrawContactTable(painter, writer, page, y + 25, content.contacts);
}

void DrawContact(QPainter& painter, const QRect& half, const svx::Contact& c,
                 const std::vector<svx::ReportImage>& chips, const std::string& folder) {
    int y = half.top();
    SetFont(painter, 13, true);
    y += DrawParagraph(painter, QRect(half.left(), y, half.width(), 90),
                       "Contact " + QString::number(c.number) + ": " + Text(c.annotation)) +
         12;
    SetFont(painter, 9, false);
    const int textWidth = half.width() * 52 / 100;
    const int line = painter.fontMetrics().lineSpacing() + 4;
    int ty = y;
    for (const svx::ContactField& field : svx::ContactFields(c)) {
        painter.setPen(QColor(90, 90, 90));
        painter.drawText(QRect(half.left(), ty, textWidth * 2 / 5, line), Qt::AlignLeft,
                         Text(field.first));
        painter.setPen(Qt::black);
        ty += std::max(line, DrawParagraph(painter,
                                           QRect(half.left() + textWidth * 2 / 5, ty,
                                                 textWidth * 3 / 5 - 10, 4 * line),
                                           Text(field.second)));
    }
    const int chipLeft = half.left() + textWidth + 10;
    const int big = std::min(half.width() - textWidth - 10, (half.bottom() - y) * 55 / 100);
    int cy = y;
    if (!chips.empty()) {
        cy += DrawFitted(painter, Picture(folder, chips[0].file), QRect(chipLeft, y, big, big));
        SetFont(painter, 7, false);
        cy += DrawParagraph(painter, QRect(chipLeft, cy + 2, big, 60), Text(chips[0].caption)) + 6;
    }
    int row = std::max(ty, cy) + 8;
    const int small = std::min((half.width() - 20) / 3, half.bottom() - row - 40);
    for (std::size_t i = 1; i < chips.size() && small > 0; ++i) {
        const int x = half.left() + static_cast<int>(i - 1) * (small + 10);
        const int h =
            DrawFitted(painter, Picture(folder, chips[i].file), QRect(x, row, small, small));
        SetFont(painter, 7, false);
        DrawParagraph(painter, QRect(x, row + h + 2, small, 60), Text(chips[i].caption));
    }
}

}  // namespace

bool WriteReportPdf(const svx::ReportContent& content, const std::string& folder,
                    const std::string& path, std::string& error) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    writer.setResolution(kDpi);
    writer.setTitle("Contact report");
    writer.setCreator("Sonvara");
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = "cannot write " + path + ": the PDF could not be started";
        return false;
    }
    const QRect page(0, 0, writer.width(), writer.height());
    DrawOverviewPage(painter, writer, page, content, folder);
    const int half = page.height() / 2;
    for (std::size_t i = 0; i < content.contacts.size(); ++i) {
        if (i % 2 == 0) writer.newPage();
        const QRect box(0, i % 2 == 0 ? 0 : half + 10, page.width(), half - 20);
        if (i % 2 == 1) {
            painter.setPen(QColor(180, 180, 180));
            painter.drawLine(0, half, page.width(), half);
            painter.setPen(Qt::black);
        }
        static const std::vector<svx::ReportImage> none;
        DrawContact(painter, box, content.contacts[i],
                    i < content.chips.size() ? content.chips[i] : none, folder);
    }
    if (!painter.end()) {
        error = "cannot write " + path + ": the PDF could not be finished";
        return false;
    }
    return true;
}

}  // namespace cli
