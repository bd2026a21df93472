#include "ImageWriter.h"

#include <QDir>
#include <QImage>
#include <QVector>

#include <cstring>

#include "ImageOptions.h"
#include "acquisition/CVantrelDoc.h"

namespace cli {

namespace {

// The active palette is in bitmap order: blue, green, red, 0.
QVector<QRgb> ColourTableOf(const Palette& palette) {
    QVector<QRgb> table(kPaletteEntries);
    for (int i = 0; i < kPaletteEntries; ++i) {
        table[i] = qRgb(palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]);
    }
    return table;
}

// The rows of a ring image, top to bottom, in a QImage of the given format.
QImage CopyRing(const RingImage& ring, QImage::Format format) {
    QImage image(ring.Width(), ring.Rows(), format);
    for (int r = 0; r < ring.Rows(); ++r) {
        std::memcpy(image.scanLine(r), ring.Row(r), static_cast<std::size_t>(ring.BytesPerLine()));
    }
    return image;
}

bool Save(const QImage& image, const QDir& dir, const std::string& name, std::string& error) {
    const QString path = dir.filePath(QString::fromStdString(name));
    if (image.save(path, "PNG")) return true;
    error = "cannot write " + path.toStdString();
    return false;
}

}  // namespace

bool WriteImageSet(const CVantrelDoc& doc, const std::string& dirName, int records, bool numbered,
                   std::string& error) {
    QDir dir(QString::fromStdString(dirName));
    if (!dir.mkpath(".")) {
        error = "cannot create the directory " + dirName;
        return false;
    }
    const QVector<QRgb> table = ColourTableOf(doc.palette.activePalette);
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        const RingImage& ring = doc.images.ChannelImage(channel);
        if (!ring.Exists()) continue;
        QImage image = CopyRing(ring, QImage::Format_Indexed8);
        image.setColorTable(table);
        if (!Save(image, dir, ImageFileName(HeadLabel(channel), records, numbered), error)) {
            return false;
        }
    }
    // The echogram goes with the one image set of a whole file, not with numbered sets.
    if (!numbered && doc.echoSounder.IsOpen() && doc.echoSounder.Drawable()) {
        const EchoSounderImage& echo = doc.echoSounder;
        QImage image(echo.Width(), echo.Height(), QImage::Format_Indexed8);
        for (int y = 0; y < echo.Height(); ++y) {
            std::memcpy(image.scanLine(y), echo.Row(y), static_cast<std::size_t>(echo.Width()));
        }
        QVector<QRgb> colours(kPaletteEntries);
        const ColourTable& current = doc.CurrentColourTable();
        for (int i = 0; i < kPaletteEntries; ++i) {
            colours[i] = qRgb(current[i][0], current[i][1], current[i][2]);
        }
        image.setColorTable(colours);
        if (!Save(image, dir, ImageFileName("echo", records, false), error)) return false;
    }
    if (!doc.images.CompositeExists()) return true;
    const QImage composite = CopyRing(doc.images.CompositeImage(), QImage::Format_RGB888);
    return Save(composite, dir, ImageFileName("composite", records, numbered), error);
}

}  // namespace cli
