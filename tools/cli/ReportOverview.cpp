// The overview of a contact report: the survey's mosaic (all recordings with positions on one
// UTM grid, at a resolution that keeps the picture at most about 1600 pixels across), or the
// ships' tracks when no mosaic can be laid; each contact a numbered ring where it lies.

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "ReportImages.h"
#include "common/TextFormat.h"
#include "export/SurveyMosaic.h"
#include "imaging/ColourTables.h"

namespace cli {

namespace {

constexpr double kLargestSide = 1600.0;
constexpr int kColourTable = 9;  // the mosaic command's default

// Map metres to picture pixels: x = (easting - west) / res, y = (north - northing) / res.
struct Frame {
    double west = 0, north = 0, res = 1;
    int zone = 0;
    bool south = false;
    QPointF At(double lat, double lon) const {
        const UtmPosition p = LatLonToUtmInZone(lat, lon, zone, south);
        return {(p.easting - west) / res, (north - p.northing) / res};
    }
};

void DrawContacts(QImage& image, const Frame& frame, const std::vector<svx::Contact>& contacts) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(std::clamp(image.width() / 60, 11, 18));
    font.setBold(true);
    painter.setFont(font);
    for (const svx::Contact& c : contacts) {
        if (!c.latitude || !c.longitude) continue;
        const QPointF at = frame.At(*c.latitude, *c.longitude);
        painter.setPen(QPen(QColor(255, 40, 40), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, 6, 6);
        const QString label = QString::number(c.number);
        const QRectF box(
            at + QPointF(8, -font.pixelSize() - 8),
            QSizeF(painter.fontMetrics().horizontalAdvance(label) + 6, font.pixelSize() + 4));
        painter.fillRect(box, QColor(255, 255, 255, 220));
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, label);
    }
}

// The mosaic, or false when none can be laid.
bool MosaicPicture(const std::vector<std::string>& inputs, const svx::UtmBox& box, QImage& image,
                   Frame& frame, std::string& note) {
    svx::MosaicOptions options;
    const double side =
        std::max(box.maxEasting - box.minEasting, box.maxNorthing - box.minNorthing);
    options.resolutionM = std::max(0.1, (side + 200.0) / kLargestSide);
    options = svx::CommonGrid(inputs, options);
    svx::Mosaic mosaic;
    const svx::ExportReport report = svx::BuildSurveyMosaic(inputs, options, mosaic);
    if (!report.Ok() || mosaic.raster.Empty()) return false;
    const auto w = static_cast<int>(mosaic.Width()), h = static_cast<int>(mosaic.Height());
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    mosaic.raster.CopyRegion(mosaic.raster.MinCol(), mosaic.raster.MinRow(), w, h, pixels.data());
    ColourTableSet tables;
    BuildColourTables(tables);
    const ColourTable& colours = tables[kColourTable];
    image = QImage(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        uchar* out = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t v =
                pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                       static_cast<std::size_t>(x)];
            const Rgb rgb = v == 0 ? Rgb{235, 235, 235} : colours[v];
            std::copy(rgb.begin(), rgb.end(), out + 3 * x);
        }
    }
    frame = {mosaic.West(), mosaic.North(), mosaic.resolutionM, mosaic.zone, mosaic.south};
    const auto laid = std::max<std::uint64_t>(mosaic.recordings, 1);
    note = Printf("Mosaic of head %s of %llu recording%s, %.2f m a pixel, UTM zone %d%c; north up.",
                  mosaic.head == 0   ? "L"
                  : mosaic.head == 1 ? "M"
                                     : "H",
                  static_cast<unsigned long long>(laid), laid == 1 ? "" : "s", mosaic.resolutionM,
                  mosaic.zone, mosaic.south ? 'S' : 'N');
    return true;
}

void TrackPicture(const std::vector<std::vector<svx::TrackPoint>>& tracks, const svx::UtmBox& box,
                  QImage& image, Frame& frame, std::string& note) {
    const double margin = 50.0;
    const double side =
        std::max({box.maxEasting - box.minEasting, box.maxNorthing - box.minNorthing, 1.0});
    frame.res = (side + 2 * margin) / 1000.0;
    frame.west = box.minEasting - margin;
    frame.north = box.maxNorthing + margin;
    image = QImage(static_cast<int>((box.maxEasting - frame.west + margin) / frame.res) + 1,
                   static_cast<int>((frame.north - box.minNorthing + margin) / frame.res) + 1,
                   QImage::Format_RGB888);
    image.fill(QColor(245, 245, 245));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(30, 60, 160), 2));
    for (const auto& track : tracks) {
        QPainterPath path;
        for (std::size_t i = 0; i < track.size(); ++i) {
            const QPointF at = frame.At(track[i].latitude, track[i].longitude);
            if (i == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        painter.drawPath(path);
    }
    note = Printf(
        "Tracks of the recordings (no mosaic could be laid), %.2f m a pixel, UTM zone "
        "%d%c; north up.",
        frame.res, frame.zone, frame.south ? 'S' : 'N');
}

}  // namespace

void WriteOverview(const std::vector<std::string>& inputs,
                   const std::vector<std::vector<svx::TrackPoint>>& tracks,
                   const std::string& folder, svx::ReportContent& content) {
    svx::UtmBox box;
    Frame frame;
    for (const auto& track : tracks) {
        for (const svx::TrackPoint& p : track) {
            if (frame.zone == 0) {
                const UtmPosition first = LatLonToUtm(p.latitude, p.longitude);
                frame.zone = first.zone;
                frame.south = first.south;
            }
            const UtmPosition u =
                LatLonToUtmInZone(p.latitude, p.longitude, frame.zone, frame.south);
            box.Add(u.easting, u.northing);
        }
    }
    if (box.empty) {
        content.overviewNote = "No recording holds a position: there is no map to show.";
        return;
    }
    QImage image;
    std::string note;
    if (!MosaicPicture(inputs, box, image, frame, note))
        TrackPicture(tracks, box, image, frame, note);
    DrawContacts(image, frame, content.contacts);
    const std::string path = (std::filesystem::path(folder) / "overview.png").string();
    if (!SavePng(image, path)) {
        content.problems.push_back("cannot write " + path);
        return;
    }
    content.overview = {"overview.png", "Overview: every contact numbered where it lies"};
    content.overviewNote = note;
}

}  // namespace cli
