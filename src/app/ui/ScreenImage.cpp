#include "app/ui/ScreenImage.h"

#include <gif_lib.h>

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <vector>

#include "app/ScreenImageFormat.h"
#include "app/ui/PlaybackPause.h"
#include "document/CVantrelDoc.h"
#include "imaging/PaletteReduction.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"

namespace {

// The application's visible windows drawn at their places, over the area they cover.
QImage CaptureWindows() {
    QRect bounds;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows) {
        if (w->isVisible()) bounds |= w->frameGeometry();
    }
    if (bounds.isEmpty()) return {};
    QImage picture(bounds.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    // The stacking order is not known here: the main window first, its tool windows over it.
    for (QWidget* w : windows) {
        if (!w->isVisible()) continue;
        const bool tool = (w->windowFlags() & Qt::Tool) == Qt::Tool;
        if (!tool) painter.drawPixmap(w->geometry().topLeft() - bounds.topLeft(), w->grab());
    }
    for (QWidget* w : windows) {
        if (w->isVisible() && (w->windowFlags() & Qt::Tool) == Qt::Tool) {
            painter.drawPixmap(w->geometry().topLeft() - bounds.topLeft(), w->grab());
        }
    }
    return picture;
}

const char* QtFormatOf(ScreenImageFormat format) {
    switch (format) {
        case ScreenImageFormat::Bmp:
            return "bmp";
        case ScreenImageFormat::Jpeg:
            return "jpeg";
        case ScreenImageFormat::Tiff:
            return "tiff";
        default:
            return "png";
    }
}

}  // namespace

QImage CaptureScreen() {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        QScreen* screen = QGuiApplication::primaryScreen();
        // Only the primary screen: with two monitors the second one is not in the picture.
        if (screen && !screen->geometry().isEmpty()) {
            const QPixmap picture = screen->grabWindow(0);
            if (!picture.isNull()) return picture.toImage();
        }
        return {};
    }
    return CaptureWindows();
}

bool WriteGif(const QImage& image, const std::string& path) {
    if (image.isNull()) return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const PalettedImage reduced = ReduceToPalette(rgb.constBits(), rgb.width(), rgb.height(),
                                                  static_cast<int>(rgb.bytesPerLine()));
    GifColorType colours[256] = {};
    for (int i = 0; i < reduced.colours; ++i) {
        colours[i] = {reduced.palette[3 * i], reduced.palette[3 * i + 1],
                      reduced.palette[3 * i + 2]};
    }
    int error = 0;
    const QByteArray name = QFile::encodeName(QString::fromStdString(path));
    GifFileType* gif = EGifOpenFileName(name.constData(), false, &error);
    if (!gif) return false;
    ColorMapObject* map = GifMakeMapObject(256, colours);
    bool ok = map && EGifPutScreenDesc(gif, reduced.width, reduced.height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, reduced.width, reduced.height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(reduced.width));
    for (int y = 0; ok && y < reduced.height; ++y) {
        const auto* row = reduced.indices.data() + static_cast<std::size_t>(y) * reduced.width;
        line.assign(row, row + reduced.width);
        ok = EGifPutLine(gif, line.data(), reduced.width) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (map) GifFreeMapObject(map);
    // A half-written file is no picture: it goes.
    if (!ok) QFile::remove(QString::fromStdString(path));
    return ok;
}

ScreenWriteResult WriteScreenImage(const QImage& image, const std::string& chosenPath) {
    const ScreenImagePath chosen = ChooseScreenImagePath(chosenPath);
    ScreenWriteResult result{ScreenWrite::InvalidFormat, chosen.path};
    if (!chosen.valid) return result;
    bool saved = false;
    if (!image.isNull()) {
        if (chosen.filter->format == ScreenImageFormat::Gif) {
            saved = WriteGif(image, chosen.path);
        } else {
            QImageWriter writer(QString::fromStdString(chosen.path),
                                QtFormatOf(chosen.filter->format));
            saved = writer.write(image);
        }
    }
    result.outcome = saved ? ScreenWrite::Saved : ScreenWrite::Failed;
    return result;
}

ScreenSaver::ScreenSaver(CVantrelDoc& document, QObject* parent, int wait)
    : QObject(parent), doc(document), waitMs(wait) {}

void ScreenSaver::SaveScreen() {
    if (busy) return;
    busy = true;
    // The menu and any closing popup leave the screen first; the event loop runs meanwhile,
    // so the views go on drawing and the heads go on being polled.
    QTimer::singleShot(waitMs, this, [this] { CaptureAndSave(); });
}

void ScreenSaver::CaptureAndSave() {
    const QImage picture = CaptureScreen();
    bool saved = false;
    if (picture.isNull()) {
        doc.GetPlatform().MessageBox(kCantSaveScreen);
    } else {
        saved = AskAndWrite(picture);
    }
    busy = false;
    Q_EMIT Finished(saved);
}

bool ScreenSaver::AskAndWrite(const QImage& image) {
    std::optional<std::string> chosen;
    {
        const PlaybackPause pause(doc);
        chosen = doc.GetPlatform().SaveFileDialog(
            {kSaveImageTitle, ScreenImageFilterText(), doc.recording.writeFileDir, {}});
    }
    if (!chosen) return false;
    const ScreenWriteResult result = WriteScreenImage(image, *chosen);
    if (result.outcome == ScreenWrite::InvalidFormat) {
        doc.GetPlatform().MessageBox(kInvalidFileFormat);
    } else if (result.outcome == ScreenWrite::Failed) {
        doc.GetPlatform().MessageBox(kCantSaveScreen);
    }
    return result.outcome == ScreenWrite::Saved;
}

void AddSaveScreenCommand(CommandTable& commands, ScreenSaver& saver) {
    commands.Add(
        kCmdSaveScreen, [&saver] { saver.SaveScreen(); },
        [&saver] {
            return CommandState{!saver.Busy(), false, {}};
        });
}
