// The chips of a contact report: while a recording plays headless through the application's
// image formation, each contact's square is cut from the composite image and from the planes
// of the heads present, centred on the contact where the image allows (the events command's
// planner says when), and saved with a scale bar across the track.

#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "../common/StopSignals.h"
#include "EventsReport.h"
#include "ImageOptions.h"
#include "PlaybackRun.h"
#include "ReportImages.h"
#include "common/TextFormat.h"
#include "imaging/SideGeometry.h"

namespace cli {

namespace {

constexpr const char* kHeadNames[] = {"L", "M", "H"};
// Qt's PNG writer takes quality 0 .. 100 as zlib levels 9 .. 0 ((100 - q) * 9 / 91): 80 is 1.
constexpr int kFastestPng = 80;

QImage CompositeCut(const RingImage& composite, const ChipCut& cut) {
    QImage image(cut.size, cut.size, QImage::Format_RGB888);
    for (int r = 0; r < cut.size; ++r) {
        std::memcpy(image.scanLine(r), composite.Row(cut.top + r) + cut.left * 3,
                    static_cast<std::size_t>(cut.size) * 3);
    }
    return image;
}

// A plane holds colour indices of the active palette (blue, green, red, 0 per entry).
QImage PlaneCut(const RingImage& plane, const Palette& palette, const ChipCut& cut) {
    QImage image(cut.size, cut.size, QImage::Format_RGB888);
    for (int r = 0; r < cut.size; ++r) {
        const std::uint8_t* in = plane.Row(cut.top + r) + cut.left;
        uchar* out = image.scanLine(r);
        for (int x = 0; x < cut.size; ++x) {
            const std::size_t i = 4u * in[x];
            out[3 * x] = palette[i + 2];
            out[3 * x + 1] = palette[i + 1];
            out[3 * x + 2] = palette[i];
        }
    }
    return image;
}

// The bar in the bottom left corner, white on a dark box, its length written above it.
void DrawScaleBar(QImage& image, double metresPerPixel, double metres) {
    const int length = static_cast<int>(std::lround(metres / metresPerPixel));
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(std::max(9, image.height() / 20));
    painter.setFont(font);
    const int x = 6, y = image.height() - 8, h = font.pixelSize() + 10;
    painter.fillRect(x - 3, y - h - 2, length + 6, h + 6, QColor(0, 0, 0, 150));
    painter.fillRect(x, y - 3, length, 4, Qt::white);
    painter.setPen(Qt::white);
    painter.drawText(QRect(x, y - h, length + 40, h - 4), Qt::AlignLeft | Qt::AlignBottom,
                     QString::fromStdString(Printf("%g m", metres)));
}

// Saves the chip and adds it to the contact's pictures; false with a problem said.
bool SaveChip(QImage image, double metresPerPixel, const std::string& folder,
              const std::string& name, const std::string& what, std::vector<svx::ReportImage>& to,
              std::vector<std::string>& problems) {
    const double bar = svx::ScaleBarMetres(metresPerPixel * image.width());
    if (bar > 0) DrawScaleBar(image, metresPerPixel, bar);
    const std::string file = "chips/" + name;
    const std::string path = (std::filesystem::path(folder) / file).string();
    if (!SavePng(image, path)) {
        problems.push_back("cannot write " + path);
        return false;
    }
    // The channels' captions stay short: they sit under pictures a third as wide.
    const char* const scale =
        what == "Composite" ? ", scale bar %g m across the track" : ", bar %g m";
    to.push_back({file, what + (bar > 0 ? Printf(scale, bar) : "")});
    return true;
}

}  // namespace

bool SavePng(const QImage& image, const std::string& path) {
    QImageWriter writer(QString::fromStdString(path), "png");
    writer.setQuality(kFastestPng);
    return writer.write(image);
}

bool WriteRecordingChips(const std::string& file, int first, int count, int chipSize,
                         const std::string& folder, svx::ReportContent& content) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder) / "chips", ec);
    PlaybackRun run("report");
    CVantrelDoc& doc = run.Doc();
    std::string error;
    if (!PrepareImages(doc, ImageOptions{}, error) || !run.Open(file, error)) {
        content.problems.push_back(error);
        return false;
    }
    EventList events;
    for (int i = first; i < first + count; ++i) {
        const svx::Contact& c = content.contacts[static_cast<std::size_t>(i)];
        events.Append({c.number, c.ping, c.acrossFraction, {}, {}, {}, {}, {}});
    }
    const int sideMode = doc.images.sideMode;
    ChipPlanner planner(events, chipSize, sideMode);
    bool written = true;
    auto cut = [&](const std::vector<ChipCut>& cuts) {
        for (const ChipCut& c : cuts) {
            const std::size_t at = static_cast<std::size_t>(
                first + (c.number - content.contacts[static_cast<std::size_t>(first)].number));
            const svx::Contact& contact = content.contacts[at];
            const RingImage& composite = doc.images.CompositeImage();
            const double range = contact.slantRangeM.value_or(doc.range);
            const double perPixel = range / PixelsPerSide(sideMode, composite.Width());
            const std::string stem = Printf("contact-%03d", contact.number);
            auto& chips = content.chips[at];
            written &= SaveChip(CompositeCut(composite, c), perPixel, folder, stem + ".png",
                                "Composite", chips, content.problems);
            for (int h = 0; h < 3; ++h) {
                if (!(contact.headsPresent & (1u << h))) continue;
                written &=
                    SaveChip(PlaneCut(doc.images.CompositePlane(h), doc.palette.activePalette, c),
                             perPixel, folder, stem + "-" + kHeadNames[h] + ".png",
                             std::string("Head ") + kHeadNames[h], chips, content.problems);
            }
        }
    };
    run.PlayWhile([&] {
        cut(planner.Due(doc.images, doc.recording.pingNumber));
        return tools::stopRequested == 0;
    });
    if (tools::stopRequested) return false;
    cut(planner.Remaining(doc.images));
    for (const int number : planner.Missed()) {
        content.problems.push_back(
            Printf("contact %d got no chip: its ping was not drawn into "
                   "the composite image",
                   number));
        written = false;
    }
    return run.ReportSkipped() && written;
}

}  // namespace cli
